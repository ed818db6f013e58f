// The main window's messages. The numbers are fixed: other threads and deferred work of the
// user-interface thread reach the window only through these.
#pragma once

#include <cstdint>

#include "link/messages.h"
#include "ui/window.h"

namespace app {

using ui::WM_USER;

using devlink::UM_BUTTON_STATE;
using devlink::UM_PARSE_REPORT;
using devlink::UM_PORT_LOST;
using devlink::UM_SERIAL_DATA;
constexpr std::uint32_t UM_ADAPT_FORM = WM_USER + 1100;       // 2124, case, channel
constexpr std::uint32_t UM_LOG_TEXT = WM_USER + 1101;         // 2125, text to the log view
constexpr std::uint32_t UM_SAVE_FILE = WM_USER + 1104;        // 2128
constexpr std::uint32_t UM_LOAD_FILE = WM_USER + 1105;        // 2129
constexpr std::uint32_t UM_REFRESH_TITLE = WM_USER + 1106;    // 2130
constexpr std::uint32_t UM_SWITCH_LANGUAGE = WM_USER + 1108;  // 2132

constexpr int kTitleTimer = 102;
constexpr int kTimerPeriodMs = 100;

}  // namespace app
