#include "sim/profiles.h"

namespace sim {
namespace {

const std::vector<Profile>& AllProfiles() {
    static const std::vector<Profile> profiles = {
        {"base", "7315", "BG96", "LTE", true},         {"7315_E", "7315_E", "BG96", "LTE", true},
        {"lora", "7315-L", "BG96", "LTE", true},       {"zigbee", "7315-Z", "BG96", "LTE", true},
        {"gps", "K8x30", "BG96", "LTE", true},         {"cdma", "7315-C", "MC8332", "CDMA", false},
        {"bg36", "7315", "BG36", "CAT-M", true},       {"bg96", "7315", "BG96", "LTE", true},
        {"sim7000", "7315", "SIM7000", "CAT-M", true}, {"bc35", "7315", "BC35", "NB-IOT", true},
    };
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
