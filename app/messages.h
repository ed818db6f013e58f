// The main window's messages. The numbers are fixed: other threads and deferred work of the
// user-interface thread reach the window only through these.
#pragma once

#include <cstdint>

#include "ui/window.h"

namespace app {

using ui::WM_USER;

constexpr std::uint32_t UM_SERIAL_DATA = WM_USER + 10;        // 1034, a received chunk
constexpr std::uint32_t UM_PORT_LOST = WM_USER + 11;          // 1035, the port vanished
constexpr std::uint32_t UM_ADAPT_FORM = WM_USER + 1100;       // 2124, case, channel
constexpr std::uint32_t UM_LOG_TEXT = WM_USER + 1101;         // 2125, text to the log view
constexpr std::uint32_t UM_PARSE_REPORT = WM_USER + 1102;     // 2126
constexpr std::uint32_t UM_SAVE_FILE = WM_USER + 1104;        // 2128
constexpr std::uint32_t UM_LOAD_FILE = WM_USER + 1105;        // 2129
constexpr std::uint32_t UM_REFRESH_TITLE = WM_USER + 1106;    // 2130
constexpr std::uint32_t UM_BUTTON_STATE = WM_USER + 1107;     // 2131, enable, group
constexpr std::uint32_t UM_SWITCH_LANGUAGE = WM_USER + 1108;  // 2132
// The worker hands its job steps to the user-interface thread with these (sent).
constexpr std::uint32_t UM_JOB_START = WM_USER + 1120;
constexpr std::uint32_t UM_JOB_FINISH = WM_USER + 1121;
constexpr std::uint32_t UM_JOB_TIMEOUT = WM_USER + 1122;
constexpr std::uint32_t UM_WORKER_IDLE = WM_USER + 1123;
constexpr std::uint32_t UM_SHOW_ERROR = WM_USER + 1124;  // an error box asked by another thread

constexpr int kHandshakeTimer = 101;
constexpr int kTitleTimer = 102;
constexpr int kTimerPeriodMs = 100;

}  // namespace app
