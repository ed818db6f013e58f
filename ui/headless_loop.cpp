#include "ui/headless_loop.h"

#include <algorithm>
#include <chrono>

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
    // Virtual time never runs ahead of real time: a thread that answers in real time (a unit
    // on a pseudo-terminal, starved on a busy machine) is never overtaken by a virtual
    // time-out. A quiet step waits its length in real time; work that arrives ends the wait.
    const Millis step = std::clamp<Millis>(until - now, 1, kStepMs);
    const auto started = std::chrono::steady_clock::now();
    window_.WaitForWork(step);
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);
    RunUntilIdle();
    static_cast<ManualClock&>(clock).Advance(
        std::clamp<Millis>(static_cast<Millis>(waited.count()), 1, step));
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
