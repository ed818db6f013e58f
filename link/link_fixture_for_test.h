// Test support: a link on a manual clock, talking to a simulated unit on a pseudo-terminal.
// The window runs on a manual clock: time-outs pass only when the loop lets virtual time pass.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "link/host_window_for_test.h"
#include "sim/simulated_unit.h"
#include "ui/headless_loop.h"

namespace devlink::testing {

/// How often `part` stands in `text`.
inline size_t Occurrences(std::string_view text, std::string_view part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != text.npos; at = text.find(part, at + 1)) ++n;
    return n;
}

/// A link on a manual clock, talking to a simulated unit.
class LinkTest : public ::testing::Test {
  protected:
    void TearDown() override;
    /// A unit of `profile` (sent at once unless `paced`) and the window listing its port.
    void StartUnit(sim::UnitOptions options = {}, const char* profile = "base", bool paced = false);
    /// Chooses the speed and clicks "Open" as the form's button does.
    void Open(const char* baud = "115200");
    /// Opens the port and waits until the starting unit has answered the handshake.
    void OpenAndLogIn();
    /// Runs the loop until `pred` holds; at most `ms` of virtual time pass.
    bool Until(const std::function<bool()>& pred, ui::Millis ms = 60000) {
        return loop.RunUntil(pred, ms);
    }
    /// Runs the loop until `pred` holds without letting virtual time pass (other threads get
    /// real time; a test that hangs ends after half a minute).
    bool UntilWithoutTime(const std::function<bool()>& pred);
    /// Queues a job and runs until the worker is idle again.
    bool Run(model::JobKind kind, std::string_view line);
    bool Enabled(std::string_view name) { return window.Find(name)->IsEnabled(); }
    /// How often the log holds `text`.
    size_t Logged(std::string_view text) const { return Occurrences(window.log, text); }

    ui::ManualClock clock;
    HostWindow window{clock};
    ui::HeadlessLoop loop{window};
    Events events{clock};
    std::unique_ptr<sim::SimulatedUnit> unit;
};

}  // namespace devlink::testing
