#include "bench/bench_util.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/profiles.h"

namespace bench {

TimedLoop::TimedLoop(ui::Window& window) : window_(window) {
    window_.BindToCurrentThread();
}

bool TimedLoop::TimedCall(const std::function<bool()>& work) {
    const auto start = SteadyClock::now();
    const bool worked = work();
    const auto end = SteadyClock::now();
    if (worked) {
        lastMs_ = Ms(start, end);
        longestMs_ = std::max(longestMs_, lastMs_);
        ++pieces_;
    }
    return worked;
}

void TimedLoop::Timed(const std::function<void()>& work) {
    TimedCall([&] {
        work();
        return true;
    });
}

bool TimedLoop::RunReady(const std::function<bool()>& pred) {
    auto holds = [&] {
        if (!pred()) return false;
        satisfiedAt_ = SteadyClock::now();
        satisfyingMs_ = lastMs_;
        return true;
    };
    for (;;) {
        bool worked = false;
        while (TimedCall([&] { return window_.DispatchOne(); })) {
            worked = true;
            if (holds()) return true;
        }
        if (TimedCall([&] { return window_.FireDueTimers(); })) {
            worked = true;
            if (holds()) return true;
        }
        if (!worked) return false;
    }
}

void TimedLoop::WaitForWork(SteadyClock::time_point deadline) {
    const double left = Ms(SteadyClock::now(), deadline);
    ui::Millis wait = std::max<ui::Millis>(0, static_cast<ui::Millis>(std::ceil(left)));
    if (auto due = window_.NextTimerDue()) {
        wait = std::min(wait, std::max<ui::Millis>(0, *due - window_.GetClock().Now()));
    }
    window_.WaitForWork(wait);
}

bool TimedLoop::RunUntil(const std::function<bool()>& pred, double timeoutMs) {
    const auto deadline =
        SteadyClock::now() + std::chrono::duration_cast<SteadyClock::duration>(Duration(timeoutMs));
    if (pred()) {
        satisfiedAt_ = SteadyClock::now();
        satisfyingMs_ = 0;
        return true;
    }
    for (;;) {
        if (RunReady(pred)) return true;
        if (SteadyClock::now() >= deadline) return pred();
        WaitForWork(deadline);
    }
}

void TimedLoop::Settle() {
    while (TimedCall([&] { return window_.DispatchOne(); })) {
    }
}

LiveSession::~LiveSession() {
    loop.reset();
    t.reset();  // the window (and its worker and port) before the unit it talks to
    unit.reset();
}

bool LiveSession::Start(long baud) {
    unit = std::make_unique<sim::SimulatedUnit>(*sim::FindProfile("base"), sim::UnitOptions{});
    if (!unit->Start()) {
        error = "the simulated unit did not start";
        return false;
    }
    t = std::make_unique<app::testing::TestFrame>(0, &ui::RealClock(),
                                                  std::vector<std::string>{unit->DevicePath()});
    if (!t->created) {
        error = t->error;
        return false;
    }
    loop = std::make_unique<TimedLoop>(*t->frame);
    if (!t->frame->link.StartWorker()) {
        error = "the worker did not start";
        return false;
    }
    loop->RunUntil([] { return false; }, 0);
    if (!SelectBaud(baud) || !Click("Open")) return false;
    if (!loop->RunUntil([&] { return t->frame->link.LoggedIn(); }, 15000)) {
        error = "not logged in after 15 s; log:\n" + t->Log();
        return false;
    }
    return WaitIdle();
}

bool LiveSession::SelectBaud(long baud) {
    auto* list = t->Find<ui::Combo>("BaudRate1");
    if (!list) {
        error = "no \"BaudRate1\" in the form";
        return false;
    }
    for (int i = 0; i < list->GetCount(); ++i) {
        if (list->GetItemText(i) == std::to_string(baud)) {
            loop->Timed([&] { list->SelectItem(i); });
            return true;
        }
    }
    error = "\"BaudRate1\" has no item " + std::to_string(baud);
    return false;
}

bool LiveSession::Click(std::string_view name) {
    auto* button = t->Find<ui::Button>(name);
    if (!button || !button->IsEnabled()) {
        error = "the button \"" + std::string(name) + "\" is missing or disabled";
        return false;
    }
    loop->Timed([&] { button->Activate(); });
    return true;
}

bool LiveSession::WaitIdle(double timeoutMs) {
    const bool idle = loop->RunUntil(
        [&] { return t->Find("Load")->IsEnabled() && t->frame->link.QueuedJobs() == 0; },
        timeoutMs);
    if (!idle) error = "the worker did not come back to idle; log:\n" + t->Log();
    // Idle is seen as soon as the last job is finished: what it posted is handled here, so
    // the form is settled when the caller looks at it.
    if (idle) loop->Settle();
    return idle;
}

std::string LiveSession::Value(std::string_view name) const {
    const model::ParamEntry* row = t->frame->catalogue.Find(name);
    return row ? row->value : std::string();
}

void Report::Add(Figure f) {
    const bool met = f.Met();
    if (!met) ++missed_;
    std::printf("%s\n    measured %s %s, bound %s %s: %s\n", f.name.c_str(),
                Fixed(f.measured).c_str(), f.unit.c_str(), Fixed(f.bound).c_str(), f.unit.c_str(),
                met ? "ok" : "MISSED");
    if (!f.detail.empty()) std::printf("    %s\n", f.detail.c_str());
    std::fflush(stdout);
}

void Report::Info(std::string_view name, double value, std::string_view unit,
                  std::string_view detail) {
    std::printf("%s\n    measured %s %s (no bound)\n", std::string(name).c_str(),
                Fixed(value).c_str(), std::string(unit).c_str());
    if (!detail.empty()) std::printf("    %s\n", std::string(detail).c_str());
    std::fflush(stdout);
}

void Report::Fail(std::string_view name, std::string_view why) {
    ++failed_;
    std::printf("%s\n    NOT MEASURED: %s\n", std::string(name).c_str(), std::string(why).c_str());
    std::fflush(stdout);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double Worst(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

std::string Fixed(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    return text;
}

}  // namespace bench
