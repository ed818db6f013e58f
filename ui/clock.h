// Time for timers and waits. Everything that waits for a duration takes a Clock, so
// tests can drive time by hand instead of sleeping.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace ui {

using Millis = std::int64_t;

class Clock {
  public:
    virtual ~Clock() = default;
    /// Milliseconds since an arbitrary start; never goes back.
    virtual Millis Now() const = 0;
    /// Waits on `cv` (with `lock` held) until `pred()` holds or the clock reaches `deadline`.
    /// Returns the last value of `pred()`. Wakers must notify `cv` after changing what `pred`
    /// reads.
    virtual bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                           Millis deadline, const std::function<bool()>& pred) = 0;
    /// True when time passes by itself (the real clock).
    virtual bool IsReal() const = 0;
    /// Milliseconds since the epoch, the wall clock's time (for time stamps, never for waits).
    virtual Millis WallNow() const;
};

/// The monotonic clock of the machine.
class SystemClock final : public Clock {
  public:
    Millis Now() const override;
    bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, Millis deadline,
                   const std::function<bool()>& pred) override;
    bool IsReal() const override { return true; }
};

/// A clock that moves only when told to. Waiters poll every millisecond of real time,
/// so any thread may advance it without knowing who waits.
class ManualClock final : public Clock {
  public:
    Millis Now() const override { return now_.load(); }
    bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, Millis deadline,
                   const std::function<bool()>& pred) override;
    bool IsReal() const override { return false; }
    void Advance(Millis ms) { now_.fetch_add(ms); }
    /// The wall time is `at` (ms since the epoch) now and moves with the clock.
    void SetWallTime(Millis at) { wallOffset_ = at - now_.load(); }
    Millis WallNow() const override { return wallOffset_.load() + now_.load(); }
    /// How many threads wait on this clock now: a test moves time on once the thread it
    /// expects has begun its wait.
    int Waiters() const { return waiters_.load(); }

  private:
    std::atomic<Millis> now_{0};
    std::atomic<Millis> wallOffset_{0};
    std::atomic<int> waiters_{0};
};

/// The process's real clock.
SystemClock& RealClock();

}  // namespace ui
