// The message queue, sends across threads, the end of the loop, window timers on a virtual
// clock, and ui::Event waits.
#include "ui/window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
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

constexpr std::uint32_t kMsgA = WM_USER + 1;
constexpr std::uint32_t kMsgB = WM_USER + 2;
constexpr std::uint32_t kMsgSend = WM_USER + 3;
constexpr std::uint32_t kMsgSeq = WM_USER + 4;

/// Records what it handles. Its vectors belong to the user-interface thread (the test's).
class TestWindow : public Window {
  public:
    using Window::Window;

    std::intptr_t HandleMessage(const Message& msg, bool& /*handled*/) override {
        handled.push_back(msg);
        threads.push_back(std::this_thread::get_id());
        return onMessage ? onMessage(msg) : 0;
    }
    void OnTimer(int id) override {
        ticks.emplace_back(id, GetClock().Now());
        if (onTimer) onTimer(id);
    }

    std::function<std::intptr_t(const Message&)> onMessage;
    std::function<void(int)> onTimer;
    std::vector<Message> handled;
    std::vector<std::thread::id> threads;
    std::vector<std::pair<int, Millis>> ticks;
};

/// Counts the window's wake-ups: each post, send, quit and SetTimer wakes it once.
class WakeCounter {
  public:
    explicit WakeCounter(Window& window) {
        window.SetWakeHandler([this] {
            {
                std::lock_guard lock(mutex_);
                ++count_;
            }
            cv_.notify_all();
        });
    }
    /// True once `n` wake-ups happened; gives up after a generous real-time bound.
    bool WaitFor(int n) {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, 10s, [&] { return count_ >= n; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable cv_;
    int count_ = 0;
};

/// SendMessage from a thread of its own. The destructor ends the loop if the send is still
/// stuck, so a failing test reports instead of hanging.
class Sender {
  public:
    Sender(Window& window, std::uint32_t id, std::uintptr_t wParam = 0)
        : window_(window), future_(promise_.get_future()) {
        thread_ = std::thread(
            [this, id, wParam] { promise_.set_value(window_.SendMessage(id, wParam)); });
    }
    ~Sender() {
        if (!Returned()) window_.EndLoop();
        thread_.join();
    }
    bool Returned() const {
        return !future_.valid() || future_.wait_for(0s) == std::future_status::ready;
    }
    /// The send's result; fails the test when it does not return in a generous time.
    std::intptr_t Result() {
        if (future_.wait_for(10s) != std::future_status::ready) {
            ADD_FAILURE() << "SendMessage did not return";
            return -1;
        }
        return future_.get();
    }

  private:
    Window& window_;
    std::promise<std::intptr_t> promise_;
    std::future<std::intptr_t> future_;
    std::thread thread_;
};

std::vector<std::uint32_t> Ids(const std::vector<Message>& messages) {
    std::vector<std::uint32_t> ids;
    for (const Message& m : messages) ids.push_back(m.id);
    return ids;
}

// The Qt loop's object goes away after it replaced its wake handler: a wake-up in flight on
// another thread must be over by then. (Without the guarantee the replacing thread returns at
// once; the pause only gives it the chance to.)
TEST(WindowTest, ReplacingTheWakeHandlerWaitsForACallInFlight) {
    ManualClock clock;
    TestWindow window(clock);
    std::promise<void> entered;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> running{false};
    window.SetWakeHandler([&] {
        running = true;
        entered.set_value();
        released.wait();
        running = false;
    });
    std::thread poster([&] { window.PostMessage(kMsgA); });
    entered.get_future().wait();
    std::atomic<bool> runningWhenReplaced{true};
    std::thread replacer([&] {
        window.SetWakeHandler(nullptr);
        runningWhenReplaced = running.load();
    });
    std::this_thread::sleep_for(20ms);
    release.set_value();
    replacer.join();
    poster.join();
    EXPECT_FALSE(runningWhenReplaced);
}

TEST(WindowTest, PostedMessagesArriveInOrderWithTheirPayloads) {
    const std::vector<Message> posts = {
        {kMsgA, 1, -1, "first"},
        {kMsgB, 0, 0, ""},
        {kMsgA, 2, 7, std::string("bin\0ary\xff", 8)},
        {kMsgB, UINTPTR_MAX, INTPTR_MIN, std::string(100000, 'x')},
        {WM_CLOSE, 0, 0, "\xe4\xb8\xb2\xe5\x8f\xa3"},
    };
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    for (const Message& m : posts) window.PostMessage(m.id, m.wParam, m.lParam, m.payload);
    EXPECT_TRUE(window.handled.empty()) << "a post must not be handled before the loop runs";
    loop.RunUntilIdle();
    ASSERT_EQ(window.handled.size(), posts.size());
    for (size_t i = 0; i < posts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(window.handled[i].id, posts[i].id);
        EXPECT_EQ(window.handled[i].wParam, posts[i].wParam);
        EXPECT_EQ(window.handled[i].lParam, posts[i].lParam);
        EXPECT_EQ(window.handled[i].payload, posts[i].payload);
    }
    EXPECT_EQ(clock.Now(), 0);
}

TEST(WindowTest, PostsFromWorkerThreadsKeepEachThreadsOrder) {
    constexpr int kThreads = 3;
    constexpr int kPerThread = 400;
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&window, t] {
            for (int i = 0; i < kPerThread; ++i) {
                window.PostMessage(kMsgSeq, static_cast<std::uintptr_t>(t), i, std::to_string(i));
            }
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
        EXPECT_EQ(m.lParam, next[m.wParam]) << "thread " << m.wParam;
        EXPECT_EQ(m.payload, std::to_string(m.lParam));
        next[m.wParam] = m.lParam + 1;
    }
    for (std::thread::id id : window.threads) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(WindowTest, SendOnUiThreadIsADirectCall) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    window.onMessage = [](const Message& m) { return static_cast<std::intptr_t>(m.wParam) * 3; };
    window.PostMessage(kMsgA);
    EXPECT_EQ(window.SendMessage(kMsgSend, 14), 42);
    // Handled at once, ahead of the post that still waits in the queue.
    EXPECT_EQ(Ids(window.handled), (std::vector<std::uint32_t>{kMsgSend}));
    loop.RunUntilIdle();
    EXPECT_EQ(Ids(window.handled), (std::vector<std::uint32_t>{kMsgSend, kMsgA}));
}

TEST(WindowTest, SendFromWorkerWaitsForTheLoopAndReturnsTheResult) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    WakeCounter wakes(window);
    window.onMessage = [](const Message& m) { return static_cast<std::intptr_t>(m.wParam) + 1; };
    Sender sender(window, kMsgSend, 41);
    ASSERT_TRUE(wakes.WaitFor(1));
    // Queued but not handled: the sender must still be blocked.
    EXPECT_FALSE(sender.Returned());
    EXPECT_TRUE(window.handled.empty());
    loop.RunUntilIdle();
    EXPECT_EQ(sender.Result(), 42);
    ASSERT_EQ(window.threads.size(), 1u);
    EXPECT_EQ(window.threads[0], std::this_thread::get_id());
}

