// The Program Fleet window while a run goes on: starting and stopping it,
// each station's row, the totals and the log.

#include <QCheckBox>
#include <QCloseEvent>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include "files/Backups.h"
#include "files/RadioFile.h"
#include "ui/frmFleet.h"
#include "ui/frmGroups.h"

namespace tav {

namespace {

using namespace tav::fleet;

const QColor kFailureColour(0xc0, 0x00, 0x00);

void setCell(QTableWidget* table, int row, int column, const QString& text, bool failed) {
    auto* item = table->item(row, column);
    if (!item) {
        item = new QTableWidgetItem(text);
        table->setItem(row, column, item);
    }
    item->setText(text);
    item->setForeground(failed ? QBrush(kFailureColour) : QBrush());
}

}  // namespace

void frmFleet::start() {
    if (running() || !planOk_) return;
    QString why;
    const std::optional<LogTarget> target = LogTarget::parse(logText(), &why);
    if (!target) {
        prompter_.show(why, QString(), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    if (!target->postgres()) QDir().mkpath(QFileInfo(target->database).absolutePath());
    choices().save(settings_, templateName());

    FleetJob job;
    job.templ = templ_;
    job.log = *target;
    job.labels = chkLabels->isChecked();
    job.changedOnly = chkChangedOnly->isChecked();
    job.verify = chkVerify->isChecked();
    job.retries = spnRetries->value();
    job.backupFolder = Backups::defaultFolder() + QStringLiteral("/fleet");
    job.perChannelBandwidth = settings_.perChannelBandwidth();
    job.perChannelPower = settings_.perChannelPower();
    job.probeSeconds = probeSeconds;
    // The template as a radio file would hold it: a bench running the
    // same file from the command line shares the log.
    const QString sha = QString::fromLatin1(
        QCryptographicHash::hash(SerializeRadioFile(templ_), QCryptographicHash::Sha256).toHex());

    run_.reset();  // the last run's log connection goes before this one's opens
    run_ = std::make_unique<FleetRun>(job);
    if (!run_->prepare(sha, plan_, &why)) {
        run_.reset();
        prompter_.show(why + QStringLiteral("\nNo radio was written."), QString(), MsgButtons::Ok,
                       MsgIcon::Exclamation);
        return;
    }
    QList<StationLine> lines;
    const FleetChoices c = choices();
    for (const QString& device : c.ports) lines.append(StationLine{device, {}});
    lines += virtual_.lines(c.virtualStations);

    stations_.clear();
    tblStations->setRowCount(0);
    tblStations->setRowCount(lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        StationStatus s;
        s.station = i + 1;
        s.port = lines[i].port;
        s.state = QStringLiteral("starting");
        stations_ << s;
        auto* bar = new QProgressBar(tblStations);
        bar->setRange(0, 100);
        tblStations->setCellWidget(i, 4, bar);
        stationChanged(s);
    }
    connect(run_.get(), &FleetRun::stationChanged, this, &frmFleet::stationChanged);
    connect(run_.get(), &FleetRun::finished, this, &frmFleet::runEnded);
    main_.setFleetDevices(c.ports);
    elapsed_.start();
    elapsedMs_ = 0;
    run_->start(lines);
    refresh_.start();
    showLog();
    updateButtons();
}

void frmFleet::stopNow() {
    if (!running()) return;
    if (prompter_.show(QStringLiteral("Stop every station now? A radio being written is left "
                                      "unfinished and logged as interrupted."),
                       QString(), MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes)
        return;
    run_->stop(StopLevel::Now);
    updateButtons();
}

void frmFleet::endRun() {
    if (!running()) return;
    run_->stopAndWait();
    runEnded();
}

void frmFleet::stationChanged(const StationStatus& s) {
    const int row = s.station - 1;
    if (row < 0 || row >= stations_.size()) return;
    stations_[row] = s;
    const QTableWidgetItem* shown = tblStations->item(row, 1);
    setCell(tblStations, row, 0, s.port, false);
    setCell(tblStations, row, 1, StateText(s, shown ? shown->text() : QString()), StateFailed(s));
    setCell(tblStations, row, 2, QString::number(s.done), false);
    setCell(tblStations, row, 3, s.id, false);
    if (auto* bar = qobject_cast<QProgressBar*>(tblStations->cellWidget(row, 4)))
        bar->setValue(s.percent);
}

void frmFleet::runEnded() {
    refresh_.stop();
    if (elapsed_.isValid()) elapsedMs_ = elapsed_.elapsed();
    elapsed_.invalidate();
    main_.setFleetDevices({});
    showLog();
    updateButtons();
    emit runFinished();
}

void frmFleet::showLog() {
    int done = 0;
    for (const StationStatus& s : stations_) done += s.done;
    lblPace->setText(PaceText(done, elapsed_.isValid() ? elapsed_.elapsed() : elapsedMs_));
    if (run_) fillLog(run_->log());
}

void frmFleet::showStoredLog() {
    // Loading the choices sets the Log box; the window reads the log once, after.
    if (running() || loading_) return;
    tblLog->setRowCount(0);
    lblTotals->clear();
    const std::optional<LogTarget> target = LogTarget::parse(logText(), nullptr);
    if (!target || target->postgres() || !QFileInfo(target->database).isFile()) return;
    FleetLog log(*target, QStringLiteral("fleet-window-stored"));
    if (log.open(FleetLog::Access::Read))
        fillLog(log);
    else
        lblTotals->setText(log.error());
}

void frmFleet::fillLog(FleetLog& log) {
    LogCounts counts;
    QStringList header;
    QList<QStringList> attempts;
    if (!log.counts(&counts) || !log.attempts(&header, &attempts)) {
        lblTotals->setText(log.error());
        return;
    }
    lblTotals->setText(TotalsText(counts));
    const QList<LogLine> lines = LogLines(header, attempts);
    tblLog->setRowCount(lines.size());
    for (int r = 0; r < lines.size(); ++r)
        for (int c = 0; c < lines[r].cells.size(); ++c)
            setCell(tblLog, r, c, lines[r].cells[c], lines[r].failed);
}

bool frmFleet::closeWithQuestion() {
    return isHidden() || close();
}

void frmFleet::closeEvent(QCloseEvent* e) {
    if (running()) {
        if (prompter_.show(QStringLiteral("Stations are writing radios. Stop them now and close "
                                          "the window?"),
                           QString(), MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes) {
            e->ignore();
            return;
        }
        endRun();
    }
    choices().save(settings_, templateName());
    e->accept();
}

}  // namespace tav
