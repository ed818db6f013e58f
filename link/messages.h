// The main window's messages, all of them: the numbers are fixed. Other threads, and deferred
// work of the user-interface thread, reach the window only through these. Each message with a
// payload has one helper that writes it (Post or Send) and reads it back (From); a message
// without one is posted or sent by its number alone.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "link/button_state.h"
#include "model/adapt_case.h"
#include "model/worker_job.h"
#include "ui/window.h"

namespace devlink {

using ui::WM_USER;  // 1024

// The window system's, handled by the main window.
using ui::WM_CLOSE;       // 16
using ui::WM_SYSCOMMAND;  // 274: wParam SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE or SC_RESTORE

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
constexpr std::uint32_t UM_REVIEW_AGAIN = WM_USER + 1110;     // 2134: the review after reverts
constexpr std::uint32_t UM_ASK_FACTORY = WM_USER + 1111;      // 2135: the reset, a file saved

// The worker hands the steps of a job to the user-interface thread (sent).
constexpr std::uint32_t UM_JOB_START = WM_USER + 1120;    // 2144: the job
constexpr std::uint32_t UM_JOB_FINISH = WM_USER + 1121;   // 2145: the job, answered
constexpr std::uint32_t UM_WORKER_IDLE = WM_USER + 1123;  // 2147: the queue has become empty

// From the thread that watches the serial devices (posted).
constexpr std::uint32_t UM_PORTS_CHANGED = WM_USER + 1130;  // 2154

// The window's timers.
constexpr int kHandshakeTimer = 101;  // every 100 ms: the handshake byte
constexpr int kHandshakePeriodMs = 100;
constexpr int kTitleTimer = 102;  // once, 100 ms after start: the title and help
constexpr int kTitlePeriodMs = 100;
constexpr int kMarksTimer = 103;  // once, 1 ms after a change: the changed marks, coalesced
constexpr int kMarksDelayMs = 1;
constexpr int kNoAnswerTimer = 104;   // once, the login's time limit after a login or an open
constexpr int kReconnectTimer = 105;  // while a lost port or a restarted unit is waited for
constexpr int kReconnectPeriodMs = 250;

/// WM_SYSCOMMAND: a window command (SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE).
struct SysCommandMsg {
    static void Post(ui::Window& w, std::uintptr_t command) {
        w.PostMessage(WM_SYSCOMMAND, command);
    }
    static std::uintptr_t From(const ui::Message& m) { return m.wParam; }
};

/// UM_SERIAL_DATA: the bytes read from the port of one generation (one opening).
struct SerialDataMsg {
    std::uint64_t generation;
    std::string_view bytes;
    static void Post(ui::Window& w, std::uint64_t generation, std::string bytes) {
        const auto size = static_cast<std::intptr_t>(bytes.size());
        w.PostMessage(UM_SERIAL_DATA, generation, size, std::move(bytes));
    }
    static SerialDataMsg From(const ui::Message& m) { return {m.wParam, m.payload}; }
};

/// UM_PORT_LOST: the generation of the port that went away.
struct PortLostMsg {
    static void Post(ui::Window& w, std::uint64_t generation) {
        w.PostMessage(UM_PORT_LOST, generation);
    }
    static std::uint64_t From(const ui::Message& m) { return m.wParam; }
};

/// UM_ADAPT_FORM: a form adaptation case and its parameter.
struct AdaptFormMsg {
    model::AdaptCase adaptCase;
    int param;
    static void Post(ui::Window& w, model::AdaptCase adaptCase, int param) {
        w.PostMessage(UM_ADAPT_FORM, static_cast<std::uintptr_t>(adaptCase), param);
    }
    static AdaptFormMsg From(const ui::Message& m) {
        return {static_cast<model::AdaptCase>(m.wParam), static_cast<int>(m.lParam)};
    }
};

/// UM_LOG_TEXT: a text for the log view, from any thread.
struct LogTextMsg {
    static void Post(ui::Window& w, std::string_view text) {
        w.PostMessage(UM_LOG_TEXT, 0, static_cast<std::intptr_t>(text.size()), std::string(text));
    }
    static const std::string& From(const ui::Message& m) { return m.payload; }
};

/// UM_BUTTON_STATE: a group of controls enabled or disabled.
struct ButtonStateMsg {
    bool enable;
    ButtonGroup group;
    static void Post(ui::Window& w, bool enable, ButtonGroup group) {
        w.PostMessage(UM_BUTTON_STATE, enable ? 1 : 0, group);
    }
    static std::intptr_t Send(ui::Window& w, bool enable, ButtonGroup group) {
        return w.SendMessage(UM_BUTTON_STATE, enable ? 1 : 0, group);
    }
    static ButtonStateMsg From(const ui::Message& m) {
        return {m.wParam == 1, static_cast<ButtonGroup>(m.lParam)};
    }
};

/// UM_JOB_START: the job the worker starts; the answer is the time-out factor, 0 once the
/// window has begun to close. The job lives on the sender's stack for the send.
struct JobStartMsg {
    static std::intptr_t Send(ui::Window& w, const model::WorkerJob& job) {
        return w.SendMessage(UM_JOB_START, reinterpret_cast<std::uintptr_t>(&job));
    }
    static const model::WorkerJob& From(const ui::Message& m) {
        return *reinterpret_cast<const model::WorkerJob*>(m.wParam);
    }
};

/// UM_JOB_FINISH: the job the worker ended, and whether its reply came in time.
struct JobFinishMsg {
    const model::WorkerJob& job;
    bool answered;
    static void Send(ui::Window& w, const model::WorkerJob& job, bool answered) {
        w.SendMessage(UM_JOB_FINISH, reinterpret_cast<std::uintptr_t>(&job), answered ? 1 : 0);
    }
    static JobFinishMsg From(const ui::Message& m) { return {JobStartMsg::From(m), m.lParam != 0}; }
};

}  // namespace devlink
