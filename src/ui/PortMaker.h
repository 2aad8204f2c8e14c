#pragma once
// Makes the serial line for the port chosen in the Config menu: a serial
// device for ports 1 to 4, the built-in virtual radio for port 0. The virtual
// radio lives as long as this object, so its memory survives switching ports.
// It starts as the factory radio that `tavctl sim` serves, and keeps no wire
// log: it serves for as long as the editor runs.

#include <memory>

#include "app/Ports.h"
#include "app/Settings.h"
#include "sim/VirtualRadio.h"

namespace tav {

class PortMaker {
public:
    PortMaker(Settings& settings, Clock& clock);
    std::unique_ptr<SerialLink> make(int port);
    sim::VirtualRadio& virtualRadio() { return radio_; }

private:
    Settings& settings_;
    Clock& clock_;
    sim::VirtualRadio radio_;
};

}  // namespace tav
