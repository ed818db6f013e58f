// The simulated unit seen from the tool's side of a real pseudo-terminal: late line ends and
// a unit that vanishes mid-save. Waits are only upper bounds for a failing test; the time
// checks are lower bounds, which a busy machine can only make easier to meet.
#include "sim/simulated_unit.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sim {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

const std::string kOk = "\r\nOK\r\n";

// The tool's end of the line: raw, 115200, non-blocking.
class ToolPort {
  public:
    explicit ToolPort(const std::string& path)
        : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        termios settings{};
        if (fd_ < 0 || tcgetattr(fd_, &settings) != 0) return;
        cfmakeraw(&settings);
        cfsetispeed(&settings, B115200);
        cfsetospeed(&settings, B115200);
        tcsetattr(fd_, TCSANOW, &settings);
    }
    ~ToolPort() {
        if (fd_ >= 0) close(fd_);
    }
    ToolPort(const ToolPort&) = delete;
    ToolPort& operator=(const ToolPort&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    bool Send(std::string_view text) {
        return write(fd_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }
    // Reads until `done` holds for the bytes read so far or the line hangs up; false when
    // `timeout` passes first.
    bool ReadUntil(const std::function<bool(const std::string&)>& done, milliseconds timeout) {
        const Clock::time_point end = Clock::now() + timeout;
        while (!done(got_) && !hungUp_) {
            const auto left = std::chrono::ceil<milliseconds>(end - Clock::now()).count();
            if (left <= 0) return false;
            pollfd fds{.fd = fd_, .events = POLLIN, .revents = 0};
            if (poll(&fds, 1, static_cast<int>(left)) > 0) ReadAll();
        }
        return true;
    }
    // Forgets the bytes read so far.
    void Clear() {
        got_.clear();
        reads_.clear();
    }
    const std::string& Got() const { return got_; }
    bool HungUp() const { return hungUp_; }
    // For each read: how many bytes Got() then held, and the time just after the read.
    const std::vector<std::pair<std::size_t, Clock::time_point>>& Reads() const { return reads_; }

  private:
    void ReadAll() {
        std::array<char, 4096> buffer{};
        for (;;) {
            const ssize_t n = read(fd_, buffer.data(), buffer.size());
            if (n > 0) {
                got_.append(buffer.data(), static_cast<std::size_t>(n));
                reads_.emplace_back(got_.size(), Clock::now());
                continue;
            }
            if (n == 0 || (errno != EAGAIN && errno != EINTR)) hungUp_ = true;  // EIO: gone
            if (n == 0 || errno != EINTR) return;
        }
    }

    int fd_;
    std::string got_;
    std::vector<std::pair<std::size_t, Clock::time_point>> reads_;
    bool hungUp_ = false;
};

std::function<bool(const std::string&)> Contains(std::string text) {
    return [text = std::move(text)](const std::string& got) {
        return got.find(text) != std::string::npos;
    };
}

// Starts `unit` and takes it into configuration mode through `port`.
void LogIn(SimulatedUnit& unit, std::unique_ptr<ToolPort>& port) {
    ASSERT_TRUE(unit.Start());
    port = std::make_unique<ToolPort>(unit.DevicePath());
    ASSERT_TRUE(port->IsOpen());
    ASSERT_TRUE(port->Send("s"));
    ASSERT_TRUE(port->ReadUntil(Contains("\r\nenter setting!\r\n"), milliseconds(10000)));
    port->Clear();
}

// The line end of an answer reaches the tool no sooner than `late` after the rest has been
// sent at the line speed, and until then the tool has read a prefix of the rest.
TEST(SimulatedUnit, TheToolReadsTheLineEndOfAnAnswerLate) {
    const struct {
        UnitOptions options;
        const char* line;
    } rows[] = {
        {{.paced = false, .startWindowMs = 60000, .lateLineEndMs = 300}, "AT+CSQ\r\n"},
        {{.startWindowMs = 60000, .lateLineEndMs = 100}, "AT+SHOW\r\n"},  // paced
    };
    for (const auto& row : rows) {
        SimulatedUnit reference(DefaultProfile(), {.paced = false, .startWindowMs = 60000});
        SimulatedUnit unit(DefaultProfile(), row.options);
        for (SimulatedUnit* each : {&reference, &unit}) {
            ASSERT_TRUE(each->DropLine("Server's Ip"));
            ASSERT_TRUE(each->SetValue("AT+CONNRGSTREP", "OK"));
        }
        std::unique_ptr<ToolPort> referencePort, port;
        ASSERT_NO_FATAL_FAILURE(LogIn(reference, referencePort));
        ASSERT_NO_FATAL_FAILURE(LogIn(unit, port));
        ASSERT_TRUE(referencePort->Send(row.line));
        ASSERT_TRUE(referencePort->ReadUntil(Contains("\r\n\r\nOK\r\n"), milliseconds(10000)));
        const std::string answer = referencePort->Got();
        const std::string rest = answer.substr(0, answer.size() - 2);
        const milliseconds late(row.options.lateLineEndMs);

        const Clock::time_point sent = Clock::now();
        ASSERT_TRUE(port->Send(row.line));
        ASSERT_TRUE(
            port->ReadUntil([&](const std::string& got) { return got.size() >= answer.size(); },
                            milliseconds(10000)));
        EXPECT_EQ(port->Got(), answer) << row.line;
        // Paced, the rest takes ten bit times a byte after the first.
        const auto restTime = std::chrono::nanoseconds(10'000'000'000LL / 115200) *
                              static_cast<long long>(row.options.paced ? rest.size() - 1 : 0);
        for (const auto& [size, at] : port->Reads()) {
            if (at < sent + restTime + late) {
                EXPECT_LE(size, rest.size()) << row.line;
            }
        }
    }
}

// The unit vanishes at the third write, whether the tool waits for each answer or not: the
// answers to the two before it arrive in full, the third gets none, and the line hangs up.
TEST(SimulatedUnit, TheLineHangsUpAtTheNthWriteAfterTheEarlierAnswers) {
    const UnitOptions variants[] = {
        {.paced = false, .startWindowMs = 60000, .unplugAfterWrites = 3},
        {.chunked = true, .maxChunkBytes = 3, .startWindowMs = 60000, .unplugAfterWrites = 3},
        {.paced = false,
         .chunked = true,
         .startWindowMs = 60000,
         .lateLineEndMs = 30,
         .unplugAfterWrites = 3},
    };
    // The two writes before the third are answered; the clock setting is not a write.
    const std::string answered[] = {"AT+PORT=1\r\n", "AT+EXCCLK=\"2026/01/01,00:00:00\",5\r\n",
                                    "AT+PORT=2\r\n"};
    const std::string unanswered = "AT+PORT=3\r\nAT+PORT=4\r\n";
    for (bool waitForEachAnswer : {true, false}) {
        for (const UnitOptions& options : variants) {
            SimulatedUnit unit(DefaultProfile(), options);
            std::unique_ptr<ToolPort> port;
            ASSERT_NO_FATAL_FAILURE(LogIn(unit, port));
            std::string answers;
            for (const std::string& write : answered) {
                ASSERT_TRUE(port->Send(write));
                answers += kOk;
                if (!waitForEachAnswer) continue;
                ASSERT_TRUE(port->ReadUntil([&](const std::string& got) { return got == answers; },
                                            milliseconds(10000)));
            }
            ASSERT_TRUE(port->Send(unanswered));
            EXPECT_TRUE(
                port->ReadUntil([](const std::string&) { return false; }, milliseconds(10000)));
            EXPECT_TRUE(port->HungUp());
            EXPECT_EQ(port->Got(), answers) << waitForEachAnswer;
            EXPECT_EQ(unit.Value("AT+PORT"), "2");
            const std::vector<std::string> lines = unit.ReceivedLines();
            EXPECT_NE(std::find(lines.begin(), lines.end(), "AT+PORT=3"), lines.end());
        }
    }
}

}  // namespace
}  // namespace sim
