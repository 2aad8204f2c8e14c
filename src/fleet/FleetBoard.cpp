#include "fleet/FleetBoard.h"

#include <QDateTime>
#include <QRegularExpression>

#include "app/DataFolder.h"

namespace tav::fleet {

namespace {

QString outcomeText(const StationStatus& s) {
    if (s.outcome == QLatin1String("ok")) return QStringLiteral("Done \u2014 swap radio");
    if (s.outcome == QLatin1String("interrupted"))
        return QStringLiteral("Interrupted: ") + s.reason;
    return QStringLiteral("Failed: ") + s.reason;
}

}  // namespace

QString StateText(const StationStatus& s, const QString& shown) {
    const QString& st = s.state;
    const QString planDone = QStringLiteral("Plan done");
    if (st == QLatin1String("ended") && shown == planDone) return planDone;
    if (st == QLatin1String("reading")) return QStringLiteral("Reading");
    if (st == QLatin1String("writing")) return QStringLiteral("Writing %1 %").arg(s.percent);
    if (st == QLatin1String("verifying")) return QStringLiteral("Verifying");
    if (st == QLatin1String("plan done")) return planDone;
    if (st == QLatin1String("ended")) return QStringLiteral("Stopped");
    if (st.startsWith(QLatin1String("ended: ")))
        return QStringLiteral("Failed: ") + st.mid(int(qstrlen("ended: ")));
    if (st == QLatin1String("starting")) return QStringLiteral("Starting");
    // Waiting, swapping or just logged: how the last radio ended, if any did.
    return s.outcome.isEmpty() ? QStringLiteral("Waiting for radio") : outcomeText(s);
}

bool StateFailed(const StationStatus& s) {
    return StateText(s).startsWith(QLatin1String("Failed: ")) ||
           StateText(s).startsWith(QLatin1String("Interrupted: "));
}

QList<PreviewRow> PlanPreview(const AppState& templ, const FleetPlan& plan, int count) {
    QList<PreviewRow> out;
    for (const PlanRow& row : plan.rows.mid(0, count)) {
        QStringList values;
        for (const FieldValue& v : row.values) values << v.path + u'=' + v.value;
        AppState image = templ;
        const QString id = ApplyRow(image, row, nullptr) ? GivenId(image, row) : QString();
        out.append(PreviewRow{row.number, values.join(QStringLiteral(", ")), id});
    }
    return out;
}

QString TotalsText(const LogCounts& c) {
    return QStringLiteral("Done: %1   Failed: %2   Interrupted: %3   Plan rows left: %4")
        .arg(c.done)
        .arg(c.failed)
        .arg(c.interrupted)
        .arg(c.free + c.claimed);
}

QString PaceText(int radiosDone, qint64 elapsedMs) {
    const qint64 s = std::max<qint64>(elapsedMs, 0) / 1000;
    const QString elapsed = QStringLiteral("%1:%2:%3")
                                .arg(s / 3600)
                                .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                                .arg(s % 60, 2, 10, QLatin1Char('0'));
    const QString pace = radiosDone > 0 && elapsedMs > 0
                             ? QString::number(qRound(radiosDone * 3600000.0 / elapsedMs))
                             : QStringLiteral("\u2014");
    return QStringLiteral("Elapsed: %1   Radios per hour: %2").arg(elapsed, pace);
}

QStringList LogLineHeader() {
    return {QStringLiteral("Time"),    QStringLiteral("Station"), QStringLiteral("Port"),
            QStringLiteral("Row"),     QStringLiteral("ID"),      QStringLiteral("Status"),
            QStringLiteral("Messages")};
}

QList<LogLine> LogLines(const QStringList& header, const QList<QStringList>& attempts) {
    const auto column = [&header](const char* name) { return header.indexOf(QLatin1String(name)); };
    const int started = column("started"), station = column("station"), port = column("port"),
              row = column("plan_row"), before = column("ids_before"), after = column("ids_after"),
              status = column("status"), messages = column("messages");
    QList<LogLine> out;
    for (auto it = attempts.crbegin(); it != attempts.crend(); ++it) {
        const QStringList& a = *it;
        const QDateTime when = QDateTime::fromString(a.value(started), Qt::ISODateWithMs);
        const QString id = a.value(after).isEmpty() ? a.value(before) : a.value(after);
        QString text = a.value(messages);
        text.replace(u'\n', QStringLiteral(" | "));
        out.append(
            LogLine{{when.toLocalTime().toString(QStringLiteral("HH:mm:ss")), a.value(station),
                     a.value(port), a.value(row), id, a.value(status), text},
                    a.value(status) == QLatin1String("failed") ||
                        a.value(status) == QLatin1String("interrupted")});
    }
    return out;
}

QString FleetChoices::section(const QString& templateName) {
    // One settings group per template; characters the settings file takes
    // for structure are left out of its name.
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_.()-]"));
    return QStringLiteral("Fleet-") + QString(templateName).replace(unsafe, QStringLiteral("_"));
}

FleetChoices FleetChoices::load(const Settings& settings, const QString& templateName) {
    const QString sec = section(templateName);
    FleetChoices c;
    c.planFromFile = settings.flag(sec, QStringLiteral("PlanFromFile"), c.planFromFile);
    c.aniFrom = settings.get(sec, QStringLiteral("AniFrom"), c.aniFrom);
    c.aniStep = settings.integer(sec, QStringLiteral("AniStep"), c.aniStep);
    c.count = settings.integer(sec, QStringLiteral("Count"), c.count);
    c.planFile = settings.get(sec, QStringLiteral("PlanFile"));
    c.ports = settings.get(sec, QStringLiteral("Ports")).split(u',', Qt::SkipEmptyParts);
    c.virtualStations = settings.integer(sec, QStringLiteral("Virtual"), c.virtualStations);
    c.labels = settings.flag(sec, QStringLiteral("Labels"), c.labels);
    c.changedOnly = settings.flag(sec, QStringLiteral("ChangedOnly"), c.changedOnly);
    c.verify = settings.flag(sec, QStringLiteral("Verify"), c.verify);
    c.retries = settings.integer(sec, QStringLiteral("Retries"), c.retries);
    c.log = settings.get(sec, QStringLiteral("Log"));
    return c;
}

void FleetChoices::save(Settings& settings, const QString& templateName) const {
    const QString sec = section(templateName);
    settings.saveFlag(sec, QStringLiteral("PlanFromFile"), planFromFile);
    settings.save(sec, QStringLiteral("AniFrom"), aniFrom);
    settings.saveInteger(sec, QStringLiteral("AniStep"), aniStep);
    settings.saveInteger(sec, QStringLiteral("Count"), count);
    settings.save(sec, QStringLiteral("PlanFile"), planFile);
    settings.save(sec, QStringLiteral("Ports"), ports.join(u','));
    settings.saveInteger(sec, QStringLiteral("Virtual"), virtualStations);
    settings.saveFlag(sec, QStringLiteral("Labels"), labels);
    settings.saveFlag(sec, QStringLiteral("ChangedOnly"), changedOnly);
    settings.saveFlag(sec, QStringLiteral("Verify"), verify);
    settings.saveInteger(sec, QStringLiteral("Retries"), retries);
    settings.save(sec, QStringLiteral("Log"), log);
}

QString DefaultLogFile(const QString& templateName) {
    static const QRegularExpression unsafe(QStringLiteral("[/\\\\]"));
    return userDataFolder() + QStringLiteral("/fleet/") +
           QString(templateName).replace(unsafe, QStringLiteral("_")) + QStringLiteral(".sqlite");
}

}  // namespace tav::fleet
