// The serial port against real pseudo-terminals: the test holds the master side, the port
// opens the slave device as it would open a USB adapter.
#include "serial/serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/temp_folder_for_test.h"
#include "serial/serial_termios.h"

namespace serial {
namespace {

/// Collects what the port tells, from its event thread.
struct Collector : PortListener {
    void Received(std::uint64_t generation, std::string bytes) override {
        std::lock_guard lock(mutex);
        received += bytes;
        chunks.emplace_back(std::move(bytes), generation);
        changed.notify_all();
    }
    void Lost(std::uint64_t) override {
        std::lock_guard lock(mutex);
        ++lost;
        changed.notify_all();
    }
    void SetupFailed(const std::string& text) override { boxes.push_back(text); }
    /// Waits until `pred` holds (read under the lock), at most 10 s.
    bool WaitFor(const std::function<bool()>& pred) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), pred);
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::pair<std::string, std::uint64_t>> chunks;  // each with its generation
    std::string received;
    int lost = 0;
    std::vector<std::string> boxes;  // the opener's thread only
};

/// A device starts cooked (echo, line editing, CR/LF mapping), as ttys do: the port makes it
/// raw right after it is opened.
class Pty {
  public:
    Pty() {
        char name[128];
        EXPECT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        path = name;
    }
    ~Pty() { Vanish(); }
    void Write(std::string_view bytes) const {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    /// Reads until `count` bytes came or 5 s passed.
    std::string Read(size_t count) const {
        std::string got;
        char buf[256];
        for (pollfd p{master, POLLIN, 0}; got.size() < count && ::poll(&p, 1, 5000) > 0;) {
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0) break;
            got.append(buf, static_cast<size_t>(n));
        }
        return got;
    }
    /// The device goes away as an unplugged adapter does.
    void Vanish() {
        for (int fd : {slave, master}) ::close(fd);
        slave = master = -1;
    }
    int master = -1;
    int slave = -1;
    std::string path;
};

class SerialPortTest : public ::testing::Test {
  protected:
    bool Open(const std::string& path, int baud = 115200, const char* format = "8N1") {
        return port.Open(path, *MakeLineSettings(baud, format));
    }
    Collector events;
    Pty pty;
    CSerialPort port{events};
};

TEST_F(SerialPortTest, OpeningWritesTheExactBytesAndRefusesAMissingOrHeldDevice) {
    EXPECT_FALSE(Open("/dev/nonexistent-tty"));
    EXPECT_EQ(port.LastOpenError(), ENOENT);
    const int holder = ::open(pty.path.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(Open(pty.path));
    EXPECT_EQ(port.LastOpenError(), EWOULDBLOCK);
    // A refused open keeps no descriptor of its own.
    const auto descriptors = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                             std::filesystem::directory_iterator{});
    };
    const auto before = descriptors();
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(Open(pty.path));
    EXPECT_EQ(descriptors(), before);
    ::close(holder);
    EXPECT_TRUE(events.boxes.empty());
    ASSERT_TRUE(Open(pty.path));
    const std::string line = "\r\nAT+SHOW\r\n";
    EXPECT_EQ(port.Write(line), line.size());
    EXPECT_EQ(pty.Read(line.size()), line);
}

// Standard and other rates reach the device, a cooked device is raw once opened, and the stop
// bits reach it (a pseudo-terminal keeps 8 bits without parity whatever is asked). A pseudo-
// terminal has no low-latency setting: it opens as any other device does.
TEST_F(SerialPortTest, RatesAndStopBitsReachTheDeviceWhichIsRawOnceOpened) {
    termios t{};
    ASSERT_EQ(::tcgetattr(pty.slave, &t), 0);
    t.c_lflag |= ICANON | ECHO;
    t.c_oflag |= OPOST;
    ASSERT_EQ(::tcsetattr(pty.slave, TCSANOW, &t), 0);
    for (int baud : {9600, 250000, 4800}) {
        ASSERT_TRUE(Open(pty.path, baud, baud == 250000 ? "7E2" : "8N1"));
        EXPECT_EQ(tty::CurrentBaud(pty.slave), baud);
        ASSERT_EQ(::tcgetattr(pty.slave, &t), 0);
        EXPECT_EQ((t.c_cflag & CSTOPB) != 0, baud == 250000) << baud;
    }
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B4800));  // a standard rate by its constant
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | INLCR | IXON), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_TRUE(events.boxes.empty());
}

// A device that takes no line settings opens all the same; the box names the device, the step
// and the system's reason.
TEST_F(SerialPortTest, SettingsTheDeviceRefusesAreNamedAndThePortStaysOpen) {
    platform::testing_support::TempFolder folder;
    const std::string notATerminal = folder.File("ttyNone");
    platform::testing_support::WriteFile(notATerminal, "");
    ASSERT_TRUE(Open(notATerminal, 9600, "7E1"));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(events.boxes,
              std::vector<std::string>{
                  notATerminal + ": cannot set the line to 9600 7E1: " + std::strerror(ENOTTY)});
}

