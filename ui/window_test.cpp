// The message queue, sends across threads, the end of the loop, window timers on a virtual
// clock, and ui::Event waits.
#include "ui/window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ui/clock.h"
#include "ui/event.h"
#include "ui/headless_loop.h"

namespace ui {
namespace {

using namespace std::chrono_literals;
using Ticks = std::vector<std::pair<int, Millis>>;

constexpr std::uint32_t kMsgA = WM_USER + 1;
constexpr std::uint32_t kMsgB = WM_USER + 2;
constexpr std::uint32_t kMsgSend = WM_USER + 3;

/// Records what it handles. Its vectors belong to the user-interface thread (the test's).
struct TestWindow : Window {
    using Window::Window;
    std::intptr_t HandleMessage(const Message& msg, bool& /*handled*/) override {
        handled.push_back(msg);
        return onMessage ? onMessage(msg) : 0;
    }
    void OnTimer(int id) override {
        ticks.emplace_back(id, GetClock().Now());
        if (onTimer) onTimer(id);
    }
    std::vector<std::uint32_t> Ids() const {
        std::vector<std::uint32_t> ids;
        for (const Message& m : handled) ids.push_back(m.id);
        return ids;
    }

    std::function<std::intptr_t(const Message&)> onMessage;
    std::function<void(int)> onTimer;
    std::vector<Message> handled;
    Ticks ticks;
};

/// True once `pred` holds; gives up after a generous real-time bound (a failure, not a hang).
bool Eventually(const std::function<bool()>& pred) {
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (!pred() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(1ms);
    return pred();
}

/// SendMessage from a thread of its own; ends the loop if still stuck, so as not to hang.
struct Sender {
    Sender(Window& w, std::uint32_t id, std::uintptr_t wParam = 0)
        : window(w), result(std::async(std::launch::async, [&w, id, wParam] {
              return w.SendMessage(id, wParam);
          })) {}
    ~Sender() {
        if (Returned()) return;
        window.EndLoop();
        window.SetTimer(0, 1);  // wakes the sender even when the end of the loop did not
    }
    bool Returned() const {
        return !result.valid() || result.wait_for(0s) == std::future_status::ready;
    }
    std::intptr_t Result() {
        return Eventually([this] { return Returned(); }) ? result.get() : -1;
    }

    Window& window;
    std::future<std::intptr_t> result;
};

// The Qt loop's object goes away after it replaced its wake handler: a wake-up in flight on
// another thread must be over by then. (Without the guarantee the replacing thread returns at
// once; the pause only gives it the chance to.)
TEST(WindowTest, ReplacingTheWakeHandlerWaitsForACallInFlight) {
    ManualClock clock;
    TestWindow window(clock);
    Event entered, release;
    std::atomic<bool> running{false};
    window.SetWakeHandler([&] {
        running = true;
        entered.Set();
        release.Wait(RealClock(), 10000);
        running = false;
    });
    std::thread poster([&] { window.PostMessage(kMsgA); });
    EXPECT_TRUE(entered.Wait(RealClock(), 10000));
    auto runningWhenReplaced = std::async(std::launch::async, [&] {
        window.SetWakeHandler(nullptr);
        return running.load();
    });
    std::this_thread::sleep_for(20ms);
    release.Set();
    poster.join();
    EXPECT_FALSE(runningWhenReplaced.get());
}

TEST(WindowTest, PostsFromWorkersKeepEachThreadsOrderAndPayloads) {
    constexpr int kThreads = 3, kPerThread = 400;
    const auto payload = [](std::intptr_t i) { return std::to_string(i) + '\0' + "\xff"; };
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&window, t, payload] {
            for (int i = 0; i < kPerThread; ++i) window.PostMessage(kMsgA, t, i, payload(i));
        });
    }
    // Handle while the workers still post, then drain.
    loop.RunUntil([&] { return window.handled.size() == kThreads * kPerThread; }, 60000);
    for (auto& w : workers) w.join();
    loop.RunUntilIdle();
    ASSERT_EQ(window.handled.size(), size_t{kThreads * kPerThread});
    std::vector<std::intptr_t> next(kThreads, 0);
    for (const Message& m : window.handled) {
        ASSERT_LT(m.wParam, std::uintptr_t{kThreads});
        EXPECT_EQ(m.lParam, next[m.wParam]++) << "thread " << m.wParam;
        EXPECT_EQ(m.payload, payload(m.lParam));
    }
}

