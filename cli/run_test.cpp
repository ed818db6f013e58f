// dtucfg run in this process against a simulated unit: what only a whole run shows.
#include "cli/run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "sim/simulated_unit.h"

namespace cli {
namespace {

using namespace std::chrono_literals;

int RunInProcess(const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::ostringstream o, e;
    const int code = RunDtucfg(args, Environment{std::string(DTU_BIN_DIR) + "/", false}, o, e);
    out = o.str();
    err = e.str();
    return code;
}

// The adapter is pulled while "Save" writes: the run ends with the port's exit code and names
// what was never sent, instead of waiting out the time limit of the write in progress.
TEST(DtucfgRun, APortLostWhileWritingEndsTheRunAndNamesWhatWasNotSent) {
    sim::SimulatedUnit unit(*sim::FindProfile("base"));
    ASSERT_TRUE(unit.Start());
    std::thread puller([&] {
        if (unit.WaitForReceived("AT+APN=internet\r\n", 60s)) unit.Unplug();
    });
    std::string out, err;
    const int code = RunInProcess({"--port", unit.DevicePath(), "set", "Access Point Name=internet",
                                   "Server's Port=6000", "User Id=bob"},
                                  out, err);
    puller.join();
    EXPECT_EQ(code, 3) << err;
    EXPECT_NE(err.find("not sent: AT+USERNAME=bob"), std::string::npos) << err;
    EXPECT_EQ(err.find("The unit did not answer in time"), std::string::npos) << err;
}

}  // namespace
}  // namespace cli
