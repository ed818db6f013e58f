#include "ui/clock.h"

#include <chrono>

namespace ui {

Millis Clock::WallNow() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

Millis SystemClock::Now() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool SystemClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                            Millis deadline, const std::function<bool()>& pred) {
    using namespace std::chrono;
    const auto until = steady_clock::time_point(milliseconds(deadline));
    return cv.wait_until(lock, until, pred);
}

bool ManualClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                            Millis deadline, const std::function<bool()>& pred) {
    struct Count {
        std::atomic<int>& n;
        explicit Count(std::atomic<int>& waiters) : n(waiters) { ++n; }
        ~Count() { --n; }
    } counting(waiters_);
    while (!pred()) {
        if (Now() >= deadline) return false;
        cv.wait_for(lock, std::chrono::milliseconds(1));
    }
    return true;
}

SystemClock& RealClock() {
    static SystemClock clock;
    return clock;
}

}  // namespace ui
