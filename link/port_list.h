// The port list "SerialPort" of the form: the rules by which it follows the serial devices that
// come and go, and the chooser that keeps it so.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "serial/device_source.h"
#include "serial/port_io.h"
#include "serial/port_watcher.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace devlink {

using serial::SerialDevice;
class LinkHost;

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

/// Keeps "SerialPort" following the devices: fills it at window start, rebuilds it when the
/// devices change (while the port is open, once it closes), leaves no item selected (and says
/// so) when the selected port goes away, and selects an adapter that comes back after its port
/// was lost. User-interface thread; the watcher's thread only posts UM_PORTS_CHANGED.
class PortChooser {
  public:
    /// `port` tells whether the port is open; the window receives the watcher's messages.
    PortChooser(ui::Window& window, LinkHost& host, const serial::PortIo& port);
    ~PortChooser();
    PortChooser(const PortChooser&) = delete;
    PortChooser& operator=(const PortChooser&) = delete;

    /// Takes the devices from `source` from now on; null: the system's, enumerated when
    /// needed. The source must outlive the chooser.
    void UseDeviceSource(serial::DeviceSource* source);
    /// Starts the thread that watches the source and posts UM_PORTS_CHANGED; false when the
    /// source cannot tell changes or no thread could be started.
    bool StartPortWatcher();
    void StopPortWatcher();
    /// Fills "SerialPort" at window start. False, leaving the list as the layout made it,
    /// when there is nothing to list or no such control.
    bool ListSerialPorts();
    /// The devices changed, or the list is being opened: rebuilds the list now, or when the
    /// port is closed if it is open.
    void RefreshPortList();
    /// A rebuild waits for the port to close.
    bool PortListDue() const { return portListDue_; }
    /// Selects the listed port that `name` names (its node, its by-id path, or the item's
    /// text), without an "itemselect"; false, leaving the selection, when none is listed.
    bool SelectNamed(const std::string& name);
    /// What names the port `path` across restarts: its by-id path where it has one.
    std::string StableName(const std::string& path) const;
    /// Device paths listed in "SerialPort" before the discovered ones.
    void SetExtraPorts(std::vector<std::string> paths) { extraPorts_ = std::move(paths); }
    /// Where the running processes are looked for (ModemManager); "/proc".
    void SetProcRoot(std::string root) { procRoot_ = std::move(root); }

    // What the link tells of its port.
    /// Remembers the device just opened and hints at ModemManager where it may interfere.
    void PortOpened(const std::string& path);
    /// The stable name (/dev/serial/by-id/...) of the adapter open now; empty without one.
    const std::string& OpenedStableName() const { return openedDevice_.byIdPath; }
    /// Remembers the adapter of the port just lost, to tell and select it when it is back.
    void PortLost();
    /// Rebuilds the list if the devices changed while the port was open.
    void PortClosed();
    /// While the link waits to open the lost adapter again by itself, the list follows the
    /// devices without telling the user to choose or open one.
    void SetReopening(bool reopening) { reopening_ = reopening; }

  private:
    std::vector<SerialDevice> CurrentDevices() const;
    bool RebuildPortList();
    void ForgetLostPort();
    std::string Text(const char* section, const char* key, const char* suffix = "") const;

    ui::Window& window_;
    LinkHost& host_;
    const serial::PortIo& port_;
    std::vector<std::string> extraPorts_;
    std::string procRoot_ = "/proc";
    serial::DeviceSource* deviceSource_ = nullptr;
    std::unique_ptr<serial::PortWatcher> portWatcher_;
    bool portListDue_ = false;  // the devices changed while the port was open
    bool portsListed_ = false;  // the list holds what this chooser put there
    SerialDevice openedDevice_;
    std::string lostById_;       // the by-id path of the adapter whose port was lost
    bool lostSeenGone_ = false;  // a rebuild has seen that adapter gone
    bool reopening_ = false;
};

}  // namespace devlink
