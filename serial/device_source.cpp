#include "serial/device_source.h"

#include <climits>
#include <cstdlib>

namespace serial {

namespace {

/// The node a link resolves to; empty when it does not resolve.
std::string Resolved(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

void AddLine(std::string& text, const std::string& line) {
    if (line.empty()) return;
    if (!text.empty()) text += "\n";
    text += line;
}

}  // namespace

std::string DescribeDevice(const SerialDevice& d) {
    if (!d.vendor.empty() && !d.model.empty()) return d.vendor + " " + d.model;
    if (!d.vendor.empty() || !d.model.empty()) return d.vendor + d.model;
    return d.driver;
}

std::string DeviceTooltip(const SerialDevice& d, std::string_view serialLabel) {
    std::string text;
    AddLine(text, DescribeDevice(d));
    if (!d.serial.empty()) AddLine(text, std::string(serialLabel) + ": " + d.serial);
    AddLine(text, d.byIdPath);
    return text;
}

std::optional<SerialDevice> FindDevice(const std::vector<SerialDevice>& devices,
                                       const std::string& path) {
    if (path.empty()) return std::nullopt;
    for (const SerialDevice& d : devices) {
        if (d.path == path || d.byIdPath == path) return d;
    }
    const std::string node = Resolved(path);
    for (const SerialDevice& d : devices) {
        if (!node.empty() && d.path == node) return d;
    }
    return std::nullopt;
}

}  // namespace serial
