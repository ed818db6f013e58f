#include "form/layout_rules.h"

#include <string>
#include <vector>

namespace form {

namespace {

/// What a layout does besides following its rows.
enum class Extra {
    None,
    PostIoSelectionFirst,  // shown: the I/O selection case before the rows follow
    ServiceGroup,   // the server rows: shown posts the server count; hidden clears the others
    ActivateGroup,  // the activation rows: shown posts the activation; hidden clears them
    DioGroup,       // a DIO channel: shown posts its case; hidden clears its rows
};

struct LayoutRule {
    LayoutRule(std::string layoutName, std::vector<std::string> rowNames, Extra what = Extra::None,
               model::AdaptCase postedCase = {}, std::vector<std::string> clearedRows = {})
        : layout(std::move(layoutName)),
          rows(std::move(rowNames)),
          extra(what),
          adaptCase(postedCase),
          hiddenRows(std::move(clearedRows)) {}

    std::string layout;
    std::vector<std::string> rows;
    Extra extra;
    model::AdaptCase adaptCase;           // posted when a group is shown
    std::vector<std::string> hiddenRows;  // cleared when the group is hidden
};

std::vector<std::string> ChannelRows(const std::string& n, bool withWorkMode) {
    std::vector<std::string> rows = {"DIO" + n + " protocol",
                                     "DIO" + n + " interface",
                                     "DIO" + n + " SMS number",
                                     "DIO" + n + " reported methods",
                                     "DIO" + n + " reported times",
                                     "DIO" + n + " query command",
                                     "The DIO" + n + " data format",
                                     "DIO" + n + " high level information",
                                     "DIO" + n + " low level information",
                                     "DIO" + n + " and mapping center",
                                     "DIO" + n + " upper threshold",
                                     "DIO" + n + " lower threshold",
                                     "DIO" + n + " output control result"};
    if (withWorkMode) rows.insert(rows.begin(), "DIO" + n + " workmode");
    return rows;
}

void AddChannelRules(std::vector<LayoutRule>& rules) {
    for (int channel = 1; channel <= 5; ++channel) {
        const std::string n = std::to_string(channel);
        const std::string d = "DIO" + n + " ";
        const std::string io = "IOLayout" + n + ".";
        rules.push_back({"IO" + n + "GroupBox",
                         {d + "workmode"},
                         Extra::DioGroup,
                         model::DioPanelCase(channel),
                         ChannelRows(n, false)});
        const std::vector<std::pair<std::string, std::vector<std::string>>> rows = {
            {"1", {d + "protocol"}},
            {"2", {d + "interface"}},
            {"2.1", {d + "SMS number"}},
            {"3", {d + "reported methods"}},
            {"3.1", {d + "reported times"}},
            {"3.2", {d + "query command"}},
            {"4.1", {"The DIO" + n + " data format"}},
            {"4.2", {d + "output control result"}},
            {"5", {d + "high level information", d + "low level information"}},
            {"6", {d + "and mapping center"}},
            {"7", {d + "upper threshold", d + "lower threshold"}},
        };
        for (const auto& [suffix, names] : rows) rules.push_back({io + suffix, names});
    }
}

void AddServerAndPlatformRules(std::vector<LayoutRule>& rules);

/// The layouts of the mode, prefix, activation and debug rows, then the others.
std::vector<LayoutRule> BuildRules() {
    std::vector<LayoutRule> rules = {
        {"DevID_HLayout", {"Modem'sID number"}},
        {"ListenPort_HLayout", {"ListenPort"}},
        {"ModeHorizontalLayout2", {"DeviceModel", "Transferprotocol"}},
        {"ModeHorizontalLayout4", {"RegistrationAndHeart"}},
        {"ModeHorizontalLayout6", {"HeartbeatTime"}},
        {"ModeHorizontalLayout7", {"1RegisterIsHex"}},
        {"ModeHorizontalLayout8",
         {"RegisterInfo", "RegistrationReplyInfo", "HeartbeatPacket", "HeartbeatPacketReplyInfo"}},
        {"HorizontalLayout_Prefix", {"PrefixCombo", "PrefixDataEdit"}},
        {"PrefixCustomData_HLayout", {"PrefixDataEdit"}},
        {"ActivateHorizontalLayout2", {"On-line data", "Offline data"}},
        {"ActivateHorizontalLayout3", {"ActivationInterface", "DataFormat"}},
        {"ActivateHorizontalLayout4", {"IO activation methods"}},
        {"ActivateHorizontalLayout5", {"I/O selection"}, Extra::PostIoSelectionFirst},
        {"ActivateHorizontalLayout6", {"I/O1 control", "I/O2 control"}},
        {"ActivateHorizontalLayout6.1.1", {"I/O3 control"}},
        {"ActivateHorizontalLayout6.1.2", {"Sms Daemon Password"}},
        {"ActivateHorizontalLayout7", {"ActivationPhoneNO."}},
        {"ActivateHorizontalLayout8", {"SMSActivationNO."}},
        {"ActivateHorizontalLayout9", {"I/O1 Mode", "I/O2 Mode"}},
        {"ActivateHorizontalLayout_ALARM", {"ALARM Inact Time", "ALARM Act Time"}},
        {"ActivateGroupBox",
         {"SMSActivationNO."},
         Extra::ActivateGroup,
         model::AdaptCase::kActivation,
         {"ActivationPhoneNO.", "I/O1 control", "I/O2 control", "I/O3 control", "I/O selection",
          "IO activation methods", "RegisterInfo", "RegistrationReplyInfo", "HeartbeatPacket",
          "HeartbeatPacketReplyInfo", "ActivationInterface", "DataFormat", "On-line data",
          "Offline data"}},
        {"DebugHorizontalLayout1", {"Debugging  port"}},
    };
    AddServerAndPlatformRules(rules);
    AddChannelRules(rules);
    return rules;
}

void AddServerAndPlatformRules(std::vector<LayoutRule>& rules) {
    const std::vector<LayoutRule> more = {
        {"ServiceGroupBox",
         {},
         Extra::ServiceGroup,
         model::AdaptCase::kServerCount,
         {"Secondary Server's Ip", "Secondary Server's Port", "Server2's Ip", "Server2's Port",
          "Server3's Ip", "Server3's Port", "Server4's Ip", "Server4's Port", "Server5's Ip",
          "Server5's Port"}},
        {"ServiceHorizontalLayout0", {"Server's Ip", "Server's Port"}},
        {"ServiceHorizontalLayout1", {"Secondary Server's Ip", "Secondary Server's Port"}},
        {"ServiceHorizontalLayout2", {"Server2's Ip", "Server2's Port"}},
        {"ServiceHorizontalLayout3", {"Server3's Ip", "Server3's Port"}},
        {"ServiceHorizontalLayout4", {"Server4's Ip", "Server4's Port"}},
        {"ServiceHorizontalLayout5", {"Server5's Ip", "Server5's Port"}},
        {"GlobalHorizontalLayout1", {"Lcp echo interval", "Lcp echo testing number"}},
        {"GlobalHorizontalLayout2", {"ICMP Ip", "ICMP interval", "ICMP testing number"}},
        {"EquimentLayout1",
         {"Dtu manage id", "dtu manage server's Ip", "Dtumanagetransferprotocol",
          "dtu manage server's Port"}},
        {"EquimentLayout2",
         {"DTU SMS configure password", "DTU SMS administrator number",
          "DTU sms exception reporting"}},
        {"DtumanageGroupBox",
         {"dtu is connect to dtu manage platform", "Dtu manage id", "dtu manage server's Ip",
          "Dtumanagetransferprotocol", "dtu manage server's Port"}},
        {"bindingCenterGroupBox", {"A serial port binding center"}},
        {"bindingCenterGroupBox2", {"A serial 2 port binding center"}},
        {"bindingCenterGroupBox3", {"RS485 port binding center"}},
        {"NetWorkSettingsLayout", {"NBNetModeCombo", "NBNetBANDCombo"}},
    };
    rules.insert(rules.end(), more.begin(), more.end());
}

const LayoutRule* FindRule(std::string_view name) {
    static const std::vector<LayoutRule> rules = BuildRules();
    for (const LayoutRule& rule : rules) {
        if (rule.layout == name) return &rule;
    }
    return nullptr;
}

void SetRows(model::ParamCatalogue& catalogue, const std::vector<std::string>& rows, bool shown) {
    for (const std::string& row : rows) catalogue.SetShown(row, shown);
}

}  // namespace

void SetLayoutVisible(ui::PaintManager& pm, model::ParamCatalogue& catalogue, const PostAdapt& post,
                      std::string_view name, bool visible) {
    ui::Control* control = pm.FindControl(name);
    if (!control) return;
    control->SetVisible(visible);
    const LayoutRule* rule = FindRule(name);
    if (!rule) return;
    switch (rule->extra) {
        case Extra::None:
            return SetRows(catalogue, rule->rows, visible);
        case Extra::PostIoSelectionFirst:
            if (visible) post(model::AdaptCase::kIoSelection, 0);
            return SetRows(catalogue, rule->rows, visible);
        case Extra::ServiceGroup:
            if (visible) {
                post(rule->adaptCase, 0);
                SetRows(catalogue, {"Server's Ip", "Server's Port"}, true);
            } else {
                SetRows(catalogue, rule->hiddenRows, false);
            }
            return;
        case Extra::ActivateGroup:
        case Extra::DioGroup:
            // The first row follows; the others are sorted out by the list's case.
            SetRows(catalogue, rule->rows, visible);
            if (visible) {
                post(rule->adaptCase, 0);
            } else {
                SetRows(catalogue, rule->hiddenRows, false);
            }
            return;
    }
}

}  // namespace form
