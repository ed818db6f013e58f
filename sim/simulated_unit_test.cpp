// The simulated unit seen from the tool's side of a real pseudo-terminal: late line ends, a
// unit that vanishes mid-save and comes back, one that restarts. Waits are only upper bounds
// for a failing test; time checks are lower bounds, which a busy machine only makes easier.
#include "sim/simulated_unit.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;

// The tool's end of the line: raw, 115200, non-blocking; what it read, and when.
struct ToolPort {
    explicit ToolPort(const std::string& path)
        : fd(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        termios settings{};
        tcgetattr(fd, &settings);
        cfmakeraw(&settings);
        cfsetspeed(&settings, B115200);
        tcsetattr(fd, TCSANOW, &settings);
    }
    ~ToolPort() { close(fd); }

    bool Send(std::string_view text) {
        return write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }
    // Reads until `done` holds for all read so far or the line hangs up; false after 10 s.
    bool ReadUntil(const std::function<bool(const std::string&)>& done) {
        const Clock::time_point end = Clock::now() + std::chrono::seconds(10);
        while (!done(got) && !hungUp) {
            if (Clock::now() > end) return false;
            pollfd fds{.fd = fd, .events = POLLIN, .revents = 0};
            if (poll(&fds, 1, 100) <= 0) continue;
            char buffer[4096];
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
            if (n > 0) reads.emplace_back(got.size(), Clock::now());
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) hungUp = true;  // EIO
        }
        return true;
    }

    int fd;
    std::string got;
    std::vector<std::pair<std::size_t, Clock::time_point>> reads;  // size of got after each
    bool hungUp = false;
};

// Starts `unit` and takes it into configuration mode; null when that fails.
std::unique_ptr<ToolPort> LogIn(SimulatedUnit& unit) {
    if (!unit.Start()) return nullptr;
    auto port = std::make_unique<ToolPort>(unit.DevicePath());
    const auto in = [](const std::string& got) {
        return got.find("\r\nenter setting!\r\n") != std::string::npos;
    };
    if (!port->Send("s") || !port->ReadUntil(in) || !in(port->got)) return nullptr;
    port->got.clear();
    port->reads.clear();
    return port;
}

// The line end of an answer reaches the tool no sooner than `late` after the rest has been
// sent at the line speed, and until then the tool has read a prefix of the rest. The unit then
// restarts as the second write arrives: that write is lost, the first stays, and the start
// prompt follows; the handshake takes it back into configuration mode.
TEST(SimulatedUnit, TheLineEndOfAnAnswerComesLateAndARestartKeepsWhatWasStored) {
    const std::chrono::milliseconds late(100);  // less than the report's line time
    SimulatedUnit unit(DefaultProfile(),
                       {.startWindowMs = 60000, .lateLineEndMs = 100, .restartAfterWrites = 2});
    const std::string answer = UnitState(DefaultProfile()).Report();
    const std::unique_ptr<ToolPort> port = LogIn(unit);
    ASSERT_TRUE(port);
    const Clock::time_point sent = Clock::now();
    ASSERT_TRUE(port->Send("AT+SHOW\r\n"));
    ASSERT_TRUE(
        port->ReadUntil([&](const std::string& got) { return got.size() >= answer.size(); }));
    EXPECT_EQ(port->got, answer);
    // The rest takes ten bit times a byte after the first.
    const auto lineEndDue = sent + late +
                            std::chrono::nanoseconds(10'000'000'000LL / 115200) *
                                static_cast<long long>(answer.size() - 3);
    for (const auto& [size, at] : port->reads) {
        EXPECT_TRUE(at >= lineEndDue || size <= answer.size() - 2) << size;
    }
    port->got.clear();
    ASSERT_TRUE(port->Send("AT+PORT=7\r\nAT+APN=lost\r\n"));
    const auto prompt = [](const std::string& got) { return got.find("'s' key") != got.npos; };
    ASSERT_TRUE(port->ReadUntil(prompt));
    EXPECT_EQ(port->got.find("OK\r\n"), port->got.rfind("OK\r\n"));  // one answer only
    EXPECT_EQ(unit.Mode(), UnitMode::kStarting);
    ASSERT_TRUE(port->Send("s"));
    EXPECT_TRUE(unit.WaitForMode(UnitMode::kConfiguring, std::chrono::seconds(10)));
    EXPECT_EQ(unit.Value("AT+PORT"), "7");
    EXPECT_EQ(unit.Value("AT+APN"), "cmnet");
}

// The unit vanishes at the third write, whether the tool waits for each answer or not: the
// answers to the two before it arrive in full (paced, in pieces, their line ends late), the
// third gets none, and the line hangs up. The adapter then comes back on a new device behind
// the same link, by itself or plugged by hand: the tool's old descriptor stays hung up, and
// the link leads to the unit in the mode it was in, with the value it had stored.
TEST(SimulatedUnit, TheLineHangsUpAtTheNthWriteAndComesBackBehindTheSameLink) {
    char folder[] = "/tmp/dtusim-link-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string link = std::string(folder) + "/unit";
    // The two writes before the third are answered; the clock setting is not a write.
    const std::string answered[] = {"AT+PORT=1\r\n", "AT+EXCCLK=\"2026/01/01,00:00:00\",5\r\n",
                                    "AT+PORT=2\r\n"};
    for (const auto& [waitForEachAnswer, returnAfterMs] : {std::pair{true, 0}, {false, 20}}) {
        SimulatedUnit unit(DefaultProfile(), {.chunked = true,
                                              .maxChunkBytes = 3,
                                              .startWindowMs = 60000,
                                              .lateLineEndMs = 30,
                                              .unplugAfterWrites = 3,
                                              .linkPath = link,
                                              .returnAfterMs = returnAfterMs});
        const std::unique_ptr<ToolPort> port = LogIn(unit);
        ASSERT_TRUE(port);
        char target[256] = {};
        ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(unit.DevicePath(), target);
        std::string answers;
        for (const std::string& write : answered) {
            ASSERT_TRUE(port->Send(write));
            answers += "\r\nOK\r\n";
            if (waitForEachAnswer) {
                ASSERT_TRUE(
                    port->ReadUntil([&](const std::string& got) { return got == answers; }));
            }
        }
        ASSERT_TRUE(port->Send("AT+PORT=3\r\nAT+PORT=4\r\n"));
        EXPECT_TRUE(port->ReadUntil([](const std::string&) { return false; }));
        EXPECT_TRUE(port->hungUp);
        EXPECT_EQ(port->got, answers) << waitForEachAnswer;
        EXPECT_EQ(unit.Value("AT+PORT"), "2");
        const std::vector<std::string> lines = unit.ReceivedLines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), "AT+PORT=3"), lines.end());
        if (returnAfterMs == 0) {
            EXPECT_NE(access(link.c_str(), F_OK), 0);  // gone until plugged back
            unit.Replug();
        }
        for (int tries = 0; tries < 1000 && access(link.c_str(), F_OK) != 0; ++tries) {
            usleep(10 * 1000);  // an upper bound only: the adapter comes back after 20 ms
        }
        ToolPort again(link);
        ASSERT_TRUE(again.Send("AT+PORT=9\r\n")) << returnAfterMs;
        EXPECT_TRUE(again.ReadUntil([](const std::string& got) { return got == "\r\nOK\r\n"; }));
        EXPECT_EQ(unit.Value("AT+PORT"), "9") << returnAfterMs;
    }
    rmdir(folder);
}

}  // namespace
}  // namespace sim
