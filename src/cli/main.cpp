#include <QCoreApplication>
#include <QGuiApplication>
#include <csignal>
#include <cstring>
#include <memory>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    // A reader that has gone away (`tavctl dump FILE | head`) makes a write
    // fail with EPIPE, which the verb reports, rather than end the program
    // without a word.
    std::signal(SIGPIPE, SIG_IGN);
    // The printout draws text, and fonts need a GUI application; it never
    // shows a window, so it needs no display. The other verbs make do with
    // the core application.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && std::strcmp(argv[1], "print") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("tavctl"));
    return tav::cli::run(QCoreApplication::arguments());
}