// Reads never wait, so bytes that poll announced and that were discarded before the read give
// a read of nothing: that is not the device going away.
TEST(SerialPortReads, FlushedInputIsNothingAndAVanishedPeerIsLost) {
    Pty pty;
    const int fd = tty::OpenExclusive(pty.path);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(tty::MakeRaw(fd));
    char buffer[64];
    size_t n = 0;
    pty.Write("hello");
    pollfd p{fd, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 5000), 1);
    tty::PurgeInput(fd);
    EXPECT_EQ(tty::ReadAvailable(fd, buffer, sizeof buffer, n), tty::ReadOutcome::kNothing);
    pty.Write("again");
    ASSERT_EQ(::poll(&p, 1, 5000), 1);
    EXPECT_EQ(tty::InputQueued(fd), 5);
    EXPECT_EQ(tty::InputQueued(-1), 0);  // a device that cannot be asked has nothing queued
    EXPECT_EQ(tty::ReadAvailable(fd, buffer, sizeof buffer, n), tty::ReadOutcome::kData);
    EXPECT_EQ(std::string(buffer, n), "again");
    pty.Vanish();
    EXPECT_EQ(tty::ReadAvailable(fd, buffer, sizeof buffer, n), tty::ReadOutcome::kLost);
    ::close(fd);
}

// An adapter whose output never leaves: the write fails after its bound instead of holding
// the caller. The stand-in for the device's output queue moves the clock on each look.
std::int64_t drainNow = 0;
std::int64_t DrainNow() {
    return drainNow;
}
int NeverSent(int) {
    drainNow += 100;
    return 1;
}

TEST_F(SerialPortTest, WriteThatNeverLeavesFailsAfterItsBound) {
    ASSERT_TRUE(Open(pty.path, 9600));
    port.SetClock(DrainNow);
    port.SetOutputQueuedQuery(NeverSent);
    const std::int64_t start = drainNow;
    EXPECT_EQ(port.Write(std::string(2400, 'x')), 0u);  // 2.5 s of line time at 9600 baud
    EXPECT_GE(drainNow - start, 2500);
    EXPECT_LT(drainNow - start, 2700);
    port.SetOutputQueuedQuery(tty::OutputQueued);
    EXPECT_EQ(port.Write("x"), 1u);
}

TEST_F(SerialPortTest, ChunksArriveInOrderAndNeverAboveTheLimit) {
    ASSERT_TRUE(Open(pty.path));
    std::string sent;
    for (int i = 0; i < 5000; ++i) sent.push_back(static_cast<char>('A' + i % 50));
    pty.Write(sent);
    ASSERT_TRUE(events.WaitFor([&] { return events.received.size() >= sent.size(); }));
    std::lock_guard lock(events.mutex);
    EXPECT_EQ(events.received, sent);
    for (const auto& [chunk, generation] : events.chunks) {
        EXPECT_LE(chunk.size(), 4095u);
        EXPECT_EQ(generation, port.Generation());
    }
}

// A signal that cuts the event thread's wait short (a debugger, a timer of the program's) is
// not the device going away: the port reads on.
TEST_F(SerialPortTest, ASignalDuringTheWaitIsNotALostDevice) {
    struct sigaction quiet {};
    quiet.sa_handler = [](int) {};  // and no SA_RESTART: the wait ends with EINTR
    struct sigaction before {};
    ASSERT_EQ(::sigaction(SIGUSR2, &quiet, &before), 0);
    ASSERT_TRUE(Open(pty.path));
    // Only the port's thread, started before this, takes the signal.
    sigset_t usr2;
    ::sigemptyset(&usr2);
    ::sigaddset(&usr2, SIGUSR2);
    ASSERT_EQ(::pthread_sigmask(SIG_BLOCK, &usr2, nullptr), 0);
    for (int i = 0; i < 10; ++i) {
        ::kill(::getpid(), SIGUSR2);
        for (sigset_t pending; ::sigpending(&pending) == 0 && ::sigismember(&pending, SIGUSR2);) {
            std::this_thread::yield();
        }
    }
    pty.Write("after");
    events.WaitFor([&] { return events.received == "after" || events.lost > 0; });
    port.Close();
    ::pthread_sigmask(SIG_UNBLOCK, &usr2, nullptr);
    ::sigaction(SIGUSR2, &before, nullptr);
    std::lock_guard lock(events.mutex);
    EXPECT_EQ(events.lost, 0);
    EXPECT_EQ(events.received, "after");
}

TEST_F(SerialPortTest, HangUpIsReportedOnceAndTheThreadStops) {
    ASSERT_TRUE(Open(pty.path));
    pty.Vanish();
    ASSERT_TRUE(events.WaitFor([&] { return events.lost > 0; }));
    port.Close();  // returns: the thread waits only for the shutdown
    EXPECT_FALSE(port.IsOpen());
    std::lock_guard lock(events.mutex);
    EXPECT_EQ(events.lost, 1);
}

// Nothing of a closed port is delivered with the current generation: the owner drops it by
// that. A port opened again gets a new thread that reads.
TEST_F(SerialPortTest, ClosingOrOpeningAgainEndsTheOldGenerationAndItsThread) {
    ASSERT_TRUE(Open(pty.path));
    pty.Write(std::string(3000, 'x'));
    ASSERT_TRUE(events.WaitFor([&] { return !events.received.empty(); }));
    port.Close();
    const auto closed = port.Generation();
    {
        std::lock_guard lock(events.mutex);
        for (const auto& [chunk, generation] : events.chunks) EXPECT_LT(generation, closed);
        events.received.clear();
    }
    EXPECT_EQ(port.Write("x"), 0u);
    ASSERT_TRUE(Open(pty.path));
    ASSERT_TRUE(Open(pty.path));  // over the open port and its running thread
    EXPECT_GT(port.Generation(), closed + 1);
    pty.Write("after");
    ASSERT_TRUE(events.WaitFor([&] { return events.received == "after"; }));
}

}  // namespace
}  // namespace serial
