// The main window's messages, all of them: the numbers are fixed. Other threads, and deferred
// work of the user-interface thread, reach the window only through these.
#pragma once

#include <cstdint>

#include "ui/window.h"

namespace devlink {

using ui::WM_USER;

// From the serial port's event thread (posted).
constexpr std::uint32_t UM_SERIAL_DATA = WM_USER + 10;  // 1034: a chunk; wParam the generation
constexpr std::uint32_t UM_PORT_LOST = WM_USER + 11;    // 1035: the device went away

// The form and the window's own deferred work.
constexpr std::uint32_t UM_ADAPT_FORM = WM_USER + 1100;       // 2124: case, channel
constexpr std::uint32_t UM_LOG_TEXT = WM_USER + 1101;         // 2125: text for the log view
constexpr std::uint32_t UM_PARSE_REPORT = WM_USER + 1102;     // 2126: the report was read
constexpr std::uint32_t UM_SAVE_FILE = WM_USER + 1104;        // 2128
constexpr std::uint32_t UM_LOAD_FILE = WM_USER + 1105;        // 2129
constexpr std::uint32_t UM_REFRESH_TITLE = WM_USER + 1106;    // 2130
constexpr std::uint32_t UM_BUTTON_STATE = WM_USER + 1107;     // 2131: enable, group
constexpr std::uint32_t UM_SWITCH_LANGUAGE = WM_USER + 1108;  // 2132

// The worker hands the steps of a job to the user-interface thread (sent).
constexpr std::uint32_t UM_JOB_START = WM_USER + 1120;    // wParam the job
constexpr std::uint32_t UM_JOB_FINISH = WM_USER + 1121;   // wParam the job, lParam answered
constexpr std::uint32_t UM_WORKER_IDLE = WM_USER + 1123;  // the queue has become empty

// From the thread that watches the serial devices (posted).
constexpr std::uint32_t UM_PORTS_CHANGED = WM_USER + 1130;  // 2154

// The window's timers.
constexpr int kHandshakeTimer = 101;  // every 100 ms: the handshake byte
constexpr int kHandshakePeriodMs = 100;
constexpr int kTitleTimer = 102;  // once, 100 ms after start: the title and help
constexpr int kTitlePeriodMs = 100;

}  // namespace devlink
