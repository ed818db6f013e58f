// A window with a message queue: messages posted from any thread are handled in order on
// the thread that runs the loop (the user-interface thread); a send from that thread is a
// direct call, a send from another thread waits for the handler's result. Window timers run
// on the same thread. The loop itself lives elsewhere (HeadlessLoop, or the Qt front end).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "ui/clock.h"

namespace ui {

constexpr std::uint32_t WM_USER = 0x0400;
constexpr std::uint32_t WM_CLOSE = 16;
constexpr std::uint32_t WM_SYSCOMMAND = 274;
constexpr std::uintptr_t SC_CLOSE = 0xF060;
constexpr std::uintptr_t SC_MINIMIZE = 0xF020;
constexpr std::uintptr_t SC_MAXIMIZE = 0xF030;
constexpr std::uintptr_t SC_RESTORE = 0xF120;

struct Message {
    std::uint32_t id = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    /// Bytes that travel with a posted message (a log text, a received chunk); owned by it.
    std::string payload;
};

class Window {
  public:
    explicit Window(Clock& clock);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    /// Handles one message on the user-interface thread. `handled` starts true.
    virtual std::intptr_t HandleMessage(const Message& msg, bool& handled) = 0;
    /// Runs for every tick of a window timer.
    virtual void OnTimer(int /*id*/) {}

    // Any thread.
    void PostMessage(std::uint32_t id, std::uintptr_t wParam = 0, std::intptr_t lParam = 0,
                     std::string payload = {});
    /// Direct on the user-interface thread; from another thread, waits for the result.
    /// Returns 0 at once when the loop has ended, and releases a waiting sender when it ends.
    std::intptr_t SendMessage(std::uint32_t id, std::uintptr_t wParam = 0,
                              std::intptr_t lParam = 0);
    void PostQuitMessage(int exitCode);

    // User-interface thread.
    void SetTimer(int id, Millis periodMs);
    void KillTimer(int id);
    bool HasTimer(int id) const;
    Clock& GetClock() const { return clock_; }
    bool IsUiThread() const { return std::this_thread::get_id() == uiThread_; }

    // The loop's side.
    /// Makes the calling thread the user-interface thread.
    void BindToCurrentThread() { uiThread_ = std::this_thread::get_id(); }
    /// Handles one waiting send (first) or posted message; false when there was none.
    bool DispatchOne();
    /// Runs the timers that are due on the clock; true when one ran.
    bool FireDueTimers();
    std::optional<Millis> NextTimerDue() const;
    bool QuitRequested() const;
    int ExitCode() const;
    /// Waits in real time until something is queued or `realMs` pass.
    void WaitForWork(Millis realMs);
    /// Called from any thread whenever a message is queued (the Qt loop wakes itself here).
    /// Once this returns, the handler it replaced is not running and never runs again.
    void SetWakeHandler(std::function<void()> wake);
    /// Ends the loop for good: pending and later sends from other threads return 0.
    void EndLoop();
    bool LoopEnded() const;

  private:
    struct PendingSend;
    void Wake();

    Clock& clock_;
    std::atomic<std::thread::id> uiThread_;
    mutable std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<Message> posted_;
    std::deque<std::shared_ptr<PendingSend>> sends_;
    std::mutex wakeMutex_;  // held while the wake handler runs or is replaced
    std::function<void()> wake_;
    bool quit_ = false;
    int exitCode_ = 0;
    bool ended_ = false;

    struct Timer {
        Millis period;
        Millis due;
    };
    std::map<int, Timer> timers_;
};

}  // namespace ui
