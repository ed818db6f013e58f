#include "serial/udev_device_source.h"

#include <libudev.h>
#include <unistd.h>

namespace serial {

UdevDeviceSource::UdevDeviceSource() : context_(udev_new()) {
    if (!context_) return;
    // libudev hands out no udev events where udev does not run (a container, for one); the
    // kernel's events still say that a device came or went.
    monitor_ = udev_monitor_new_from_netlink(context_, UdevRuns() ? "udev" : "kernel");
    if (!monitor_) return;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        monitor_ = udev_monitor_unref(monitor_);
    }
}

UdevDeviceSource::~UdevDeviceSource() {
    if (monitor_) udev_monitor_unref(monitor_);
    if (context_) udev_unref(context_);
}

bool UdevDeviceSource::UdevRuns() {
    return ::access("/run/udev/control", F_OK) == 0;
}

std::vector<SerialDevice> UdevDeviceSource::Devices() {
    return DiscoverSerialPorts();
}

int UdevDeviceSource::ChangeDescriptor() const {
    return monitor_ ? udev_monitor_get_fd(monitor_) : -1;
}

bool UdevDeviceSource::ReadChanges() {
    if (!monitor_) return false;
    // The descriptor is non-blocking: take every event that is waiting, report them as one.
    bool changed = false;
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        changed = true;
        udev_device_unref(device);
    }
    return changed;
}

}  // namespace serial
