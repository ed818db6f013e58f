// Which controls can be used: the operation buttons, "Login" and the port controls follow
// the state of the port, the login and the worker, one group at a time.
#pragma once

#include <string_view>

#include "platform/language_texts.h"
#include "ui/paint_manager.h"

namespace devlink {

/// The groups of UM_BUTTON_STATE's lParam.
enum ButtonGroup {
    kLoginGroup = 0,       // operation buttons follow, "Login" opposite, device state
    kConnectionGroup = 1,  // operation buttons and "Login" follow, port controls opposite
    kOperationGroup = 2,   // operation buttons follow
    kPortGroup = 3,        // "Login" follows, port controls opposite
};

/// Enables (`enable`) or disables a group of controls; groups 0 and 1 also show the device
/// state. `loggedIn` receives the new login state where the group sets it. Returns 1.
int SetButtonState(ui::PaintManager& pm, const platform::LanguageTexts& texts, bool enable,
                   int group, bool& loggedIn);

/// Sets the login flag and the "DeviceState" text; logging in hides "helpGroupBox".
void SetDeviceState(ui::PaintManager& pm, const platform::LanguageTexts& texts, bool loggedIn,
                    bool& loggedInFlag);

/// Enables or disables the named control; a missing control is skipped.
void SetControlEnabled(ui::PaintManager& pm, std::string_view name, bool enable);

}  // namespace devlink
