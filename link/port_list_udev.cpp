// Port discovery through libudev: the tty subsystem, less the virtual terminals and the
// phantom 8250 ports that every PC kernel registers.
#include <libudev.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "link/port_list.h"

namespace devlink {

namespace {

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};
template <class T>
using UdevPtr = std::unique_ptr<T, UdevDeleter>;

std::string Text(const char* value) {
    return value ? value : "";
}

/// A tty with a parent device; an 8250 port only when its UART type is known (type 0 is
/// "unknown": the kernel's placeholder for a port that is not there).
bool IsRealPort(udev_device* tty) {
    udev_device* parent = udev_device_get_parent(tty);
    if (!parent) return false;
    const std::string driver = Text(udev_device_get_driver(parent));
    if (driver == "serial8250") {
        return Text(udev_device_get_sysattr_value(tty, "type")) != "0";
    }
    return true;
}

std::string Describe(udev_device* tty) {
    const char* keys[][2] = {{"ID_VENDOR_FROM_DATABASE", "ID_MODEL_FROM_DATABASE"},
                             {"ID_VENDOR", "ID_MODEL"}};
    for (const auto& pair : keys) {
        std::string vendor = Text(udev_device_get_property_value(tty, pair[0]));
        std::string model = Text(udev_device_get_property_value(tty, pair[1]));
        if (!vendor.empty() || !model.empty()) {
            std::replace(model.begin(), model.end(), '_', ' ');
            return vendor.empty() ? model : model.empty() ? vendor : vendor + " " + model;
        }
    }
    return Text(udev_device_get_driver(udev_device_get_parent(tty)));
}

}  // namespace

std::vector<PortInfo> DiscoverSerialPorts() {
    std::vector<PortInfo> ports;
    UdevPtr<udev> context(udev_new());
    if (!context) return ports;
    UdevPtr<udev_enumerate> walk(udev_enumerate_new(context.get()));
    udev_enumerate_add_match_subsystem(walk.get(), "tty");
    udev_enumerate_scan_devices(walk.get());
    udev_list_entry* entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(walk.get())) {
        UdevPtr<udev_device> tty(
            udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
        if (!tty || !IsRealPort(tty.get())) continue;
        const char* node = udev_device_get_devnode(tty.get());
        if (!node) continue;
        ports.push_back(PortInfo{node, Describe(tty.get())});
    }
    std::sort(ports.begin(), ports.end(),
              [](const PortInfo& a, const PortInfo& b) { return a.path < b.path; });
    return ports;
}

}  // namespace devlink
