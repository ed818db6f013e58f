// The PC's serial ports, for the port list of the form and for `dtucfg ports`.
#pragma once

#include <string>
#include <vector>

#include "ui/paint_manager.h"

namespace devlink {

struct PortInfo {
    std::string path;         // /dev/ttyUSB0
    std::string description;  // vendor and model where the system knows them
};

/// Serial devices that exist: tty devices with a real parent device (USB, ACM, PCI and
/// platform UARTs whose type is known), sorted by path. Opens no device.
std::vector<PortInfo> DiscoverSerialPorts();

/// Fills "SerialPort" with `extraPorts` (in their order) followed by the discovered ports,
/// each path once. False, leaving the list as the layout made it, when there is nothing to
/// list or no such control.
bool ListSerialPorts(ui::PaintManager& pm, const std::vector<std::string>& extraPorts);

}  // namespace devlink
