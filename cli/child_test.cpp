// The built dtucfg as a child process: what only a process shows, its exit code and which
// stream carries what.
#include <sys/wait.h>

#include <cstdlib>

#include "cli/dtucfg_fixture_for_test.h"

namespace cli::testing {
namespace {

/// Runs the built program with `args` (given to the shell as they are) and collects its streams.
RunResult RunProgram(const std::string& args) {
    const std::string base = "/tmp/dtucfg-child-" + std::to_string(::getpid());
    const int status = std::system(
        (std::string(DTU_BIN_DIR) + "/dtucfg " + args + " >" + base + ".out 2>" + base + ".err")
            .c_str());
    RunResult r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(base + ".out"),
                ReadFile(base + ".err")};
    std::filesystem::remove(base + ".out");
    std::filesystem::remove(base + ".err");
    return r;
}

TEST(DtucfgProcess, ResultsGoToStandardOutputAndFailuresToStandardError) {
    const RunResult read = RunProgram("--simulate read");
    EXPECT_EQ(read.code, 0) << read.err;
    EXPECT_EQ(std::count(read.out.begin(), read.out.end(), '\n'), 185);
    EXPECT_EQ(read.err, "");  // not a terminal: no progress
    const RunResult bad = RunProgram("--simulate frobnicate");
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "dtucfg: unknown command \"frobnicate\"\nTry \"dtucfg --help\".\n");
    const RunResult ports = RunProgram("ports --json");  // whatever the machine has, a list
    EXPECT_EQ(ports.code, 0) << ports.err;
    EXPECT_TRUE(ports.out.starts_with("[") && ports.out.ends_with("]\n")) << ports.out;
}

}  // namespace
}  // namespace cli::testing
