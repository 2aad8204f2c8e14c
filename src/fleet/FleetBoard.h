#pragma once
// What a fleet window shows, worked out without a widget: each station's
// state in the technician's words, the first rows of a plan with the ID each
// one gives, the totals from the log, the pace, the log's rows newest first,
// and the choices remembered for each template.

#include <QList>
#include <QString>
#include <QStringList>

#include "model/AppState.h"
#include "app/Settings.h"
#include "fleet/FleetLog.h"
#include "fleet/FleetPlan.h"
#include "fleet/Station.h"

namespace tav::fleet {

// "Waiting for radio", "Reading", "Writing 63 %", "Verifying", "Done — swap
// radio", "Failed: REASON"... A station keeps showing how its last radio
// ended until the next radio answers, and "Plan done" once it has ended
// for that reason (`shown` is what it showed before).
QString StateText(const StationStatus& s, const QString& shown = QString());
// Whether the state is a failure (shown in the failure colour).
bool StateFailed(const StationStatus& s);

struct PreviewRow {
    int number = 0;
    QString values;  // "path=value, ..."
    QString id;      // the ANI/ID the radio will hold, as IdSummary gives it
};
// The first `count` rows of the plan, each applied to the template; a row
// that cannot be applied shows its values and no ID (CheckPlan says why).
QList<PreviewRow> PlanPreview(const AppState& templ, const FleetPlan& plan, int count);

// "Done: 4   Failed: 1   Interrupted: 0   Plan rows left: 2"
QString TotalsText(const LogCounts& c);
// "Elapsed: 0:02:05   Radios per hour: 86"; the pace once a radio is done.
QString PaceText(int radiosDone, qint64 elapsedMs);

// The log's attempts for the window, newest first: the columns shown and,
// per attempt, whether it failed.
struct LogLine {
    QStringList cells;  // time, station, port, plan row, ID, status, messages
    bool failed = false;
};
QStringList LogLineHeader();
QList<LogLine> LogLines(const QStringList& header, const QList<QStringList>& attempts);

// The choices of the fleet window, remembered per template name.
struct FleetChoices {
    bool planFromFile = false;
    QString aniFrom = QStringLiteral("0000001");
    int aniStep = 1, count = 10;
    QString planFile;
    QStringList ports;
    int virtualStations = 0;
    bool labels = false, changedOnly = false, verify = true;
    int retries = 0;
    QString log;  // empty: the template's default log file

    // The settings section of a template ("(unsaved image)" for an image with no file).
    static QString section(const QString& templateName);
    static FleetChoices load(const Settings& settings, const QString& templateName);
    void save(Settings& settings, const QString& templateName) const;
};

// The log file a template gets unless told otherwise: one per template name,
// in the editor's data folder.
QString DefaultLogFile(const QString& templateName);

}  // namespace tav::fleet
