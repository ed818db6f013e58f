// The kinds of unit the simulated unit can stand in for. A profile's factory report
// (sim/data/reports/NAME.txt) is what the unit holds after a factory restore; the device
// type, the radio module (and with it the network mode) and whether it has an access point
// name are read from it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sim {

/// What distinguishes one kind of unit from another.
struct Profile {
    std::string name;             ///< short name used on the command line, e.g. "lora"
    std::string deviceType;       ///< the report's "Device Type:" value, e.g. "7315-L"
    std::string rfModel;          ///< the module on the report's "RF MODEL:" line, e.g. "BG96"
    std::string netMode;          ///< after "+FINDNETMODE:", by the module, e.g. "LTE"
    bool hasApn = true;           ///< false: the report has no "Access Point Name:" line (CDMA)
    std::string_view reportFile;  ///< the factory report as stored (LF line ends)
};

/// The profile called `name` (exact, case-sensitive), or null when there is none. The
/// returned profile lives as long as the program.
const Profile* FindProfile(std::string_view name);

/// The profile used when none is asked for ("base").
const Profile& DefaultProfile();

/// The names of all profiles, the default first.
std::vector<std::string> ProfileNames();

}  // namespace sim