TEST(WindowTest, WaitingSendsAreHandledBeforePosts) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    WakeCounter wakes(window);
    window.onMessage = [](const Message& m) { return m.id == kMsgSend ? 5 : 0; };
    window.PostMessage(kMsgA);
    window.PostMessage(kMsgB);
    Sender sender(window, kMsgSend);
    ASSERT_TRUE(wakes.WaitFor(3));
    loop.RunUntilIdle();
    EXPECT_EQ(sender.Result(), 5);
    EXPECT_EQ(Ids(window.handled), (std::vector<std::uint32_t>{kMsgSend, kMsgA, kMsgB}));
}

/// The two ways a loop ends: by hand, or HeadlessLoop::Run returning on a quit.
enum class EndBy { EndLoop, RunQuit };

void EndTheLoop(EndBy how, TestWindow& window, HeadlessLoop& loop) {
    if (how == EndBy::EndLoop) {
        window.EndLoop();
    } else {
        window.PostQuitMessage(3);
        EXPECT_EQ(loop.Run(), 3);
    }
    EXPECT_TRUE(window.LoopEnded());
}

class LoopEndTest : public ::testing::TestWithParam<EndBy> {};

TEST_P(LoopEndTest, LaterSendReturnsZeroAtOnceAndPostsAreDropped) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    window.onMessage = [](const Message&) { return 99; };
    EndTheLoop(GetParam(), window, loop);
    {
        Sender sender(window, kMsgSend);
        EXPECT_EQ(sender.Result(), 0);
    }
    window.PostMessage(kMsgA);
    loop.RunUntilIdle();
    EXPECT_TRUE(window.handled.empty());
}