TEST(WindowTest, SendFromWorkerWaitsForTheLoopAndGoesBeforePostsSendOnUiIsDirect) {
    ManualClock clock;
    std::atomic<int> wakes{0};
    TestWindow window(clock);
    HeadlessLoop loop(window);
    window.SetWakeHandler([&] { ++wakes; });
    window.onMessage = [](const Message& m) { return static_cast<std::intptr_t>(m.wParam) + 1; };
    window.PostMessage(kMsgA);
    window.PostMessage(kMsgB);
    Sender sender(window, kMsgSend, 41);
    ASSERT_TRUE(Eventually([&] { return wakes == 3; }));
    EXPECT_FALSE(sender.Returned()) << "queued but not handled: the sender must still wait";
    EXPECT_EQ(window.SendMessage(kMsgSend, 6), 7);
    EXPECT_EQ(window.Ids(), std::vector<std::uint32_t>{kMsgSend}) << "on the UI thread: at once";
    loop.RunUntilIdle();
    EXPECT_EQ(sender.Result(), 42);
    EXPECT_EQ(window.Ids(), (std::vector<std::uint32_t>{kMsgSend, kMsgSend, kMsgA, kMsgB}));
}

TEST(WindowTest, TheLoopsEndReleasesWaitingSendsWithZeroAndRefusesLaterOnes) {
    for (bool byQuit : {false, true}) {
        ManualClock clock;
        TestWindow window(clock);
        HeadlessLoop loop(window);
        window.onMessage = [](const Message&) { return 99; };
        Sender waiting(window, kMsgSend);
        window.WaitForWork(10000);          // the send is queued
        std::this_thread::sleep_for(50ms);  // gives its sender time to begin waiting
        ASSERT_FALSE(waiting.Returned());
        if (byQuit) {
            window.PostQuitMessage(3);
            window.PostQuitMessage(8);  // the first code stands
            EXPECT_EQ(loop.Run(), 3);
        } else {
            window.EndLoop();
        }
        EXPECT_TRUE(window.LoopEnded());
        EXPECT_EQ(waiting.Result(), 0);
        EXPECT_EQ(Sender(window, kMsgSend).Result(), 0);
        window.PostMessage(kMsgA);
        loop.RunUntilIdle();
        EXPECT_TRUE(window.handled.empty());
    }
}

TEST(WindowTimerTest, TimersTickAtTheirTimesOnTheVirtualClock) {
    const struct {
        std::vector<std::pair<int, Millis>> timers;  // id, period
        bool killInOnTimer;
        Millis runFor;
        Ticks expected;
    } cases[] = {
        {{{1, 100}}, false, 300, {{1, 100}, {1, 200}, {1, 300}}},
        {{{1, 100}}, false, 299, {{1, 100}, {1, 200}}},
        {{{1, 3}}, false, 10, {{1, 3}, {1, 6}, {1, 9}}},  // shorter than a loop step
        {{{1, 0}}, false, 3, {{1, 1}, {1, 2}, {1, 3}}},   // must not spin the loop
        {{{7, 100}}, true, 1000, {{7, 100}}},             // a one-shot
        {{{2, 50}, {1, 30}}, false, 100, {{1, 30}, {2, 50}, {1, 60}, {1, 90}, {2, 100}}},
    };
    for (const auto& c : cases) {
        ManualClock clock;
        TestWindow window(clock);
        HeadlessLoop loop(window);
        for (const auto& [id, period] : c.timers) window.SetTimer(id, period);
        if (c.killInOnTimer) window.onTimer = [&](int id) { window.KillTimer(id); };
        loop.RunFor(c.runFor);
        EXPECT_EQ(window.ticks, c.expected) << c.timers[0].second << " for " << c.runFor;
    }
}

TEST(EventTest, AWaitEndsBySetByAbortAndWakeOrWhenItsClockRunsOut) {
    enum Way { kSet, kAbort, kTimeout };  // kAbort: the abort flag, then Wake
    const std::pair<bool, Way> cases[] = {
        {false, kSet}, {false, kAbort}, {false, kTimeout}, {true, kSet}, {true, kAbort}};
    for (const auto& [systemClock, way] : cases) {
        ManualClock manual;
        Clock& clock = systemClock ? static_cast<Clock&>(RealClock()) : manual;
        const Millis timeout = systemClock ? 20000 : 20;
        Event event;
        std::atomic<bool> abort{false};
        auto waiter =
            std::async(std::launch::async, [&] { return event.Wait(clock, timeout, &abort); });
        // Real time passes: it does not count on the manual clock; on the system clock the
        // waiter has begun its wait, so that only a notification can end it early.
        std::this_thread::sleep_for(50ms);
        EXPECT_EQ(waiter.wait_for(0s), std::future_status::timeout) << systemClock;
        std::thread([&] {
            if (way == kSet) event.Set();
            if (way == kAbort) abort = true, event.Wake();
            if (way == kTimeout) manual.Advance(timeout);
        }).join();
        if (waiter.wait_for(10s) != std::future_status::ready) {
            event.Set();  // so that the waiter ends
            FAIL() << "the wait did not end: " << systemClock << way;
        }
        EXPECT_EQ(waiter.get(), (way == kSet));
        EXPECT_EQ(event.Wait(clock, 0), (way == kSet)) << "a set event stays set";
    }
}

}  // namespace
}  // namespace ui
