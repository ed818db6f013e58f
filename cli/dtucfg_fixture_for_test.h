// Test support: the built dtucfg run as a child process against a simulated unit on a
// pseudo-terminal, and what the unit received.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/child_process_for_test.h"
#include "cli/json_for_test.h"
#include "sim/simulated_unit.h"

namespace cli::testing {

inline const std::string kProgram = std::string(DTU_BIN_DIR) + "/dtucfg";

class Dtucfg : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("dtucfg-e2e-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        unit.reset();
        std::filesystem::remove_all(dir_);
    }

    /// Starts a unit of `profile`: it powers on and opens its start window now.
    sim::SimulatedUnit& StartUnit(const char* profile = "base") {
        unit = std::make_unique<sim::SimulatedUnit>(*sim::FindProfile(profile));
        EXPECT_TRUE(unit->Start());
        return *unit;
    }
    /// Runs dtucfg on the unit's port with `args` after the port option.
    ChildResult Run(std::vector<std::string> args,
                    std::chrono::milliseconds timeout = std::chrono::seconds(90)) {
        args.insert(args.begin(), {"--port", unit->DevicePath()});
        return testing::RunChild(kProgram, args, timeout);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    /// The lines the unit received, without the handshake bytes "s" that may stand before
    /// the first command of a run on the same line.
    std::vector<std::string> ReceivedCommands() const {
        std::vector<std::string> lines = unit->ReceivedLines();
        for (std::string& line : lines) {
            const size_t start = line.find_first_not_of('s');
            if (start != std::string::npos && (line[start] == 'A' || line[start] == 'a')) {
                line.erase(0, start);
            }
        }
        return lines;
    }
    /// How often the unit received `line` followed by CR LF.
    size_t Count(std::string_view line) const {
        const std::vector<std::string> lines = ReceivedCommands();
        return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
    }
    /// The parameter writes the unit received: command lines with "=".
    std::vector<std::string> Writes() const {
        std::vector<std::string> writes;
        for (const std::string& line : ReceivedCommands()) {
            if (line.rfind("AT+", 0) == 0 && line.find('=') != std::string::npos) {
                writes.push_back(line);
            }
        }
        return writes;
    }
    /// The unit's value for `key`: one of its commands ("AT+PORT") or a label ("Device Type").
    std::string Value(const char* key) const { return unit->Value(key).value_or("(none)"); }

    std::unique_ptr<sim::SimulatedUnit> unit;

  private:
    std::filesystem::path dir_;
};

inline std::string Show(const ChildResult& r) {
    return "exit " + std::to_string(r.exitCode) + (r.finished ? "" : " (killed)") + "\n--- out:\n" +
           r.out + "--- err:\n" + r.err;
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

inline bool Has(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

}  // namespace cli::testing
