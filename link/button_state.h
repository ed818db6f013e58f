// Which controls can be used: the operation buttons, "Login" and the port controls follow
// the state of the port, the login and the worker, one group at a time.
#pragma once

#include <string>
#include <string_view>

#include "platform/language_texts.h"
#include "ui/paint_manager.h"

namespace devlink {

/// The groups of UM_BUTTON_STATE.
enum ButtonGroup {
    kLoginGroup = 0,       // the login: operation buttons follow, "Login" opposite, device state
    kConnectionGroup = 1,  // the login and the port: as the login, then the port group
    kOperationGroup = 2,   // operation buttons follow
    kPortGroup = 3,        // the port: "Login" follows, port controls opposite
};

/// Enables or disables the operation buttons; disabled ones say why in their tooltip: the
/// unit is busy with a job (`busy`), or the port is closed or not logged in.
void EnableOperations(ui::PaintManager& pm, const platform::LanguageTexts& texts, bool enable,
                      bool busy = false);

/// The port opened (`open`: "Login" usable, the port controls not) or closed.
void ShowPortOpen(ui::PaintManager& pm, const platform::LanguageTexts& texts, bool open);

/// The login: the operation buttons follow, "Login" the opposite, the "DeviceState" text says
/// it; logging in hides "helpGroupBox".
void ShowLogin(ui::PaintManager& pm, const platform::LanguageTexts& texts, bool loggedIn,
               bool portOpen);

/// The "DeviceState" text: logged in, logged out with the port open, or the port closed.
void ShowDeviceState(ui::PaintManager& pm, const platform::LanguageTexts& texts, bool loggedIn,
                     bool portOpen);

/// Enables or disables the named control; a missing control is skipped. A disabled control
/// with a tooltip adds `whyNot` to it; enabled, it shows its own tooltip again.
void SetControlEnabled(ui::PaintManager& pm, std::string_view name, bool enable,
                       const std::string& whyNot = {});

}  // namespace devlink
