#pragma once
// The serial trace of the editor: while it is on, the port is wrapped in a
// TracingSerialLink that writes every byte, line change and timeout into a
// text file of the day in the per-user data folder
// (XDG_DATA_HOME/TAVEDWIN/trace-2026-12-06.txt). Sessions append to the file,
// each after a heading line with the date, time and port.

#include <QDate>
#include <QFile>
#include <QString>
#include <memory>

#include "app/Ports.h"

namespace tav {

class TracingSerialLink;

class SerialTraceFile {
public:
    SerialTraceFile();
    ~SerialTraceFile();

    static QString pathFor(const QDate& day);

    // Opens `path` for appending, writes the heading naming `port` and wraps
    // `inner`. False, with the reason, when the file cannot be opened.
    bool start(SerialLink& inner, Clock& clock, const QString& path, const QString& port,
               QString* why = nullptr);
    // Ends the trace; the wrapped port itself is left as it is.
    void stop();
    // The tracing port while a trace runs, else null.
    SerialLink* link();
    QString path() const { return file_.fileName(); }

private:
    QFile file_;
    std::unique_ptr<TracingSerialLink> link_;
};

}  // namespace tav
