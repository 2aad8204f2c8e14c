#pragma once
// A throwaway PostgreSQL server for a test: initdb and pg_ctl from Debian's
// postgresql into a temporary folder, listening only on a Unix socket there,
// stopped when the object goes. PostgreSQL refuses to run as root, so as
// root the server runs as the "postgres" user the package creates.

#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace tav::test {

class PgServer {
public:
    PgServer() {
        const QStringList bins = QDir(QStringLiteral("/usr/lib/postgresql"))
                                     .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        if (bins.isEmpty()) return;
        bin_ = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(bins.last());
        if (!QFile::exists(bin_ + "initdb") || !dir_.isValid()) return;
        if (::geteuid() == 0) {
            const passwd* pw = ::getpwnam("postgres");
            if (!pw) return;
            runAs_ = QStringLiteral("postgres");
            if (::chown(QFile::encodeName(dir_.path()).constData(), pw->pw_uid, pw->pw_gid) != 0)
                return;
        }
        const QString data = dir_.filePath("data");
        if (!tool({bin_ + "initdb", "-D", data, "-U", "fleet", "--auth=trust", "-E", "UTF8"}))
            return;
        started_ = tool({bin_ + "pg_ctl", "-D", data, "-w", "-l", dir_.filePath("server.log"), "-o",
                         QStringLiteral("-k %1 -c listen_addresses='' -p 5432").arg(dir_.path()),
                         "start"});
        ready_ =
            started_ && tool({bin_ + "createdb", "-h", dir_.path(), "-U", "fleet", "fleetlog"});
    }
    ~PgServer() {
        if (started_)
            tool({bin_ + "pg_ctl", "-D", dir_.filePath("data"), "-m", "fast", "-w", "stop"});
    }
    // Whether the binaries are there at all (else the test skips).
    bool installed() const { return !bin_.isEmpty(); }
    bool ready() const { return ready_; }
    QString url() const {
        return QStringLiteral("postgresql://fleet@/fleetlog?host=%1&port=5432").arg(dir_.path());
    }

private:
    bool tool(const QStringList& command) const {
        QProcess p;
        if (runAs_.isEmpty())
            p.start(command.first(), command.mid(1));
        else
            p.start(QStringLiteral("runuser"), QStringList{"-u", runAs_, "--"} + command);
        return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    }

    QTemporaryDir dir_;
    QString bin_, runAs_;
    bool started_ = false, ready_ = false;
};

}  // namespace tav::test
