#include "app/SerialTraceFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "app/DataFolder.h"
#include "app/TracingSerialLink.h"

namespace tav {

SerialTraceFile::SerialTraceFile() = default;

SerialTraceFile::~SerialTraceFile() {
    stop();
}

QString SerialTraceFile::pathFor(const QDate& day) {
    return userDataFolder() + QStringLiteral("/trace-") + day.toString(Qt::ISODate) +
           QStringLiteral(".txt");
}

bool SerialTraceFile::start(SerialLink& inner, Clock& clock, const QString& path,
                            const QString& port, QString* why) {
    stop();
    QDir().mkpath(QFileInfo(path).absolutePath());
    file_.setFileName(path);
    // Unbuffered: every line is in the file at once, even if the program dies.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text |
                    QIODevice::Unbuffered)) {
        if (why) *why = file_.errorString();
        return false;
    }
    const QString heading =
        QStringLiteral("# %1 trace of %2 begins; times in seconds since then\n")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                 port);
    file_.write(heading.toUtf8());
    link_ = std::make_unique<TracingSerialLink>(inner, clock, file_);
    return true;
}

void SerialTraceFile::stop() {
    link_.reset();
    if (file_.isOpen()) file_.close();
}

SerialLink* SerialTraceFile::link() {
    return link_.get();
}

}  // namespace tav
