#include "ui/PortMaker.h"

#include "app/QtSerialLink.h"
#include "sim/SimSerialLink.h"
#include "ui/EditorServices.h"

namespace tav {

std::unique_ptr<SerialLink> PortMaker::make(int port) {
    if (port == kVirtualRadioPort) return std::make_unique<sim::SimSerialLink>(radio_, clock_);
    return std::make_unique<QtSerialLink>(settings_.portDevice(port));
}

}  // namespace tav
