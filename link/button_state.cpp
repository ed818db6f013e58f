#include "link/button_state.h"

#include <array>

namespace devlink {

namespace {

// In the order the groups switch them.
constexpr std::array<std::string_view, 11> kOperationButtons = {
    "Save",   "Load",        "RestoreFactory", "LoadFromFile", "SaveToFile", "SetTime",
    "GetVer", "READFILELOG", "CPIN",           "CSQ",          "quit"};
constexpr std::array<std::string_view, 3> kPortControls = {"Checkcode", "BaudRate1", "SerialPort"};

void SetAll(ui::PaintManager& pm, const auto& names, bool enable) {
    for (std::string_view name : names) SetControlEnabled(pm, name, enable);
}

}  // namespace

void SetControlEnabled(ui::PaintManager& pm, std::string_view name, bool enable) {
    if (ui::Control* control = pm.FindControl(name)) control->SetEnabled(enable);
}

void SetDeviceState(ui::PaintManager& pm, const platform::LanguageTexts& texts, bool loggedIn,
                    bool& loggedInFlag) {
    loggedInFlag = loggedIn;
    if (ui::Control* state = pm.FindControl("DeviceState")) {
        state->SetText(texts.LoadText("SetDeviceState", loggedIn ? "szLoginOn" : "szLoginOff"));
    }
    if (ui::Control* help = pm.FindControl("helpGroupBox"); help && loggedIn) {
        help->SetVisible(false);
    }
}

int SetButtonState(ui::PaintManager& pm, const platform::LanguageTexts& texts, bool enable,
                   int group, bool& loggedIn) {
    switch (group) {
        case kLoginGroup:
            SetAll(pm, kOperationButtons, enable);
            SetControlEnabled(pm, "Login", !enable);
            SetDeviceState(pm, texts, enable, loggedIn);
            break;
        case kConnectionGroup:
            SetAll(pm, kOperationButtons, enable);
            SetControlEnabled(pm, "Login", enable);
            SetAll(pm, kPortControls, !enable);
            SetDeviceState(pm, texts, enable, loggedIn);
            break;
        case kOperationGroup:
            SetAll(pm, kOperationButtons, enable);
            break;
        case kPortGroup:
            SetControlEnabled(pm, "Login", enable);
            SetAll(pm, kPortControls, !enable);
            break;
        default:
            break;
    }
    return 1;
}

}  // namespace devlink
