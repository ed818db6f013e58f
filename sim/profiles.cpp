#include "sim/profiles.h"

#include "sim/embedded_data.h"
#include "sim/unit_state.h"

namespace sim {
namespace {

// The profiles, the default first; each has its report file reports/NAME.txt.
constexpr std::string_view kNames[] = {"base", "7315_E", "lora", "zigbee",  "gps",
                                       "cdma", "bg36",   "bg96", "sim7000", "bc35"};

// The network mode a unit names in its answer to "AT+FINDNETMODE", by its radio module.
struct NetMode {
    std::string_view module;
    std::string_view mode;
};
constexpr NetMode kNetModes[] = {
    {"BG96", "LTE"},    {"BG36", "CAT-M"},  {"SIM7000", "CAT-M"},
    {"BC35", "NB-IOT"}, {"MC8332", "CDMA"},
};

std::string NetModeOf(std::string_view module) {
    for (const NetMode& entry : kNetModes) {
        if (entry.module == module) return std::string(entry.mode);
    }
    return "LTE";
}

Profile MakeProfile(std::string_view name) {
    Profile profile;
    profile.name = std::string(name);
    profile.reportFile = EmbeddedText("reports/" + profile.name + ".txt");
    const UnitState factory = UnitState::FromReportFile(profile.reportFile);
    profile.deviceType = factory.Value("Device Type").value_or("");
    profile.rfModel = factory.Value("RF MODEL").value_or("");
    profile.netMode = NetModeOf(profile.rfModel);
    profile.hasApn = factory.Value("AT+APN").has_value();
    return profile;
}

const std::vector<Profile>& AllProfiles() {
    static const std::vector<Profile> profiles = [] {
        std::vector<Profile> all;
        for (std::string_view name : kNames) all.push_back(MakeProfile(name));
        return all;
    }();
    return profiles;
}

}  // namespace

const Profile* FindProfile(std::string_view name) {
    for (const Profile& profile : AllProfiles()) {
        if (profile.name == name) return &profile;
    }
    return nullptr;
}

const Profile& DefaultProfile() {
    return AllProfiles().front();
}

std::vector<std::string> ProfileNames() {
    std::vector<std::string> names;
    for (const Profile& profile : AllProfiles()) names.push_back(profile.name);
    return names;
}

}  // namespace sim
