#include <QApplication>
#include <cstdio>

#include "app/AppInfo.h"
#include "app/QtSerialLink.h"
#include "app/Settings.h"
#include "model/AppState.h"
#include "ui/ControlModule.h"
#include "ui/EditorWindows.h"
#include "ui/PortMaker.h"
#include "ui/QtPrompter.h"
#include "ui/WindowClock.h"
#include "ui/frmGroups.h"

namespace {

// --version and --help answer without a display, before any window exists.
bool answeredFromCommandLine(int argc, char** argv) {
    if (argc != 2) return false;
    const QByteArray arg(argv[1]);
    if (arg == "--version") {
        std::printf("tavedwin %s\n", TAV_VERSION);
        return true;
    }
    if (arg == "--help" || arg == "-h") {
        std::printf(
            "usage: tavedwin [FILE.tav]\n"
            "The TAV Editor: read, edit and write the memory of TAV-series radios.\n"
            "FILE.tav  a radio file to open at start-up\n"
            "--version print the version and exit\n");
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (answeredFromCommandLine(argc, argv)) return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TAVEDWIN"));
    QApplication::setApplicationVersion(tav::appVersion());

    tav::AppState state;
    tav::Settings settings;
    tav::QtPrompter prompter;
    tav::WindowClock clock;
    tav::EditorServices services(state, settings, prompter, clock);
    services.arguments = QApplication::arguments();
    services.deviceExists = tav::QtSerialLink::isPresent;
    tav::PortMaker ports(settings, clock);
    services.openPort = [&ports](int port) { return ports.make(port); };

    auto window = tav::Main(std::move(services));
    tav::EditorWindows windows(state, settings, prompter, clock);
    windows.attach(*window);
    prompter.setParent(window.get());
    return app.exec();
}
