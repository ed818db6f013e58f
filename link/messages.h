// The window messages the link sends, posts and handles. The numbers are fixed.
#pragma once

#include <cstdint>

#include "link/serial_port.h"
#include "ui/window.h"

namespace devlink {

constexpr std::uint32_t UM_SERIAL_DATA = UM_SERIAL_CHUNK;      // 1034, a received chunk
constexpr std::uint32_t UM_PORT_LOST = UM_SERIAL_LOST;         // 1035, the device went away
constexpr std::uint32_t UM_PARSE_REPORT = ui::WM_USER + 1102;  // 2126
constexpr std::uint32_t UM_BUTTON_STATE = ui::WM_USER + 1107;  // 2131, enable, group
// The worker hands its job steps to the user-interface thread with these (sent).
constexpr std::uint32_t UM_JOB_START = ui::WM_USER + 1120;
constexpr std::uint32_t UM_JOB_FINISH = ui::WM_USER + 1121;
constexpr std::uint32_t UM_WORKER_IDLE = ui::WM_USER + 1123;
constexpr std::uint32_t UM_PORT_ERROR = UM_SERIAL_ERROR;        // an error box asked by the port
constexpr std::uint32_t UM_PORTS_CHANGED = ui::WM_USER + 1130;  // 2154, serial devices came or went

constexpr int kHandshakeTimer = 101;
constexpr int kHandshakePeriodMs = 100;

}  // namespace devlink