TEST_P(LoopEndTest, SendAlreadyWaitingIsReleasedWithZero) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    WakeCounter wakes(window);
    window.onMessage = [](const Message&) { return 99; };
    Sender sender(window, kMsgSend);
    ASSERT_TRUE(wakes.WaitFor(1));
    EXPECT_FALSE(sender.Returned());
    EndTheLoop(GetParam(), window, loop);
    EXPECT_EQ(sender.Result(), 0);
    EXPECT_TRUE(window.handled.empty());
}

INSTANTIATE_TEST_SUITE_P(Ends, LoopEndTest, ::testing::Values(EndBy::EndLoop, EndBy::RunQuit),
                         [](const auto& info) {
                             return info.param == EndBy::EndLoop ? "EndLoop" : "RunQuit";
                         });

TEST(WindowTest, QuitFromAHandlerEndsRunWithItsCodeAndDropsLaterMessages) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    window.onMessage = [&](const Message& m) {
        if (m.id == WM_CLOSE) {
            window.PostQuitMessage(7);
            window.PostQuitMessage(8);  // the first code stands
        }
        return 0;
    };
    window.PostMessage(kMsgA);
    window.PostMessage(WM_CLOSE);
    window.PostMessage(kMsgB);
    EXPECT_EQ(loop.Run(), 7);
    EXPECT_EQ(window.ExitCode(), 7);
    EXPECT_EQ(Ids(window.handled), (std::vector<std::uint32_t>{kMsgA, WM_CLOSE}));
}

TEST(WindowTest, QuitFromAWorkerEndsRun) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    window.SetTimer(1, 100);
    std::thread worker([&] { window.PostQuitMessage(-2); });
    EXPECT_EQ(loop.Run(), -2);
    worker.join();
    EXPECT_TRUE(window.LoopEnded());
}

TEST(WindowTest, QuitFromATimerEndsRunAtThatTime) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    window.SetTimer(1, 250);
    window.onTimer = [&](int) { window.PostQuitMessage(1); };
    EXPECT_EQ(loop.Run(), 1);
    EXPECT_EQ(window.ticks, (std::vector<std::pair<int, Millis>>{{1, 250}}));
}

using Ticks = std::vector<std::pair<int, Millis>>;

struct PeriodCase {
    Millis period;
    Millis runFor;
    std::vector<Millis> expected;
};

void PrintTo(const PeriodCase& c, std::ostream* os) {
    *os << "every " << c.period << " for " << c.runFor;
}

class TimerPeriodTest : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(TimerPeriodTest, RepeatingTimerTicksAtEachPeriodOfTheVirtualClock) {
    const PeriodCase& c = GetParam();
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    window.SetTimer(1, c.period);
    loop.RunFor(c.runFor);
    Ticks expected;
    for (Millis at : c.expected) expected.emplace_back(1, at);
    EXPECT_EQ(window.ticks, expected);
    EXPECT_EQ(clock.Now(), c.runFor);
}

INSTANTIATE_TEST_SUITE_P(
    Periods, TimerPeriodTest,
    ::testing::Values(PeriodCase{100, 300, {100, 200, 300}}, PeriodCase{100, 299, {100, 200}},
                      PeriodCase{70, 300, {70, 140, 210, 280}}, PeriodCase{3, 10, {3, 6, 9}},
                      PeriodCase{1000, 300, {}},
                      // A period below one millisecond must not spin the loop forever.
                      PeriodCase{0, 4, {1, 2, 3, 4}}, PeriodCase{-10, 3, {1, 2, 3}}));

