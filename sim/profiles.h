// The kinds of unit the simulated unit can stand in for. A profile decides what the unit
// reports about itself: its device type, its radio module and its network mode.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sim {

/// What distinguishes one kind of unit from another in what it reports.
struct Profile {
    std::string name;        ///< short name used on the command line, e.g. "lora"
    std::string deviceType;  ///< value of the report's "Device Type" row, e.g. "7315-L"
    std::string rfModel;     ///< radio module on the report's "RF MODEL:" line, e.g. "BG96"
    std::string netMode;     ///< text the unit puts after "+FINDNETMODE:", e.g. "LTE"
    bool hasApn = true;      ///< false: the report has no "Access Point Name:" line (CDMA)
};

/// The profile called `name` (exact, case-sensitive), or null when there is none. The
/// returned profile lives as long as the program.
const Profile* FindProfile(std::string_view name);

/// The profile used when none is asked for ("base").
const Profile& DefaultProfile();

/// The names of all profiles, the default first.
std::vector<std::string> ProfileNames();

}  // namespace sim
