#include "ui/window.h"

#include <algorithm>
#include <chrono>

namespace ui {

struct Window::PendingSend {
    Message msg;
    std::intptr_t result = 0;
    bool done = false;
};

Window::Window(Clock& clock) : clock_(clock), uiThread_(std::this_thread::get_id()) {}

Window::~Window() {
    EndLoop();
}

void Window::PostMessage(std::uint32_t id, std::uintptr_t wParam, std::intptr_t lParam,
                         std::string payload) {
    {
        std::lock_guard lock(mutex_);
        if (ended_) return;
        posted_.push_back(Message{id, wParam, lParam, std::move(payload)});
    }
    Wake();
}

std::intptr_t Window::SendMessage(std::uint32_t id, std::uintptr_t wParam, std::intptr_t lParam) {
    if (IsUiThread()) {
        bool handled = true;
        return HandleMessage(Message{id, wParam, lParam, {}}, handled);
    }
    auto pending = std::make_shared<PendingSend>();
    pending->msg = Message{id, wParam, lParam, {}};
    std::unique_lock lock(mutex_);
    if (ended_) return 0;
    sends_.push_back(pending);
    lock.unlock();
    Wake();
    lock.lock();
    queued_.wait(lock, [&] { return pending->done || ended_; });
    return pending->done ? pending->result : 0;
}

void Window::PostQuitMessage(int exitCode) {
    {
        std::lock_guard lock(mutex_);
        if (quit_) return;
        quit_ = true;
        exitCode_ = exitCode;
    }
    Wake();
}

void Window::SetTimer(int id, Millis periodMs) {
    // A timer that is due again at once would keep the loop busy forever.
    periodMs = std::max<Millis>(periodMs, 1);
    timers_[id] = Timer{periodMs, clock_.Now() + periodMs};
    Wake();
}

void Window::KillTimer(int id) {
    timers_.erase(id);
}

bool Window::HasTimer(int id) const {
    return timers_.count(id) != 0;
}

bool Window::DispatchOne() {
    std::unique_lock lock(mutex_);
    if (!sends_.empty()) {
        auto pending = sends_.front();
        sends_.pop_front();
        lock.unlock();
        bool handled = true;
        const std::intptr_t result = HandleMessage(pending->msg, handled);
        lock.lock();
        pending->result = result;
        pending->done = true;
        queued_.notify_all();
        return true;
    }
    if (!posted_.empty()) {
        Message msg = std::move(posted_.front());
        posted_.pop_front();
        lock.unlock();
        bool handled = true;
        HandleMessage(msg, handled);
        return true;
    }
    return false;
}

bool Window::FireDueTimers() {
    const Millis now = clock_.Now();
    bool fired = false;
    // A handler may set or kill timers, so look the timer up again after each tick.
    for (auto it = timers_.begin(); it != timers_.end();) {
        const int id = it->first;
        if (it->second.due > now) {
            ++it;
            continue;
        }
        it->second.due = now + it->second.period;
        fired = true;
        OnTimer(id);
        it = timers_.upper_bound(id);
    }
    return fired;
}

std::optional<Millis> Window::NextTimerDue() const {
    std::optional<Millis> next;
    for (const auto& [id, timer] : timers_) {
        if (!next || timer.due < *next) next = timer.due;
    }
    return next;
}

bool Window::QuitRequested() const {
    std::lock_guard lock(mutex_);
    return quit_;
}

int Window::ExitCode() const {
    std::lock_guard lock(mutex_);
    return exitCode_;
}

void Window::WaitForWork(Millis realMs) {
    std::unique_lock lock(mutex_);
    queued_.wait_for(lock, std::chrono::milliseconds(realMs),
                     [&] { return !posted_.empty() || !sends_.empty() || quit_ || ended_; });
}

void Window::SetWakeHandler(std::function<void()> wake) {
    std::lock_guard wakeLock(wakeMutex_);
    wake_ = std::move(wake);
}

void Window::EndLoop() {
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
        posted_.clear();
        sends_.clear();
    }
    queued_.notify_all();
    SetWakeHandler(nullptr);
}

bool Window::LoopEnded() const {
    std::lock_guard lock(mutex_);
    return ended_;
}

void Window::Wake() {
    queued_.notify_all();
    // The handler runs under its own lock, so whoever replaces it waits for a call in flight
    // (the Qt loop's object must not be woken once it is gone).
    std::lock_guard wakeLock(wakeMutex_);
    if (wake_) wake_();
}

}  // namespace ui