TEST(WindowTimerTest, KillTimerInOnTimerMakesAOneShot) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    window.SetTimer(7, 100);
    window.onTimer = [&](int id) { window.KillTimer(id); };
    loop.RunFor(1000);
    EXPECT_EQ(window.ticks, (Ticks{{7, 100}}));
    EXPECT_FALSE(window.HasTimer(7));
}

TEST(WindowTimerTest, TimersSetFromHandlersStartAtTheHandlersTime) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    window.onMessage = [&](const Message&) {
        window.SetTimer(1, 40);
        return 0;
    };
    window.onTimer = [&](int id) {
        if (id != 1) return;
        window.KillTimer(1);
        window.SetTimer(2, 30);  // from inside OnTimer, at 40
    };
    window.PostMessage(kMsgA);
    loop.RunFor(135);
    EXPECT_EQ(window.ticks, (Ticks{{1, 40}, {2, 70}, {2, 100}, {2, 130}}));
}

TEST(WindowTimerTest, SetTimerAgainRestartsItsPeriod) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    window.SetTimer(1, 100);
    loop.RunFor(60);
    window.SetTimer(1, 100);
    loop.RunFor(200);
    EXPECT_EQ(window.ticks, (Ticks{{1, 160}, {1, 260}}));
}

TEST(WindowTimerTest, TimersOfDifferentPeriodsInterleaveInTimeOrder) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    window.SetTimer(2, 50);
    window.SetTimer(1, 30);
    loop.RunFor(100);
    EXPECT_EQ(window.ticks, (Ticks{{1, 30}, {2, 50}, {1, 60}, {1, 90}, {2, 100}}));
}

TEST(HeadlessLoopTest, RunUntilReturnsAsSoonAsThePredicateHolds) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    bool flag = false;
    EXPECT_TRUE(loop.RunUntil([] { return true; }, 1000));
    EXPECT_EQ(clock.Now(), 0) << "a predicate that already holds lets no time pass";
    window.SetTimer(1, 100);
    window.onTimer = [&](int) { flag = true; };
    EXPECT_TRUE(loop.RunUntil([&] { return flag; }, 1000));
    EXPECT_EQ(clock.Now(), 100);
    EXPECT_EQ(window.ticks.size(), 1u);
}

TEST(HeadlessLoopTest, RunUntilReturnsFalseWhenTimeRunsOutOrOnQuit) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    EXPECT_FALSE(loop.RunUntil([] { return false; }, 250));
    EXPECT_EQ(clock.Now(), 250);
    window.PostQuitMessage(0);
    EXPECT_FALSE(loop.RunUntil([] { return false; }, 250));
    EXPECT_EQ(clock.Now(), 250) << "no time passes once a quit is requested";
}

TEST(HeadlessLoopTest, RunUntilSeesAMessageFromAWorker) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    std::thread worker([&] { window.PostMessage(kMsgA, 0, 0, "line"); });
    EXPECT_TRUE(loop.RunUntil([&] { return !window.handled.empty(); }, 60000));
    worker.join();
    EXPECT_EQ(window.handled.at(0).payload, "line");
}

/// A thread that waits on an Event and records the outcome and the virtual times around it.
class Waiter {
  public:
    Waiter(Event& event, Clock& clock, Millis timeoutMs, const std::atomic<bool>* abort = nullptr)
        : event_(event), thread_([this, &event, &clock, timeoutMs, abort] {
              startedAt_ = clock.Now();
              started_.Set();
              result_ = event.Wait(clock, timeoutMs, abort);
              endedAt_ = clock.Now();
              finished_.Set();
          }) {}
    /// Sets the event so that a waiter a failed test left behind can be joined.
    ~Waiter() {
        event_.Set();
        thread_.join();
    }
    bool WaitStarted() { return started_.Wait(RealClock(), 10000); }
    /// True when the waiter's Wait returned within `realMs` of real time.
    bool Finished(Millis realMs) { return finished_.Wait(RealClock(), realMs); }
    bool Result() const { return result_; }
    Millis Elapsed() const { return endedAt_ - startedAt_; }

