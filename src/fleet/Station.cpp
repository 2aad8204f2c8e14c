#include "fleet/Station.h"

#include <QDir>
#include <QFile>
#include <memory>

#include "app/PolicyPrompter.h"
#include "app/QtSerialLink.h"
#include "app/SystemClock.h"
#include "app/TracingSerialLink.h"
#include "files/Backups.h"
#include "model/ImageDiff.h"
#include "radio/WriteReach.h"
#include "radio/clsTavCom.h"

namespace tav::fleet {

namespace {
constexpr double kDepartureProbeSeconds = 1.0;
constexpr int kDifferencesLogged = 20;
}  // namespace

// The transfer's progress as the station's percent; Cancel is Ctrl-C.
class StationProgress : public Progress {
public:
    explicit StationProgress(Station& station) : station_(station) {}
    void setMinimum(int v) override { min_ = v; }
    void setMaximum(int v) override { max_ = v; }
    void setValue(int v) override {
        const int span = max_ - min_;
        const int percent = span > 0 ? std::clamp((v - min_) * 100 / span, 0, 100) : 0;
        if (percent != station_.status_.percent) station_.show(station_.status_.state, percent);
    }
    void setVisible(bool) override {}
    void EnableCancel() override {}
    bool Cancelled() const override { return station_.cancelled(); }
    void ShowForm(const QString&, bool) override {}
    void HideForm() override {}

private:
    Station& station_;
    int min_ = 0, max_ = 100;
};

struct Station::Bench {
    FleetLog& log;
    SerialLink& line;
    Clock& clock;
    PolicyPrompter& prompter;
    AppState& state;
    clsTavCom& link;
};

Station::Station(int number, const QString& port, const FleetJob& job,
                 const std::atomic<int>& stopLevel, QObject* parent)
    : QThread(parent), job_(job), stopLevel_(stopLevel) {
    status_.station = number;
    status_.port = port;
    status_.state = QStringLiteral("starting");
}

void Station::show(const QString& state, int percent) {
    status_.state = state;
    status_.percent = percent;
    emit changed(status_);
}

void Station::run() {
    FleetLog log(job_.log, QStringLiteral("fleet-station-%1").arg(status_.station));
    SystemClock clock;
    const std::unique_ptr<SerialLink> port =
        makeLine_ ? makeLine_(clock) : std::make_unique<QtSerialLink>(status_.port);
    QFile traceFile;
    std::unique_ptr<TracingSerialLink> tracer;
    SerialLink* line = port.get();
    if (!log.open()) tally_.error = log.error();
    if (tally_.error.isEmpty() && !job_.traceDir.isEmpty()) {
        traceFile.setFileName(
            QDir(job_.traceDir).filePath(QStringLiteral("station-%1.txt").arg(status_.station)));
        if (traceFile.open(QIODevice::WriteOnly | QIODevice::Append)) {
            tracer = std::make_unique<TracingSerialLink>(*port, clock, traceFile);
            line = tracer.get();
        } else {
            tally_.error = QStringLiteral("cannot write %1: %2")
                               .arg(traceFile.fileName(), traceFile.errorString());
        }
    }
    if (!tally_.error.isEmpty()) {
        show(QStringLiteral("ended: ") + tally_.error);
        return;
    }
    PolicyPrompter prompter(job_.retries);
    StationProgress progress(*this);
    AppState state;
    clsTavCom link(LinkContext{state, *line, clock, prompter, progress});
    link.ChangedOnly = job_.changedOnly;
    Bench b{log, *line, clock, prompter, state, link};
    while (waitForRadio(b) && programRadio(b) && !job_.once) waitForDeparture(b);
    line->close();
    show(tally_.error.isEmpty() ? QStringLiteral("ended")
                                : QStringLiteral("ended: ") + tally_.error);
}

bool Station::waitForRadio(Bench& b) {
    status_.id.clear();
    show(QStringLiteral("waiting"));
    for (;;) {
        if (stop() != StopLevel::Run) return false;
        bool left = true;
        if (!b.log.rowsLeft(&left)) {
            tally_.error = b.log.error();
            return false;
        }
        if (!left) {
            show(QStringLiteral("plan done"));
            return false;
        }
        const double start = b.clock.now();
        if (b.link.Probe()) return true;
        if (!b.line.isOpen()) {
            tally_.error = b.line.lastOpenError().isEmpty()
                               ? QStringLiteral("%1 cannot be opened").arg(status_.port)
                               : b.line.lastOpenError();
            return false;
        }
        b.clock.idleUntil(start + job_.probeSeconds);
    }
}

void Station::waitForDeparture(Bench& b) {
    show(QStringLiteral("swap"), 100);
    for (;;) {
        if (stop() != StopLevel::Run) return;
        const double start = b.clock.now();
        if (!b.link.Probe()) break;
        b.clock.idleUntil(start + kDepartureProbeSeconds);
    }
    b.line.close();
}

bool Station::programRadio(Bench& b) {
    ++status_.radios;
    b.prompter.restart();
    const QDateTime started = QDateTime::currentDateTimeUtc();
    AttemptResult r;
    AppState& s = b.state;
    s.PerChanBandOn = job_.perChannelBandwidth;
    s.PerChanPwrOn = job_.perChannelPower;
    // The backup shows only what this radio gave: no labels or power masks
    // of the radio before.
    s.LabelImage.fill(0);
    s.PowerMask.fill(0);
    show(QStringLiteral("reading"));
    reading_ = true;
    const bool read = readRadio(b);
    reading_ = false;
    if (!read) {
        r.status =
            stop() != StopLevel::Run ? QStringLiteral("interrupted") : QStringLiteral("failed");
        r.messages = QStringLiteral("the radio could not be read");
        return record(b, std::nullopt, started, r);
    }
    const AppState before = s;
    r.idsBefore = IdSummary(before);
    status_.id = r.idsBefore;
    const RadioFileResult saved = Backups(job_.backupFolder, 0)
                                      .save(QStringLiteral("station%1").arg(status_.station),
                                            before, QDateTime::currentDateTime(), &r.backup);
    if (!saved.ok()) {
        r.status = QStringLiteral("failed");
        r.messages = QStringLiteral("the backup could not be saved: ") + saved.description;
        r.backup.clear();
        return record(b, std::nullopt, started, r);
    }
    if (stop() != StopLevel::Run) {
        r.status = QStringLiteral("interrupted");
        r.messages = QStringLiteral("stopped before the radio was written");
        return record(b, std::nullopt, started, r);
    }
    std::optional<Claim> claim;
    if (!b.log.claim(job_.run, QString::number(status_.station), status_.port, started,
                     job_.templateSha, r, &claim)) {
        tally_.error = b.log.error();
        return false;
    }
    if (!claim) {
        tally_.error.clear();
        show(QStringLiteral("plan done"));
        return false;
    }
    AppState image = job_.templ;
    QString why;
    if (!ApplyRow(image, PlanRow{claim->row, claim->values}, &why)) {
        r.status = QStringLiteral("failed");
        r.messages = QStringLiteral("plan row %1: %2").arg(claim->row).arg(why);
        return record(b, claim, started, r);
    }
    s.EEImage = image.EEImage;
    s.LabelImage = image.LabelImage;
    s.PowerMask = image.PowerMask;
    const AppState written = s;
    status_.id = GivenId(written, PlanRow{claim->row, claim->values});
    show(QStringLiteral("writing"));
    bool ok = b.link.WriteEEMemory(false) && (!job_.labels || b.link.Write_Labels(-1));
    const WriteTally& t = b.link.tally();
    r.wordsWritten = t.wordsWritten;
    r.wordsConsidered = t.wordsConsidered;
    r.labelCharsWritten = job_.labels ? t.labelCharsWritten : 0;
    r.labelCharsConsidered = job_.labels ? t.labelCharsConsidered : 0;
    if (!ok) r.messages = QStringLiteral("the write failed");
    if (ok && job_.verify) ok = verifyRadio(b, before, written, r);
    if (ok && !job_.verify) {
        r.verify = QStringLiteral("not verified");
        r.idsAfter = IdSummary(written);
    }
    r.status = ok                         ? QStringLiteral("ok")
               : stop() == StopLevel::Now ? QStringLiteral("interrupted")
                                          : QStringLiteral("failed");
    return record(b, claim, started, r);
}

bool Station::readRadio(Bench& b) {
    // A read fails with an OK box only, so the policy's Retry never comes:
    // the station itself tries again, on the same budget as hooks and writes.
    // The radio is still there after a glitch; one more read costs less than
    // a swap.
    for (;;) {
        if (b.link.ReadEEMemory() && (!job_.labels || b.link.Read_Labels(-1))) return true;
        if (cancelled() || !b.prompter.spendRetry()) return false;
    }
}

bool Station::verifyRadio(Bench& b, const AppState& before, const AppState& written,
                          AttemptResult& r) {
    show(QStringLiteral("verifying"));
    AppState& s = b.state;
    // The write has told what the radio lacks; the read-back only compares.
    s.PerChanBandOn = s.PerChanPwrOn = false;
    RadioReach reach = WrittenReach(b.link, false, job_.labels);
    if (!readRadio(b)) {
        r.verify = QStringLiteral("read-back failed");
        r.messages = QStringLiteral("the radio could not be read back");
        return false;
    }
    r.idsAfter = IdSummary(s);
    reach.powerMask = s.PowerBlockPresent != 0;
    QStringList differences = CompareWithRadio(written, s, reach);
    // The bits of the unit block that no write changes are the radio's own:
    // another radio plugged in meanwhile would show other ones.
    RadioReach own;
    own.eepromBits.assign(kEEPromSize, 0);
    for (int a = 0; a < kPageSize; ++a)
        own.eepromBits[std::size_t(a)] = uint8_t(~reach.eepromBits[std::size_t(a)]);
    const QStringList foreign = CompareWithRadio(before, s, own);
    if (!foreign.isEmpty())
        differences.prepend(QStringLiteral("not the radio that was read before the write:"));
    differences += foreign;
    if (differences.isEmpty()) {
        r.verify = QStringLiteral("ok");
        return true;
    }
    r.verify = QStringLiteral("%1 differences").arg(differences.size());
    r.messages = QStringLiteral("the radio differs from what was written:\n") +
                 differences.mid(0, kDifferencesLogged).join(u'\n');
    return false;
}

bool Station::record(Bench& b, const std::optional<Claim>& claim, const QDateTime& started,
                     AttemptResult& r) {
    QStringList messages = b.prompter.lines();
    if (!r.messages.isEmpty()) messages << r.messages;
    // The station's own words say it shortest; the boxes answered by policy
    // when it has none.
    status_.reason = r.messages.isEmpty() ? messages.value(0) : r.messages;
    status_.reason = status_.reason.section(u'\n', 0, 0);
    r.messages = messages.join(u'\n');
    const bool logged = claim ? b.log.finish(*claim, r)
                              : b.log.logUnclaimed(job_.run, QString::number(status_.station),
                                                   status_.port, started, job_.templateSha, r);
    if (!logged) {
        tally_.error = b.log.error();
        return false;
    }
    status_.outcome = r.status;
    if (r.status == QLatin1String("ok")) {
        status_.reason.clear();
        ++status_.done;
        ++tally_.ok;
    } else if (r.status == QLatin1String("interrupted"))
        ++tally_.interrupted;
    else
        ++tally_.failed;
    show(r.status, 100);
    return stop() == StopLevel::Run;
}

}  // namespace tav::fleet
