// The system's serial devices through libudev: the enumeration of udev_discovery.cpp for the
// devices present, and a udev monitor on the tty subsystem for the changes.
#pragma once

#include <memory>

#include "serial/device_source.h"

struct udev;
struct udev_monitor;

namespace serial {

/// Serial devices that exist: tty devices with a real parent device (USB, ACM, PCI and
/// platform UARTs whose type is known), sorted by path. Opens no device.
std::vector<SerialDevice> DiscoverSerialPorts();

class UdevDeviceSource final : public DeviceSource {
  public:
    /// Opens the monitor. Where udev does not run, the kernel's own events stand in (the
    /// device node exists, udev's names and links do not); where neither can be had,
    /// ChangeDescriptor() is -1 and the devices are still listed.
    UdevDeviceSource();
    ~UdevDeviceSource() override;
    UdevDeviceSource(const UdevDeviceSource&) = delete;
    UdevDeviceSource& operator=(const UdevDeviceSource&) = delete;

    std::vector<SerialDevice> Devices() override;
    int ChangeDescriptor() const override;
    bool ReadChanges() override;

    /// Whether udev runs on this machine (its control socket exists).
    static bool UdevRuns();

  private:
    // Used by the watching thread only once constructed; Devices() uses a context of its own.
    udev* context_ = nullptr;
    udev_monitor* monitor_ = nullptr;
};

}  // namespace serial
