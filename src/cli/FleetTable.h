#pragma once
// The live table of a fleet run on stderr: one line per station (port,
// state, radios, ANI/ID, percent). On a terminal the lines are redrawn in
// place, a few times a second at most; otherwise a plain line is printed
// whenever a station's state changes.

#include <QList>
#include <QObject>
#include <QTimer>

#include "fleet/Station.h"

namespace tav::cli {

class FleetTable : public QObject {
    Q_OBJECT
public:
    FleetTable(const QStringList& ports, bool terminal);
    void update(const tav::fleet::StationStatus& s);
    // Draws the table once more as it stands (a terminal's last picture).
    void flush();

private:
    static QString line(const tav::fleet::StationStatus& s);
    void draw();

    QList<tav::fleet::StationStatus> rows_;
    bool terminal_;
    bool drawn_ = false;
    bool dirty_ = false;
    QTimer timer_;
};

}  // namespace tav::cli
