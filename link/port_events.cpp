// The port chooser: "SerialPort" follows the devices that come and go, is left alone while the
// port is open, loses its selection (and says so) when the selected port goes away, and
// selects an adapter that comes back after its port was lost. Everything here runs on the
// user-interface thread.
#include <algorithm>
#include <system_error>

#include "link/link.h"
#include "link/messages.h"
#include "link/port_list.h"
#include "platform/text.h"
#include "serial/modem_manager.h"
#include "serial/udev_device_source.h"

namespace devlink {

PortChooser::PortChooser(ui::Window& window, LinkHost& host, const serial::PortIo& port)
    : window_(window), host_(host), port_(port) {}

PortChooser::~PortChooser() {
    StopPortWatcher();
}

std::string PortChooser::Text(const char* section, const char* key, const char* suffix) const {
    return host_.Texts().LoadText(section, key, suffix);
}

void PortChooser::UseDeviceSource(serial::DeviceSource* source) {
    StopPortWatcher();
    deviceSource_ = source;
}

bool PortChooser::StartPortWatcher() {
    StopPortWatcher();
    if (!deviceSource_ || deviceSource_->ChangeDescriptor() < 0) return false;
    try {
        portWatcher_ = std::make_unique<serial::PortWatcher>(
            *deviceSource_, [&window = window_] { window.PostMessage(UM_PORTS_CHANGED); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void PortChooser::StopPortWatcher() {
    portWatcher_.reset();  // its destructor stops and joins the thread
}

std::vector<SerialDevice> PortChooser::CurrentDevices() const {
    return deviceSource_ ? deviceSource_->Devices() : serial::DiscoverSerialPorts();
}

bool PortChooser::ListSerialPorts() {
    return RebuildPortList();
}

void PortChooser::RefreshPortList() {
    // The list of an open port stays as it is: the port controls are disabled, and the
    // rebuild waits for the close.
    if (port_.IsOpen()) {
        portListDue_ = true;
        return;
    }
    RebuildPortList();
}

bool PortChooser::RebuildPortList() {
    portListDue_ = false;
    auto* list = host_.Form().Find<ui::Combo>("SerialPort");
    if (!list) return false;
    const std::vector<SerialDevice> devices = CurrentDevices();
    // A lost adapter is back once it was seen gone: udev may list it for a moment after
    // its port hung up.
    const bool lostPresent =
        !lostById_.empty() && std::any_of(devices.begin(), devices.end(),
                                          [&](const auto& d) { return d.byIdPath == lostById_; });
    if (!lostById_.empty() && !lostPresent) lostSeenGone_ = true;
    const std::string back = lostSeenGone_ && lostPresent ? lostById_ : std::string();
    // Only the window's first list selects an item by itself; later an empty selection is
    // one whose port went away, and a new adapter does not take its place.
    const auto whenNone =
        portsListed_ ? WhenNoneSelected::kSelectNone : WhenNoneSelected::kSelectFirst;
    const PortListPlan plan = PlanPortList(extraPorts_, devices, list->GetText(), back, whenNone);
    if (plan.items.empty() && !portsListed_) return false;
    portsListed_ = true;
    ApplyPortList(*list, plan, Text("ListSerialPorts", "SerialNumber"));
    if (!plan.gone.empty() && !reopening_) {
        host_.AppendLog(
            platform::ReplaceToken(Text("OnStartCom", "PortGone"), "{port}", plan.gone) + "\r\n");
    }
    if (!plan.back.empty()) {
        ForgetLostPort();  // told once
        if (!reopening_) host_.AppendLog(Text("OnStartCom", "PortBack") + " " + plan.back + "\r\n");
    }
    return true;
}

void PortChooser::PortLost() {
    lostById_ = openedDevice_.byIdPath;
    lostSeenGone_ = false;
}

void PortChooser::ForgetLostPort() {
    lostById_.clear();
    lostSeenGone_ = false;
}

void PortChooser::PortOpened(const std::string& path) {
    ForgetLostPort();  // another port is in use: a lost one coming back is no news
    openedDevice_ = FindDevice(CurrentDevices(), path).value_or(SerialDevice{});
    const std::string rule = serial::ModemManagerIgnoreRule(openedDevice_);
    if (rule.empty() || !serial::ModemManagerRuns(procRoot_)) return;
    host_.AppendLog(Text("OnStartCom", "ModemManagerHint", "\r\n") + rule + "\r\n");
}

void PortChooser::PortClosed() {
    openedDevice_ = {};
    if (portListDue_) RebuildPortList();
}

}  // namespace devlink
