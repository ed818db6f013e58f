// The built dtucfg as a child process: what only a process shows, its exit code and which
// stream carries what.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace cli {
namespace {

struct Child {
    int code = -1;
    std::string out, err;
};

/// Runs the built program with `args` (single-quoted for the shell) and collects its streams.
Child RunProgram(const std::string& args) {
    const std::string errFile = "/tmp/dtucfg-child-" + std::to_string(::getpid()) + ".err";
    const std::string command = std::string(DTU_BIN_DIR) + "/dtucfg " + args + " 2>" + errFile;
    Child child;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            child.out.append(buffer, n);
        }
        const int status = ::pclose(pipe);
        child.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::ostringstream err;
    err << std::ifstream(errFile).rdbuf();
    child.err = err.str();
    std::remove(errFile.c_str());
    return child;
}

TEST(DtucfgProcess, ResultsGoToStandardOutputAndFailuresToStandardError) {
    const Child read = RunProgram("--simulate read");
    EXPECT_EQ(read.code, 0) << read.err;
    EXPECT_EQ(std::count(read.out.begin(), read.out.end(), '\n'), 185);
    EXPECT_EQ(read.err, "");  // not a terminal: no progress
    const Child bad = RunProgram("--simulate frobnicate");
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "dtucfg: unknown command \"frobnicate\"\nTry \"dtucfg --help\".\n");
    const Child missing = RunProgram("--port /dev/nonexistent-tty read");
    EXPECT_EQ(missing.code, 3);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace cli
