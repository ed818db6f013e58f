// Test support: a window with the simulated unit logged in, and helpers to load its report
// and to look at what "Save" would write.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "app/messages.h"
#include "app/test_frame.h"
#include "sim/simulated_unit.h"

namespace app::testing {

/// A simulated unit (unpaced) and a window listing it first, with its worker running.
class UnitFixture : public ::testing::Test {
  protected:
    /// `manual`: the window runs on the manual clock instead of the real one.
    void Start(sim::UnitOptions options = {}, const char* profile = "base", bool manual = false,
               int languageCode = 0) {
        options.paced = false;
        unit = std::make_unique<sim::SimulatedUnit>(*sim::FindProfile(profile), options);
        ASSERT_TRUE(unit->Start());
        t = std::make_unique<TestFrame>(languageCode, manual ? nullptr : &ui::RealClock(),
                                        std::vector<std::string>{unit->DevicePath()});
        ASSERT_TRUE(t->created) << t->error;
        ASSERT_TRUE(t->frame->link.StartWorker());
        t->loop->RunUntilIdle();
    }
    void TearDown() override {
        t.reset();
        unit.reset();
    }
    void Click(const char* name) {
        auto* button = t->Find<ui::Button>(name);
        ASSERT_NE(button, nullptr) << name;
        ASSERT_TRUE(button->IsEnabled()) << name;
        button->Activate();
    }
    bool Until(const std::function<bool()>& pred, ui::Millis ms = 30000) {
        return t->loop->RunUntil(pred, ms);
    }
    bool LogHas(std::string_view text) const { return t->Log().find(text) != std::string::npos; }
    /// The worker has nothing left: no job queued or running, and the form has settled. The
    /// state must hold for longer than the worker's polling, or a job just taken from the
    /// queue (but not yet started) would pass for idleness.
    bool Idle() {
        auto quiet = [&] {
            return t->Find("Load")->IsEnabled() && t->frame->link.jobQueue.Size() == 0 &&
                   t->frame->link.expectedReply == devlink::kNoReply;
        };
        const ui::Millis deadline = ui::RealClock().Now() + 30000;
        while (ui::RealClock().Now() < deadline) {
            if (!Until(quiet, 30000)) return false;
            if (!Until([&] { return !quiet(); }, 400)) return true;
        }
        return false;
    }

    std::unique_ptr<sim::SimulatedUnit> unit;
    std::unique_ptr<TestFrame> t;
};

class FormFixture : public UnitFixture {
  protected:
    /// A unit of `profile` and a window on the real clock, logged in.
    void StartUnit(const char* profile = "base", int languageCode = 0) {
        Start({}, profile, false, languageCode);
        Click("Open");
        ASSERT_TRUE(Until([&] { return t->frame->link.loggedIn; })) << t->Log();
        ASSERT_TRUE(Idle());
    }
    /// Reads the unit's report into the form and lets the form settle.
    void Load() {
        const size_t before = ReportsRead();
        Click("Load");
        ASSERT_TRUE(Until([&] { return ReportsRead() > before; }));
        ASSERT_TRUE(Idle()) << t->Log();
    }
    size_t ReportsRead() const { return Occurrences(unit->Received(), "\r\nAT+SHOW\r\n"); }
    /// The parameter lines the unit received since `from`.
    std::vector<std::string> WritesSince(size_t from) const {
        std::vector<std::string> lines;
        const std::string got = unit->Received().substr(from);
        size_t pos = 0;
        while ((pos = got.find("AT", pos)) != std::string::npos) {
            const size_t end = got.find("\r\n", pos);
            if (end == std::string::npos) break;
            const std::string line = got.substr(pos, end - pos);
            if (line.find('=') != std::string::npos) lines.push_back(line);
            pos = end;
        }
        return lines;
    }
    /// Clicks "Save" and waits for its writes to be answered; the lines the unit received.
    std::vector<std::string> Save() {
        const size_t from = unit->Received().size();
        Click("Save");
        EXPECT_TRUE(Idle());
        return WritesSince(from);
    }
    static size_t Occurrences(const std::string& text, const std::string& part) {
        size_t n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
            ++n;
        }
        return n;
    }
};

}  // namespace app::testing
