#include <QGuiApplication>
#include <cstdio>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    // The printout draws text, and fonts need a GUI application. tavctl never
    // shows a window, so it needs no display either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavctl"));
    return tav::cli::run(QCoreApplication::arguments());
}
