// Test support: dtucfg run in this process, on a manual clock, against a simulated unit on a
// pseudo-terminal, and what the unit received.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run.h"
#include "platform/temp_folder_for_test.h"
#include "sim/simulated_unit.h"

namespace cli::testing {

struct RunResult {
    int code = -1;
    std::string out, err;
};

class Dtucfg : public ::testing::Test {
  protected:
    /// A unit of `profile`, starting: the handshake brings it into configuration mode.
    sim::SimulatedUnit& StartUnit(const char* profile = "base", sim::UnitOptions options = {}) {
        options.paced = false;
        if (options.startWindowMs == 3000) options.startWindowMs = 10 * 60 * 1000;
        unit = std::make_unique<sim::SimulatedUnit>(*sim::FindProfile(profile), options);
        EXPECT_TRUE(unit->Start());
        return *unit;
    }
    /// dtucfg with `args` on the unit's port, or as given when there is no unit.
    RunResult Run(std::vector<std::string> args) {
        if (unit) args.insert(args.begin(), {"--port", port.empty() ? unit->DevicePath() : port});
        // A unit still configuring from the run before ignores the handshake: "+++" soon.
        if (std::find(args.begin(), args.end(), "--login-wait") == args.end()) {
            args.insert(args.begin(), {"--login-wait", "0.3"});
        }
        std::ostringstream out, err;
        const int code =
            RunDtucfg(args, Environment{std::string(DTU_BIN_DIR) + "/", false, &clock}, out, err);
        return {code, out.str(), err.str()};
    }
    std::string Path(const std::string& name) const { return folder_.File(name); }
    /// The command lines the unit received, without the handshake bytes before them.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines = unit->ReceivedLines();
        for (std::string& line : lines) line.erase(0, line.find_first_not_of('s'));
        return lines;
    }
    size_t Count(std::string_view line) const {
        return static_cast<size_t>(std::ranges::count(Lines(), line));
    }
    /// The parameter writes the unit received: command lines with "=".
    std::vector<std::string> Writes() const {
        std::vector<std::string> writes;
        std::ranges::copy_if(Lines(), std::back_inserter(writes), [](const std::string& line) {
            return line.starts_with("AT+") && line.find('=') != std::string::npos;
        });
        return writes;
    }

    ui::ManualClock clock;
    std::unique_ptr<sim::SimulatedUnit> unit;
    std::string port;  ///< the path dtucfg opens instead of the unit's device

  private:
    platform::testing_support::TempFolder folder_;
};

inline std::string Show(const RunResult& r) {
    return "exit " + std::to_string(r.code) + "\n--- out:\n" + r.out + "--- err:\n" + r.err;
}

inline bool Has(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

using platform::testing_support::ReadFile;

}  // namespace cli::testing
