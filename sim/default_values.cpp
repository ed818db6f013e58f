#include "sim/default_values.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace sim {
namespace {

struct NamedValue {
    std::string_view name;
    std::string_view value;
};

// Rows whose factory value does not depend on the profile. The DIO channel rows stand here
// once, with '#' where the channel digit goes.
// clang-format off
constexpr NamedValue kFixedValues[] = {
    // Work mode page.
    {"Protocolmodel", "CUST"},          {"Modem'sID number", "13912345678"},
    {"DeviceModel", "CLI"},             {"Transferprotocol", "UDP"},
    {"RegistrationAndHeart", "1"},      {"1RegisterIsHex", "0"},
    {"RegisterInfo", ""},               {"RegistrationReplyInfo", ""},
    {"HeartbeatPacket", ""},            {"HeartbeatPacketReplyInfo", ""},
    {"HeartbeatTime", "60"},            {"ListenPort", "5000"},
    {"PrefixCombo", "0"},               {"PrefixDataEdit", ""},
    {"ActivateMethod", "AUTO"},         {"ActivationPhoneNO.", "13900000000"},
    {"SMSActivationNO.", "13900000000"},{"ActivationInterface", "1"},
    {"DataFormat", "0"},                {"On-line data", "DTUON"},
    {"Offline data", "DTUOFF"},         {"IO activation methods", "0"},
    {"I/O selection", ""},              {"I/O1 Mode", "0"},
    {"I/O2 Mode", "0"},                 {"I/O1 control", "0"},
    {"I/O2 control", "0"},              {"I/O3 control", "0"},
    {"Sms Daemon Password", "1234"},    {"ALARM Inact Time", "10"},
    {"ALARM Act Time", "10"},           {"Debug Level", "1"},
    {"Debugging  port", "1"},
    // Server page.
    {"ThePPPauthentication", "1"},
    {"Server's Ip", "192.168.1.10"},           {"Server's Port", "5001"},
    {"Secondary Server's Ip", "192.168.1.11"}, {"Secondary Server's Port", "5002"},
    {"Server2's Ip", "192.168.1.21"},          {"Server2's Port", "5021"},
    {"Server3's Ip", "192.168.1.22"},          {"Server3's Port", "5022"},
    {"Server4's Ip", "192.168.1.23"},          {"Server4's Port", "5023"},
    {"Server5's Ip", "192.168.1.24"},          {"Server5's Port", "5024"},
    {"Wait Time Between Dial Failures", "30"}, {"Link Fail Retry Times", "3"},
    {"Should Return To Main Server", "1"},
    // Serial page.
    {"Serial Baudrate", "115200"},             {"Serial port commu mode", "8N1"},
    {"A serial port binding center", "1"},     {"Serial 2 Baudrate", "115200"},
    {"Serial 2 port commu mode", "8N1"},       {"A serial 2 port binding center", "1"},
    // I/O page: the Modbus address and the rows of every DIO channel.
    {"Mobus address", "1"},
    {"DIO# workmode", "0"},                    {"DIO# SMS number", "13900000000"},
    {"DIO# high level information", "HIGH#"}, {"DIO# low level information", "LOW#"},
    {"DIO# upper threshold", "3000"},          {"DIO# lower threshold", "1000"},
    {"DIO# and mapping center", "0"},          {"DIO# reported methods", "0"},
    {"DIO# query command", "QUERY#"},          {"DIO# reported times", "1"},
    {"The DIO# data format", "0"},             {"DIO# protocol", "0"},
    {"DIO# interface", "SERIAL1"},             {"DIO# output control result", "DONE#"},
    // Wireless page.
    {"Center call number", "*99***1#"},        {"Access Point Name", "cmnet"},
    {"User Id", "card"},                       {"Password", "card"},
    {"The PPP authentication", "PAP"},           {"net mode", "0"},
    {"PPP Wait Time Between Dial Failures", "30"}, {"PPP Link Fail Retry Times", "3"},
    {"Dns Server's Ip", "114.114.114.114"},    {"Second Dns Server's Ip", "8.8.8.8"},
    // Global page.
    {"LCP ECHO", "1"},                         {"Lcp echo interval", "30"},
    {"Lcp echo testing number", "3"},          {"EXFUN", "0"},
    {"ICMP Ip", "114.114.114.114"},            {"ICMP interval", "60"},
    {"ICMP testing number", "3"},              {"Sms Center", "+8613800000000"},
    {"Send group package waiting for", "100"}, {"Max Tcp Frame Len", "1024"},
    {"Resend wating", "5"},                    {"Maximum retransmission times", "3"},
    {"After a failed action", "0"},            {"Waiting for the failure", "60"},
    {"NBBand", "8"},                           {"NBNetModeCombo", "0"},
    {"NBNetBANDCombo", "0"},
    // LoRa page ("Device Type" comes from the profile).
    {"LORA ID", "0001"},       {"LORA Rate", "1"},      {"LORA Mode", "TRANS"},
    {"LORA TAddr", "0002"},    {"LORA Power", "20"},    {"LORA freq", "470"},
    // ZigBee page.
    {"ZigBee_WorkMode", "0"},  {"ZigBee_RFchannel", "11"}, {"ZigBee_NetworkID", "1234"},
    {"ZigBee_TransAddr", "0000"}, {"ZigBee_Type", "0"},
    // GPS page.
    {"GPS Server's Ip", "192.168.1.30"}, {"GPS Server's Port", "5030"},
    {"GPS work mode", "0"},              {"GPS euipment ID", "1"},
    {"GPS transmit interval", "10"},     {"GPS transmit channel", "0"},
    {"GPS GPRMC", "1"}, {"GPS GPVTG", "0"}, {"GPS GPGGA", "1"},
    {"GPS GPGSA", "0"}, {"GPS GPGSV", "0"}, {"GPS GPGNS", "0"},
    // Operation page.
    {"dtu is connect to dtu manage platform", "0"}, {"Dtu manage id", "1"},
    {"Dtumanagetransferprotocol", "TCP"},           {"dtu manage server's Ip", "192.168.1.40"},
    {"dtu manage server's Port", "5040"},           {"DTU SMS configure fun", "0"},
    {"DTU SMS configure password", "1234"},         {"DTU SMS administrator number", "13900000000"},
};
// clang-format on

std::optional<std::string_view> FixedValue(std::string_view name) {
    for (const NamedValue& row : kFixedValues) {
        if (row.name == name) return row.value;
    }
    return std::nullopt;
}

// "DIO3 protocol" → ("DIO# protocol", '3'): the first digit 1-5 after "DIO" becomes '#'.
std::optional<std::pair<std::string, char>> AsChannelTemplate(std::string_view name) {
    const std::size_t dio = name.find("DIO");
    if (dio == std::string_view::npos || dio + 3 >= name.size()) return std::nullopt;
    const char digit = name[dio + 3];
    if (digit < '1' || digit > '5') return std::nullopt;
    std::string pattern(name);
    pattern[dio + 3] = '#';
    return std::make_pair(pattern, digit);
}

}  // namespace

std::optional<std::string> DefaultValue(const Profile& profile, std::string_view name) {
    if (name == "Device Type") return profile.deviceType;
    if (const auto fixed = FixedValue(name)) return std::string(*fixed);
    const auto channel = AsChannelTemplate(name);
    if (!channel) return std::nullopt;
    const auto pattern = FixedValue(channel->first);
    if (!pattern) return std::nullopt;
    std::string value(*pattern);
    std::replace(value.begin(), value.end(), '#', channel->second);
    return value;
}

std::vector<std::string> ApplyDefaults(const Profile& profile, model::ParamCatalogue& catalogue) {
    std::vector<std::string> missing;
    for (auto& [name, row] : catalogue) {
        const auto value = DefaultValue(profile, name);
        row.value = value.value_or(std::string());
        if (!value) missing.push_back(name);
    }
    return missing;
}

}  // namespace sim
