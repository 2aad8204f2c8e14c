#include <QCoreApplication>
#include <cstdio>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavctl"));
    return tav::cli::run(QCoreApplication::arguments());
}
