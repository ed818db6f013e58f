// The message loop without a screen: used by tests and by the command-line front end.
// With a ManualClock, time moves only inside RunFor/RunUntil, in small steps and never faster
// than real time, so timers fire at their virtual times and other threads get real time to
// react between steps.
#pragma once

#include <functional>

#include "ui/window.h"

namespace ui {

class HeadlessLoop {
  public:
    /// Binds `window` to the calling thread.
    explicit HeadlessLoop(Window& window);

    /// Handles every queued message and every timer already due; no time passes.
    void RunUntilIdle();
    /// Runs for `ms` of the window's clock.
    void RunFor(Millis ms);
    /// Runs until `pred()` holds or `ms` of the window's clock pass; returns `pred()` as it
    /// stood when the run stopped (nothing more is handled after it held).
    bool RunUntil(const std::function<bool()>& pred, Millis ms);
    /// Runs until a quit message; returns its exit code and ends the window's loop.
    int Run();

    /// Virtual step of a ManualClock between two looks at the queue.
    static constexpr Millis kStepMs = 5;

  private:
    void Step(Millis deadline, const std::function<bool()>& pred);

    Window& window_;
};

}  // namespace ui
