// The link's side of the port list: "SerialPort" follows the devices that come and go, is
// left alone while the port is open, loses its selection (and says so) when the selected port
// goes away, and selects an adapter that comes back after its port was lost. Everything here
// runs on the user-interface thread.
#include <algorithm>
#include <system_error>

#include "link/link.h"
#include "link/messages.h"
#include "link/port_list.h"
#include "platform/text.h"
#include "serial/modem_manager.h"
#include "serial/port_watcher.h"

namespace devlink {

void Link::UseDeviceSource(DeviceSource* source) {
    StopPortWatcher();
    deviceSource_ = source;
}

bool Link::StartPortWatcher() {
    StopPortWatcher();
    if (!deviceSource_ || deviceSource_->ChangeDescriptor() < 0) return false;
    try {
        portWatcher_ = std::make_unique<PortWatcher>(*deviceSource_, window_, UM_PORTS_CHANGED);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void Link::StopPortWatcher() {
    portWatcher_.reset();  // its destructor stops and joins the thread
}

std::vector<SerialDevice> Link::CurrentDevices() const {
    return deviceSource_ ? deviceSource_->Devices() : DiscoverSerialPorts();
}

bool Link::ListSerialPorts() {
    return RebuildPortList();
}

void Link::RefreshPortList() {
    // The list of an open port stays as it is: the port controls are disabled, and the
    // rebuild waits for the close.
    if (serialPort_.IsOpen()) {
        portListDue_ = true;
        return;
    }
    RebuildPortList();
}

bool Link::RebuildPortList() {
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
    if (!plan.gone.empty()) {
        host_.AppendLog(
            platform::ReplaceToken(Text("OnStartCom", "PortGone"), "{port}", plan.gone) + "\r\n");
    }
    if (!plan.back.empty()) {
        ForgetLostPort();  // told once; the tool does not reopen it by itself
        host_.AppendLog(Text("OnStartCom", "PortBack") + " " + plan.back + "\r\n");
    }
    return true;
}

void Link::NoteLostPort() {
    lostById_ = openedDevice_.byIdPath;
    lostSeenGone_ = false;
}

void Link::ForgetLostPort() {
    lostById_.clear();
    lostSeenGone_ = false;
}

void Link::NoteOpenedDevice(const std::string& path) {
    ForgetLostPort();  // another port is in use: a lost one coming back is no news
    openedDevice_ = FindDevice(CurrentDevices(), path).value_or(SerialDevice{});
    const std::string rule = ModemManagerIgnoreRule(openedDevice_);
    if (rule.empty() || !ModemManagerRuns(procRoot_)) return;
    host_.AppendLog(Text("OnStartCom", "ModemManagerHint", "\r\n") + rule + "\r\n");
}

}  // namespace devlink
