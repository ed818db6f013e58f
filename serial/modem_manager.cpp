#include "serial/modem_manager.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace serial {

bool ModemManagerRuns(const std::string& procRoot) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(procRoot, error)) {
        const std::string pid = entry.path().filename().string();
        const bool isProcess = !pid.empty() && std::all_of(pid.begin(), pid.end(), [](char c) {
            return c >= '0' && c <= '9';
        });
        if (!isProcess) continue;
        std::ifstream comm(entry.path() / "comm");
        std::string name;
        // The kernel ends the name with a line feed; a process that is gone reads nothing.
        if (std::getline(comm, name) && name == "ModemManager") return true;
    }
    return false;
}

std::string ModemManagerIgnoreRule(const SerialDevice& device) {
    if (!device.IsUsb() || device.mmIgnore) return {};
    return "ATTRS{idVendor}==\"" + device.vendorId + "\", ATTRS{idProduct}==\"" + device.productId +
           "\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"";
}

}  // namespace serial
