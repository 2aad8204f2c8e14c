#include "cli/FleetTable.h"

#include <cstdio>

namespace tav::cli {

namespace {
constexpr int kRedrawMs = 200;
}

FleetTable::FleetTable(const QStringList& ports, bool terminal) : terminal_(terminal) {
    for (int i = 0; i < ports.size(); ++i) {
        fleet::StationStatus s;
        s.station = i + 1;
        s.port = ports[i];
        s.state = QStringLiteral("starting");
        rows_ << s;
    }
    timer_.setInterval(kRedrawMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (dirty_) draw();
    });
    if (terminal_) timer_.start();
}

QString FleetTable::line(const fleet::StationStatus& s) {
    return QStringLiteral("station %1  %2  %3  radios %4  %5  %6%")
        .arg(s.station)
        .arg(s.port, -14)
        .arg(s.state, -10)
        .arg(s.radios, 3)
        .arg(s.id.isEmpty() ? QStringLiteral("-") : s.id, -8)
        .arg(s.percent, 3);
}

void FleetTable::update(const fleet::StationStatus& s) {
    const int i = s.station - 1;
    if (i < 0 || i >= rows_.size()) return;
    const bool newState = rows_[i].state != s.state || rows_[i].radios != s.radios;
    rows_[i] = s;
    if (terminal_) {
        dirty_ = true;
        if (!drawn_) draw();
    } else if (newState) {
        std::fprintf(stderr, "%s\n", qPrintable(line(s)));
        std::fflush(stderr);
    }
}

void FleetTable::flush() {
    if (terminal_) draw();
}

void FleetTable::draw() {
    QByteArray out;
    if (drawn_) out += "\033[" + QByteArray::number(rows_.size()) + "A";
    for (const fleet::StationStatus& s : rows_) out += "\r\033[K" + line(s).toLocal8Bit() + '\n';
    std::fputs(out.constData(), stderr);
    std::fflush(stderr);
    drawn_ = true;
    dirty_ = false;
}

}  // namespace tav::cli
