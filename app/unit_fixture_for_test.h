// Test support: the main window on the real skin and a manual clock, with a simulated unit on a
// pseudo-terminal listed first among its ports, and an observer that counts the worker's idle
// reports, so a test waits for the jobs of a click to be done instead of for quiet.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/test_frame.h"
#include "sim/simulated_unit.h"

namespace app::testing {

class UnitFixture : public ::testing::Test {
  protected:
    struct Idle : FrameObserver {
        void WorkerIdle() override { ++count; }
        int count = 0;
    };

    /// A unit of `profile` (sent at once, not paced) and a window listing it first.
    void Start(sim::UnitOptions options = {}, const char* profile = "base") {
        options.paced = false;
        unit = std::make_unique<sim::SimulatedUnit>(*sim::FindProfile(profile), options);
        ASSERT_TRUE(unit->Start());
        t = std::make_unique<TestFrame>(0, nullptr, std::vector<std::string>{unit->DevicePath()});
        ASSERT_TRUE(t->created) << t->error;
        t->frame->AddObserver(&idle);
        ASSERT_TRUE(t->frame->link.StartWorker());
        t->loop->RunUntilIdle();
    }
    /// Opens the port and waits until the starting unit has answered the handshake.
    void StartLoggedIn(const char* profile = "base") {
        Start({}, profile);
        Click("Open");
        ASSERT_TRUE(Until([&] { return t->frame->link.LoggedIn(); })) << t->Log();
        t->loop->RunUntilIdle();
    }
    void TearDown() override {
        if (t) t->frame->ShutDown();
        t.reset();
        unit.reset();
    }
    void Click(const char* name) {
        auto* button = t->Find<ui::Button>(name);
        ASSERT_NE(button, nullptr) << name;
        ASSERT_TRUE(button->IsEnabled()) << name;
        button->Activate();
    }
    /// Clicks and waits until the worker has done what the click queued.
    void ClickAndWait(const char* name) {
        const int before = idle.count;
        Click(name);
        ASSERT_TRUE(Until([&] { return idle.count > before; })) << name << "\n" << t->Log();
    }
    bool Until(const std::function<bool()>& pred, ui::Millis ms = 60000) {
        return t->loop->RunUntil(pred, ms);
    }
    bool LogHas(std::string_view text) const { return t->Log().find(text) != std::string::npos; }
    /// The parameter lines (with "=") the unit received since `from` bytes of all it received.
    std::vector<std::string> WritesSince(size_t from) const {
        std::vector<std::string> lines;
        const std::string got = unit->Received().substr(from);
        for (size_t pos = got.find("AT"); pos != std::string::npos; pos = got.find("AT", pos)) {
            const size_t end = got.find("\r\n", pos);
            if (end == std::string::npos) break;
            const std::string line = got.substr(pos, end - pos);
            if (line.find('=') != std::string::npos) lines.push_back(line);
            pos = end;
        }
        return lines;
    }
    /// Clicks "Save" and waits for its writes; the lines the unit received.
    std::vector<std::string> Save() {
        const size_t from = unit->Received().size();
        ClickAndWait("Save");
        return WritesSince(from);
    }

    Idle idle;
    std::unique_ptr<sim::SimulatedUnit> unit;
    std::unique_ptr<TestFrame> t;
};

}  // namespace app::testing
