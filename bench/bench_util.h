// What the measurements of dtubench share: a message loop that times every piece of work it
// does on the user-interface thread, a live session (a paced simulated unit and the real main
// window talking to it over the pseudo-terminal), and the table of figures.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/test_frame.h"
#include "sim/simulated_unit.h"
#include "ui/window.h"

namespace bench {

using SteadyClock = std::chrono::steady_clock;
using Duration = std::chrono::duration<double, std::milli>;

/// Milliseconds between two points of the steady clock.
inline double Ms(SteadyClock::time_point from, SteadyClock::time_point to) {
    return Duration(to - from).count();
}

/// Drives a window as HeadlessLoop does on the real clock, but times every DispatchOne and
/// FireDueTimers call that did work, and looks at the caller's condition after each of them,
/// so the moment a condition starts to hold is known to the piece of work that made it hold.
class TimedLoop {
  public:
    explicit TimedLoop(ui::Window& window);

    /// Runs until `pred()` holds or `timeoutMs` of real time pass; returns `pred()`.
    bool RunUntil(const std::function<bool()>& pred, double timeoutMs);
    /// Runs `work` on this thread as one timed piece (a click, for instance).
    void Timed(const std::function<void()>& work);
    /// Handles every message already posted (the form's adaptation after a fill, for one).
    void Settle();

    /// When the condition of the last successful RunUntil was first seen to hold.
    SteadyClock::time_point SatisfiedAt() const { return satisfiedAt_; }
    /// How long the piece of work that made that condition hold took, in ms.
    double SatisfyingWorkMs() const { return satisfyingMs_; }
    /// The longest single piece of work since the last ResetLongest, in ms.
    double LongestMs() const { return longestMs_; }
    /// How many pieces of work were timed since the last ResetLongest.
    long Pieces() const { return pieces_; }
    void ResetLongest() {
        longestMs_ = 0;
        pieces_ = 0;
    }

  private:
    bool TimedCall(const std::function<bool()>& work);
    bool RunReady(const std::function<bool()>& pred);
    void WaitForWork(SteadyClock::time_point deadline);

    ui::Window& window_;
    SteadyClock::time_point satisfiedAt_{};
    double satisfyingMs_ = 0;
    double lastMs_ = 0;
    double longestMs_ = 0;
    long pieces_ = 0;
};

/// A simulated unit of the "base" profile that paces its output to the line speed, and the
/// main window built from the English skin on the real clock, listing the unit first.
/// Members are declared so that the loop goes first and the unit last.
class LiveSession {
  public:
    LiveSession() = default;
    ~LiveSession();
    LiveSession(const LiveSession&) = delete;
    LiveSession& operator=(const LiveSession&) = delete;

    /// Starts both, selects `baud` in "BaudRate1", clicks "Open" and waits until the unit is
    /// logged in and the operation buttons are back. False, with the reason in `error`, on any
    /// failure.
    bool Start(long baud);
    /// Clicks the button `name` as one timed piece of work; false when it is missing or
    /// disabled.
    bool Click(std::string_view name);
    /// Waits until the worker is idle again: "Load" enabled and no job queued.
    bool WaitIdle(double timeoutMs = 30000);
    /// The catalogue value of the row `name` ("" when there is none).
    std::string Value(std::string_view name) const;

    app::CK4X30FrameWnd& Frame() const { return *t->frame; }
    TimedLoop& Loop() const { return *loop; }

    std::string error;

  private:
    bool SelectBaud(long baud);

    std::unique_ptr<sim::SimulatedUnit> unit;
    std::unique_ptr<app::testing::TestFrame> t;
    std::unique_ptr<TimedLoop> loop;
};

/// One measured figure and the bound it is held to (measured ≤ bound).
struct Figure {
    std::string name;
    double measured = 0;
    double bound = 0;
    std::string unit;    // "ms", "µs"
    std::string detail;  // how it was obtained, what it is made of
    bool Met() const { return measured <= bound; }
};

/// The figures of the run, printed as they are added.
class Report {
  public:
    void Add(Figure figure);
    /// A figure without a bound, printed for information.
    void Info(std::string_view name, double value, std::string_view unit,
              std::string_view detail = {});
    /// A measurement that could not be made.
    void Fail(std::string_view name, std::string_view why);
    bool AllMet() const { return missed_ == 0; }
    bool AnyFailed() const { return failed_ != 0; }
    int Missed() const { return missed_; }

  private:
    int missed_ = 0;
    int failed_ = 0;
};

/// The median of `values` (0 when empty).
double Median(std::vector<double> values);
/// The largest of `values` (0 when empty).
double Worst(const std::vector<double>& values);
/// `value` with `digits` decimals.
std::string Fixed(double value, int digits = 1);

}  // namespace bench
