#include "ui/PortMaker.h"

#include "app/QtSerialLink.h"
#include "sim/RadioImage.h"
#include "sim/SimSerialLink.h"
#include "ui/EditorServices.h"

namespace tav {

namespace {
// Told with a missing device, where a newcomer without a radio most often lands.
QString missingDeviceAdvice() {
    return QStringLiteral("Config \u2192 Virtual radio lets you try the editor without a radio.");
}
}  // namespace

PortMaker::PortMaker(Settings& settings, Clock& clock) : settings_(settings), clock_(clock) {
    sim::loadFactoryRadio(radio_);
    radio_.setRecording(false);
}

std::unique_ptr<SerialLink> PortMaker::make(int port) {
    if (port == kVirtualRadioPort) return std::make_unique<sim::SimSerialLink>(radio_, clock_);
    auto line = std::make_unique<QtSerialLink>(settings_.portDevice(port));
    line->setMissingDeviceAdvice(missingDeviceAdvice());
    return line;
}

}  // namespace tav
