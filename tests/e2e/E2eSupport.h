#pragma once
// Running `tavctl`: a command to completion, or `tavctl sim` in the
// background with the device path it printed.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

namespace tav::test {

inline QString tavctlPath() {
    return qEnvironmentVariable("TAVCTL");
}

struct Run {
    int status = -1;
    QString out, err;
};

// `inChild` runs in tavctl's process before it starts (to point its standard
// output elsewhere, say); `input` is all of standard input.
inline Run tavctl(const QStringList& args, const QString& workDir = QString(),
                  const std::function<void()>& inChild = {}, const QByteArray& input = {}) {
    QProcess p;
    p.setWorkingDirectory(workDir);
    if (inChild) p.setChildProcessModifier(inChild);
    p.start(tavctlPath(), args);
    p.write(input);
    p.closeWriteChannel();
    Run r;
    if (!p.waitForFinished(180000)) return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

class Simulator {
public:
    // `inChild` runs in the simulator's process before it starts.
    explicit Simulator(const QStringList& options = {}, std::function<void()> inChild = {}) {
        if (inChild) process.setChildProcessModifier(inChild);
        process.start(tavctlPath(), QStringList{QStringLiteral("sim")} + options);
        if (!process.waitForStarted(10000)) return;
        while (!process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        device = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    ~Simulator() {
        if (process.state() == QProcess::NotRunning) return;
        process.terminate();
        process.waitForFinished(5000);
    }
    QProcess process;
    QString device;
};

}  // namespace tav::test
