#include "ui/headless_loop.h"

#include <algorithm>

namespace ui {

HeadlessLoop::HeadlessLoop(Window& window) : window_(window) {
    window_.BindToCurrentThread();
}

void HeadlessLoop::RunUntilIdle() {
    for (;;) {
        bool worked = false;
        while (!window_.QuitRequested() && window_.DispatchOne()) worked = true;
        if (!window_.QuitRequested() && window_.FireDueTimers()) worked = true;
        if (!worked || window_.QuitRequested()) return;
    }
}

void HeadlessLoop::Step(Millis deadline, const std::function<bool()>& pred) {
    RunUntilIdle();
    if (window_.QuitRequested() || pred()) return;
    Clock& clock = window_.GetClock();
    const Millis now = clock.Now();
    Millis until = deadline;
    if (auto due = window_.NextTimerDue()) until = std::min(until, std::max(*due, now));
    if (clock.IsReal()) {
        window_.WaitForWork(std::max<Millis>(0, until - now));
        return;
    }
    // Give other threads a moment of real time to queue what they were about to queue.
    window_.WaitForWork(1);
    RunUntilIdle();
    static_cast<ManualClock&>(clock).Advance(std::clamp<Millis>(until - now, 1, kStepMs));
    // Run what is due at the new time before the caller looks at its condition, or a
    // condition a timer satisfies is seen a step late.
    RunUntilIdle();
}

void HeadlessLoop::RunFor(Millis ms) {
    RunUntil([] { return false; }, ms);
}

bool HeadlessLoop::RunUntil(const std::function<bool()>& pred, Millis ms) {
    const Millis deadline = window_.GetClock().Now() + ms;
    RunUntilIdle();
    while (!pred() && !window_.QuitRequested() && window_.GetClock().Now() < deadline) {
        Step(deadline, pred);
    }
    // What was seen when the loop stopped; messages still queued wait for the next run.
    return pred();
}

int HeadlessLoop::Run() {
    while (!window_.QuitRequested()) {
        Step(window_.GetClock().Now() + 1000, [] { return false; });
    }
    window_.EndLoop();
    return window_.ExitCode();
}

}  // namespace ui
