// Port discovery through libudev: the tty subsystem, less the virtual terminals and the
// phantom 8250 ports that every PC kernel registers. What udev's database knows (names from
// the hardware database, the by-id link, ModemManager's mark) is taken first; without udev
// running, the USB device's own attributes and the by-id folder stand in.
#include <libudev.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string_view>

#include "serial/udev_device_source.h"

namespace serial {

namespace {

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};
template <class T>
using UdevPtr = std::unique_ptr<T, UdevDeleter>;

constexpr std::string_view kByIdFolder = "/dev/serial/by-id/";
constexpr std::string_view kTtyClass = "/sys/class/tty/";

/// The sysfs paths of the tty devices, less those the class folder's links place under
/// devices/virtual (the consoles, ptmx, pseudo-terminals): nothing stands behind them. They
/// are told apart before udev is asked, because libudev's own listing resolves every tty
/// path component by component, virtual or not, which took 9 ms of each start-up on a PC
/// with 68 ttys and one port. An entry that is no link is left to the checks that follow.
std::vector<std::string> TtyPaths() {
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kTtyClass, error)) {
        std::error_code noLink;
        const std::string target = std::filesystem::read_symlink(entry.path(), noLink);
        if (!noLink && target.find("/devices/virtual/") != std::string::npos) continue;
        paths.push_back(entry.path());
    }
    return paths;
}

std::string Text(const char* value) {
    return value ? value : "";
}

std::string Property(udev_device* device, const char* key) {
    return Text(udev_device_get_property_value(device, key));
}

/// The first of `keys` that the device has as a property, with '_' shown as a blank.
std::string FirstProperty(udev_device* device, std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
        std::string value = Property(device, key);
        if (value.empty()) continue;
        std::replace(value.begin(), value.end(), '_', ' ');
        return value;
    }
    return {};
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

/// The by-id link of `node`: from udev's list of links, or else from the folder itself.
std::string ByIdLink(udev_device* tty, const std::string& node) {
    std::istringstream links(Property(tty, "DEVLINKS"));
    for (std::string link; links >> link;) {
        if (link.starts_with(kByIdFolder)) return link;
    }
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kByIdFolder, error)) {
        std::error_code ignored;
        if (std::filesystem::canonical(entry.path(), ignored) == node) return entry.path();
    }
    return {};
}

/// Vendor, model, serial number and ids: udev's properties first, the USB device's
/// attributes where udev does not run.
void DescribeUsb(udev_device* tty, SerialDevice& d) {
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device");
    auto attribute = [usb](const char* name) {
        return usb ? Text(udev_device_get_sysattr_value(usb, name)) : std::string();
    };
    d.vendor = FirstProperty(tty, {"ID_VENDOR_FROM_DATABASE", "ID_VENDOR"});
    if (d.vendor.empty()) d.vendor = attribute("manufacturer");
    d.model = FirstProperty(tty, {"ID_MODEL_FROM_DATABASE", "ID_MODEL"});
    if (d.model.empty()) d.model = attribute("product");
    d.serial = Property(tty, "ID_SERIAL_SHORT");
    if (d.serial.empty()) d.serial = attribute("serial");
    d.vendorId = Property(tty, "ID_VENDOR_ID");
    if (d.vendorId.empty()) d.vendorId = attribute("idVendor");
    d.productId = Property(tty, "ID_MODEL_ID");
    if (d.productId.empty()) d.productId = attribute("idProduct");
    if (!usb) {  // the ids name a USB adapter in the rule for ModemManager, nothing else
        d.vendorId.clear();
        d.productId.clear();
    }
}

SerialDevice Describe(udev_device* tty, const char* node) {
    SerialDevice d;
    d.path = node;
    d.byIdPath = ByIdLink(tty, d.path);
    d.driver = Text(udev_device_get_driver(udev_device_get_parent(tty)));
    DescribeUsb(tty, d);
    d.mmIgnore = Property(tty, "ID_MM_DEVICE_IGNORE") == "1";
    return d;
}

}  // namespace

std::vector<SerialDevice> DiscoverSerialPorts() {
    std::vector<SerialDevice> ports;
    UdevPtr<udev> context(udev_new());
    if (!context) return ports;
    for (const std::string& path : TtyPaths()) {
        UdevPtr<udev_device> tty(udev_device_new_from_syspath(context.get(), path.c_str()));
        if (!tty || !IsRealPort(tty.get())) continue;
        const char* node = udev_device_get_devnode(tty.get());
        if (!node) continue;
        ports.push_back(Describe(tty.get(), node));
    }
    std::sort(ports.begin(), ports.end(),
              [](const SerialDevice& a, const SerialDevice& b) { return a.path < b.path; });
    return ports;
}

}  // namespace serial
