#include "ui/event.h"

namespace ui {

void Event::Set() {
    {
        std::lock_guard lock(mutex_);
        set_ = true;
    }
    cv_.notify_all();
}

void Event::Reset() {
    std::lock_guard lock(mutex_);
    set_ = false;
}

bool Event::IsSet() const {
    std::lock_guard lock(mutex_);
    return set_;
}

bool Event::Wait(Clock& clock, Millis timeoutMs, const std::atomic<bool>* abort) {
    std::unique_lock lock(mutex_);
    const Millis deadline = clock.Now() + timeoutMs;
    clock.WaitUntil(lock, cv_, deadline, [&] { return set_ || (abort && abort->load()); });
    return set_;
}

void Event::Wake() {
    { std::lock_guard lock(mutex_); }
    cv_.notify_all();
}

}  // namespace ui