  private:
    Event& event_;
    Event started_;
    Event finished_;
    std::atomic<bool> result_{false};
    std::atomic<Millis> startedAt_{0};
    std::atomic<Millis> endedAt_{0};
    std::thread thread_;
};

TEST(EventTest, WaitOnAManualClockTimesOutOnlyWhenTheClockMoves) {
    ManualClock clock;
    Event event;
    Waiter waiter(event, clock, 20);
    ASSERT_TRUE(waiter.WaitStarted());
    EXPECT_FALSE(waiter.Finished(100)) << "real time passed, virtual time did not";
    // Move on a millisecond at a time until the waiter gives up.
    for (int i = 0; i < 5000 && !waiter.Finished(2); ++i) clock.Advance(1);
    ASSERT_TRUE(waiter.Finished(10000));
    EXPECT_FALSE(waiter.Result());
    EXPECT_GE(waiter.Elapsed(), 20);
}

TEST(EventTest, WorkerWaitTimesOutAsTheLoopAdvancesTheClock) {
    ManualClock clock;
    TestWindow window(clock);
    HeadlessLoop loop(window);
    Event event;
    std::atomic<Millis> elapsed{0};
    std::thread worker([&] {
        const Millis start = clock.Now();
        const bool set = event.Wait(clock, 300);
        elapsed = clock.Now() - start;
        window.PostMessage(kMsgA, set ? 1 : 0);
    });
    EXPECT_TRUE(loop.RunUntil([&] { return !window.handled.empty(); }, 60000));
    worker.join();
    ASSERT_EQ(window.handled.size(), 1u);
    EXPECT_EQ(window.handled[0].wParam, 0u) << "the event was never set";
    EXPECT_GE(elapsed.load(), 300);
}

TEST(EventTest, WaitReturnsTrueWhenSetFromAnotherThread) {
    ManualClock clock;
    Event event;
    Waiter waiter(event, clock, 10000);
    ASSERT_TRUE(waiter.WaitStarted());
    std::thread setter([&] { event.Set(); });
    setter.join();
    ASSERT_TRUE(waiter.Finished(10000));
    EXPECT_TRUE(waiter.Result());
    EXPECT_EQ(clock.Now(), 0);
    EXPECT_TRUE(event.IsSet()) << "a manual-reset event stays set";
}

TEST(EventTest, ImmediateOutcomes) {
    ManualClock clock;
    Event event;
    std::atomic<bool> abort{false};
    EXPECT_FALSE(event.Wait(clock, 0));
    event.Set();
    EXPECT_TRUE(event.Wait(clock, 0));
    EXPECT_TRUE(event.Wait(clock, 0)) << "Wait does not consume the event";
    abort = true;
    EXPECT_TRUE(event.Wait(clock, 1000, &abort)) << "set wins over abort";
    event.Reset();
    EXPECT_FALSE(event.IsSet());
    const Millis realStart = RealClock().Now();
    EXPECT_FALSE(event.Wait(RealClock(), 20000, &abort)) << "abort already set";
    EXPECT_LT(RealClock().Now() - realStart, 10000);
}

class EventAbortTest : public ::testing::TestWithParam<bool> {};

TEST_P(EventAbortTest, AbortAndWakeEndAWaitPromptly) {
    ManualClock manual;
    Clock& clock = GetParam() ? static_cast<Clock&>(RealClock()) : manual;
    Event event;
    std::atomic<bool> abort{false};
    const Millis realStart = RealClock().Now();
    {
        Waiter waiter(event, clock, 600000, &abort);
        ASSERT_TRUE(waiter.WaitStarted());
        abort = true;
        event.Wake();
        ASSERT_TRUE(waiter.Finished(10000));
        EXPECT_FALSE(waiter.Result());
    }
    EXPECT_LT(RealClock().Now() - realStart, 10000);
    EXPECT_EQ(manual.Now(), 0);
}

INSTANTIATE_TEST_SUITE_P(Clocks, EventAbortTest, ::testing::Bool(), [](const auto& info) {
    return info.param ? "SystemClock" : "ManualClock";
});

}  // namespace
}  // namespace ui
