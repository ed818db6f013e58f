#include "link/button_state.h"

#include <array>

namespace devlink {

namespace {

// In the order they are switched.
constexpr std::array<std::string_view, 12> kOperationButtons = {
    "Save",   "Load",        "RestoreFactory", "LoadFromFile", "SaveToFile", "SetTime",
    "GetVer", "READFILELOG", "CPIN",           "CSQ",          "quit",       "Review"};
constexpr std::array<std::string_view, 3> kPortControls = {"Checkcode", "BaudRate1", "SerialPort"};

/// Where a control keeps the tooltip of its layout while a disabled one says why it is.
constexpr std::string_view kOwnTip = "owntip";

void SetAll(ui::PaintManager& pm, const auto& names, bool enable, const std::string& whyNot) {
    for (std::string_view name : names) SetControlEnabled(pm, name, enable, whyNot);
}

std::string Why(const platform::LanguageTexts& texts, std::string_view key) {
    return texts.LoadText("SetDeviceState", key);
}

}  // namespace

void SetControlEnabled(ui::PaintManager& pm, std::string_view name, bool enable,
                       const std::string& whyNot) {
    ui::Control* control = pm.FindControl(name);
    if (!control) return;
    control->SetEnabled(enable);
    if (control->GetAttribute(kOwnTip).empty()) {
        const std::string own = control->GetAttribute("tooltip");
        if (own.empty()) return;  // a control without a tooltip gets none
        control->SetAttribute(kOwnTip, own);
    }
    const std::string own = control->GetAttribute(kOwnTip);
    control->SetAttribute("tooltip", enable || whyNot.empty() ? own : own + "\n" + whyNot);
}

void EnableOperations(ui::PaintManager& pm, const platform::LanguageTexts& texts, bool enable,
                      bool busy) {
    SetAll(pm, kOperationButtons, enable, Why(texts, busy ? "WhyBusy" : "WhyLogin"));
}

void ShowPortOpen(ui::PaintManager& pm, const platform::LanguageTexts& texts, bool open) {
    SetControlEnabled(pm, "Login", open, Why(texts, "WhyPort"));
    SetAll(pm, kPortControls, !open, Why(texts, "WhyClose"));
}

void ShowLogin(ui::PaintManager& pm, const platform::LanguageTexts& texts, bool loggedIn,
               bool portOpen) {
    EnableOperations(pm, texts, loggedIn);
    SetControlEnabled(pm, "Login", !loggedIn, Why(texts, "WhyLoggedIn"));
    ShowDeviceState(pm, texts, loggedIn, portOpen);
    if (ui::Control* help = pm.FindControl("helpGroupBox"); help && loggedIn) {
        help->SetVisible(false);
    }
}

void ShowDeviceState(ui::PaintManager& pm, const platform::LanguageTexts& texts, bool loggedIn,
                     bool portOpen) {
    if (ui::Control* state = pm.FindControl("DeviceState")) {
        const char* key = loggedIn ? "szLoginOn" : portOpen ? "szLoginOff" : "szPortClosed";
        state->SetText(texts.LoadText("SetDeviceState", key));
    }
}

}  // namespace devlink
