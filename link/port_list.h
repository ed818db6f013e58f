// The PC's serial ports, for the port list of the form and for `dtucfg ports`, and the rules
// by which the list "SerialPort" follows the devices that come and go.
#pragma once

#include <string>
#include <vector>

#include "serial/device_source.h"
#include "ui/controls.h"

namespace devlink {

/// Serial devices that exist: tty devices with a real parent device (USB, ACM, PCI and
/// platform UARTs whose type is known), sorted by path. Opens no device.
std::vector<SerialDevice> DiscoverSerialPorts();

/// One item of "SerialPort": the text is a device path as given (a discovered node, or a
/// `--port` path as typed).
struct PortItem {
    std::string text;
    const SerialDevice* device = nullptr;  ///< what the system knows of it; may be null
};

struct PortListPlan {
    std::vector<PortItem> items;
    int selected = -1;  ///< the item to select; -1 for none
    std::string back;   ///< the item of a lost adapter that is back; empty when none
    std::string gone;   ///< the selected port that is no longer listed; empty when none
};

/// What a list without a selection gets: the first item when the list is filled for the
/// first time; afterwards nothing, since a port the user chose went away.
enum class WhenNoneSelected { kSelectFirst, kSelectNone };

/// What "SerialPort" shows: the `extraPorts` first, in their order and whether present or
/// not, then every device that none of them names (by node or by-id path). The selection
/// moves to the adapter whose by-id path is `lostById` when it is back, else stays on
/// `selectedText` while that is listed. A selected port that is no longer listed leaves no
/// item selected (never another adapter: "Open" would then reach a unit the user did not
/// choose) and is named in `gone`. Items point into `devices`, which must outlive the plan.
PortListPlan PlanPortList(const std::vector<std::string>& extraPorts,
                          const std::vector<SerialDevice>& devices, const std::string& selectedText,
                          const std::string& lostById, WhenNoneSelected whenNone);

/// Puts the plan's items, each with its tooltip (attribute "tooltip"), into `list` and
/// selects the planned item.
void ApplyPortList(ui::Combo& list, const PortListPlan& plan, const std::string& serialLabel);

}  // namespace devlink
