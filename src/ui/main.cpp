#include <QApplication>
#include <QSerialPortInfo>

#include "app/AppInfo.h"
#include "app/AppState.h"
#include "app/Settings.h"
#include "ui/ControlModule.h"
#include "ui/PortMaker.h"
#include "ui/QtPrompter.h"
#include "ui/WindowClock.h"
#include "ui/frmGroups.h"

namespace {

bool serialDevicePresent(const QString& device) {
    const auto ports = QSerialPortInfo::availablePorts();
    return std::any_of(ports.begin(), ports.end(),
                       [&](const QSerialPortInfo& p) { return p.systemLocation() == device; });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TAVEDWIN"));
    QApplication::setApplicationVersion(tav::appVersion());

    tav::AppState state;
    tav::Settings settings;
    tav::QtPrompter prompter;
    tav::WindowClock clock;
    tav::EditorServices services(state, settings, prompter, clock);
    services.arguments = QApplication::arguments();
    services.deviceExists = serialDevicePresent;
    tav::PortMaker ports(settings, clock);
    services.openPort = [&ports](int port) { return ports.make(port); };

    auto window = tav::Main(std::move(services));
    prompter.setParent(window.get());
    return app.exec();
}
