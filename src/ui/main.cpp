#include <QApplication>
#include <QMainWindow>

#include "app/AppInfo.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TAVEDWIN"));
    QApplication::setApplicationVersion(tav::appVersion());
    QMainWindow w;
    w.setWindowTitle(tav::appTitle());
    w.show();
    return app.exec();
}
