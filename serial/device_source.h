// Where the serial devices come from: the devices present now, and a descriptor that becomes
// readable when they change. The system's source is libudev (udev_device_source.h); tests use
// a fake that adds and removes devices by hand.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace serial {

/// One serial device as a person would recognise it. (Every member has its initializer, so
/// designated initializers may leave any out.)
struct SerialDevice {
    std::string path{};       ///< the device node: /dev/ttyUSB0
    std::string byIdPath{};   ///< the stable link /dev/serial/by-id/...; empty when there is none
    std::string vendor{};     ///< "QinHeng Electronics"; empty when unknown
    std::string model{};      ///< "CH340 serial converter"
    std::string serial{};     ///< the adapter's serial number
    std::string vendorId{};   ///< USB vendor id, four hex digits ("1a86"); empty off USB
    std::string productId{};  ///< USB product id ("7523")
    std::string driver{};     ///< the parent device's driver ("ch341-uart", "serial8250")
    bool mmIgnore = false;    ///< marked ID_MM_DEVICE_IGNORE=1: ModemManager leaves it alone

    bool IsUsb() const { return !vendorId.empty() && !productId.empty(); }
};

/// Vendor and model, or the driver when neither is known.
std::string DescribeDevice(const SerialDevice& device);

/// The tooltip of the device's list item: vendor and model, the serial number after
/// `serialLabel` and ": ", and the by-id path, one to a line; what is unknown is left out.
std::string DeviceTooltip(const SerialDevice& device, std::string_view serialLabel);

/// The device that `path` names: its node, its by-id link, or a link that resolves to its node.
std::optional<SerialDevice> FindDevice(const std::vector<SerialDevice>& devices,
                                       const std::string& path);

class DeviceSource {
  public:
    virtual ~DeviceSource() = default;
    /// The serial devices present now, sorted by path. User-interface thread.
    virtual std::vector<SerialDevice> Devices() = 0;
    /// Readable when the devices may have changed; -1 when this source cannot tell.
    /// Watched by the port watcher's thread.
    virtual int ChangeDescriptor() const = 0;
    /// Takes what made the descriptor readable; true when serial devices changed. Called only
    /// by the thread that watches the descriptor.
    virtual bool ReadChanges() = 0;
};

}  // namespace serial
