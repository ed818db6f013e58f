// The serial port against real pseudo-terminals: the test holds the master side, the port
// opens the slave device as it would open a USB adapter.
#include "serial/serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "serial/serial_termios.h"
#include "ui/headless_loop.h"

namespace devlink {
namespace {

/// Collects what the port delivers, on the headless loop.
struct PortWindow : ui::Window {
    PortWindow() : ui::Window(ui::RealClock()) {}
    std::intptr_t HandleMessage(const ui::Message& msg, bool&) override {
        if (msg.id == UM_SERIAL_DATA) {
            chunks.emplace_back(msg.payload, msg.wParam);
            received += msg.payload;
        }
        lost += msg.id == UM_PORT_LOST;
        errors += msg.id == UM_PORT_ERROR;
        return 0;
    }
    std::vector<std::pair<std::string, std::uintptr_t>> chunks;  // each with its generation
    std::string received;
    int lost = 0, errors = 0;
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
    bool Open(const std::string& path, int baud = 115200) {
        return port.OpenPort(&window, path, baud, 'N', 8, 1, EV_RXCHAR, 8192);
    }
    bool OpenWatched() { return Open(pty.path) && port.StartEventThread(); }
    void SetUp() override {
        port.SetErrorBox([this](const std::string& text) { boxes.push_back(text); });
    }
    PortWindow window;
    ui::HeadlessLoop loop{window};
    Pty pty;
    CSerialPort port;
    std::vector<std::string> boxes;
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
    EXPECT_TRUE(boxes.empty());
    ASSERT_TRUE(Open(pty.path));
    const std::string line = "\r\nAT+SHOW\r\n";
    EXPECT_EQ(port.WriteNow(line), line.size());
    EXPECT_EQ(pty.Read(line.size()), line);
}

// Standard and other rates reach the device. A settings text the parser refuses shows its box,
// keeps the port open with the speed it had, and leaves it raw.
TEST_F(SerialPortTest, RatesReachTheDeviceAndRefusedSettingsLeaveItRawAtItsSpeed) {
    for (int baud : {9600, 250000, 4800}) {
        ASSERT_TRUE(Open(pty.path, baud));
        EXPECT_EQ(tty::CurrentBaud(pty.slave), baud);
    }
    termios t{};
    ASSERT_EQ(::tcgetattr(pty.slave, &t), 0);
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B4800));  // a standard rate by its constant
    t.c_lflag |= ICANON | ECHO;
    t.c_oflag |= OPOST;
    ASSERT_EQ(::tcsetattr(pty.slave, TCSANOW, &t), 0);
    EXPECT_TRUE(port.OpenPort(&window, pty.path, 9600, 'X', 8, 1, EV_RXCHAR, 8192));
    EXPECT_TRUE(port.IsOpen());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "WARNING:  BuildCommDCB() Failed with the following error: \n" +
                            std::string(std::strerror(EINVAL)) + "\nPort: " + pty.path + "\n");
    EXPECT_EQ(tty::CurrentBaud(pty.slave), 4800);  // the old speed stays
    ASSERT_EQ(::tcgetattr(pty.slave, &t), 0);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | INLCR | IXON), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
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
    EXPECT_EQ(tty::ReadAvailable(fd, buffer, sizeof buffer, n), tty::ReadOutcome::kData);
    EXPECT_EQ(std::string(buffer, n), "again");
    pty.Vanish();
    EXPECT_EQ(tty::ReadAvailable(fd, buffer, sizeof buffer, n), tty::ReadOutcome::kLost);
    ::close(fd);
}

// An adapter whose output never leaves: the write fails after its bound instead of holding
// the caller. The stand-in for the device's output queue moves the clock on each look.
ui::ManualClock drainClock;
int NeverSent(int) {
    drainClock.Advance(100);
    return 1;
}

TEST_F(SerialPortTest, WriteThatNeverLeavesFailsAfterItsBound) {
    ASSERT_TRUE(Open(pty.path, 9600));
    port.SetClock(drainClock);
    port.SetOutputQueuedQuery(NeverSent);
    const ui::Millis start = drainClock.Now();
    EXPECT_EQ(port.WriteNow(std::string(2400, 'x')), 0u);  // 2.5 s of line time at 9600 baud
    EXPECT_GE(drainClock.Now() - start, 2500);
    EXPECT_LT(drainClock.Now() - start, 2700);
    port.SetOutputQueuedQuery(tty::OutputQueued);
    EXPECT_EQ(port.WriteNow("x"), 1u);
}

TEST_F(SerialPortTest, ChunksArriveInOrderAndNeverAboveTheLimit) {
    ASSERT_TRUE(OpenWatched());
    std::string sent;
    for (int i = 0; i < 5000; ++i) sent.push_back(static_cast<char>('A' + i % 50));
    pty.Write(sent);
    ASSERT_TRUE(loop.RunUntil([&] { return window.received.size() >= sent.size(); }, 10000));
    EXPECT_EQ(window.received, sent);
    for (const auto& [chunk, generation] : window.chunks) {
        EXPECT_LE(chunk.size(), 4095u);
        EXPECT_EQ(generation, port.Generation());
    }
}

TEST_F(SerialPortTest, HangUpIsReportedOnceAndTheThreadStops) {
    ASSERT_TRUE(OpenWatched());
    pty.Vanish();
    ASSERT_TRUE(loop.RunUntil([&] { return window.lost > 0; }, 10000));
    loop.RunFor(100);
    EXPECT_EQ(window.lost, 1);
    port.ClosePort();  // returns: the thread waits only for the shutdown
    EXPECT_FALSE(port.IsOpen());
}

// Nothing of a closed port is delivered with the current generation: the owner drops it by
// that. A port opened again gets a new thread that reads, and writes what is queued for it:
// all of it, with no error posted (the error would come before the data that follows it).
TEST_F(SerialPortTest, ClosingOrOpeningAgainEndsTheOldGenerationAndItsThread) {
    ASSERT_TRUE(OpenWatched());
    pty.Write(std::string(3000, 'x'));
    ASSERT_TRUE(loop.RunUntil([&] { return !window.received.empty(); }, 10000));
    port.ClosePort();
    const auto closed = port.Generation();
    loop.RunFor(50);
    for (const auto& [chunk, generation] : window.chunks) EXPECT_LT(generation, closed);
    EXPECT_EQ(port.WriteNow("x"), 0u);
    ASSERT_TRUE(OpenWatched());
    ASSERT_TRUE(OpenWatched());  // over the open port and its running thread
    EXPECT_GT(port.Generation(), closed + 1);
    window.received.clear();
    pty.Write("after");
    ASSERT_TRUE(loop.RunUntil([&] { return window.received == "after"; }, 10000));
    port.QueueWrite("queued\r\n");
    EXPECT_EQ(pty.Read(8), "queued\r\n");
    pty.Write("again");
    ASSERT_TRUE(loop.RunUntil([&] { return window.received == "afteragain"; }, 10000));
    EXPECT_EQ(window.errors, 0);
}

}  // namespace
}  // namespace devlink
