// A manual-reset event: set by one thread, waited on by another with a time limit.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "ui/clock.h"

namespace ui {

class Event {
  public:
    void Set();
    void Reset();
    bool IsSet() const;
    /// Waits until the event is set, `*abort` turns true, or `timeoutMs` pass on `clock`.
    /// Returns true only when the event was set.
    bool Wait(Clock& clock, Millis timeoutMs, const std::atomic<bool>* abort = nullptr);
    /// Wakes waiters so they look at their abort flag again.
    void Wake();

  private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool set_ = false;
};

}  // namespace ui
