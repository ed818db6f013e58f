#include "link/button_state.h"

#include <array>

namespace devlink {

namespace {

// In the order they are switched.
constexpr std::array<std::string_view, 12> kOperationButtons = {
    "Save",   "Load",        "RestoreFactory", "LoadFromFile", "SaveToFile", "SetTime",
    "GetVer", "READFILELOG", "CPIN",           "CSQ",          "quit",       "Review"};
constexpr std::array<std::string_view, 3> kPortControls = {"Checkcode", "BaudRate1", "SerialPort"};

void SetAll(ui::PaintManager& pm, const auto& names, bool enable) {
    for (std::string_view name : names) SetControlEnabled(pm, name, enable);
}

}  // namespace

void SetControlEnabled(ui::PaintManager& pm, std::string_view name, bool enable) {
    if (ui::Control* control = pm.FindControl(name)) control->SetEnabled(enable);
}

void EnableOperations(ui::PaintManager& pm, bool enable) {
    SetAll(pm, kOperationButtons, enable);
}

void ShowPortOpen(ui::PaintManager& pm, bool open) {
    SetControlEnabled(pm, "Login", open);
    SetAll(pm, kPortControls, !open);
}

void ShowLogin(ui::PaintManager& pm, const platform::LanguageTexts& texts, bool loggedIn) {
    EnableOperations(pm, loggedIn);
    SetControlEnabled(pm, "Login", !loggedIn);
    if (ui::Control* state = pm.FindControl("DeviceState")) {
        state->SetText(texts.LoadText("SetDeviceState", loggedIn ? "szLoginOn" : "szLoginOff"));
    }
    if (ui::Control* help = pm.FindControl("helpGroupBox"); help && loggedIn) {
        help->SetVisible(false);
    }
}

}  // namespace devlink
