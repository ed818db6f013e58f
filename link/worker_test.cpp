// The write job worker against a real pseudo-terminal, on a manual clock.
#include "link/worker.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <thread>

#include "link/link_host_for_test.h"

namespace devlink {
namespace {

using testing::HostWindow;

class WorkerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[128];
        termios raw{};
        ::cfmakeraw(&raw);
        ASSERT_EQ(::openpty(&master_, &slave_, name, &raw, nullptr), 0);
        ASSERT_TRUE(
            window.link.serialPort.OpenPort(&window, name, 115200, 'N', 8, 1, EV_RXCHAR, 8192));
    }
    void TearDown() override {
        ::close(master_);
        ::close(slave_);
    }
    /// Moves the clock on until `done` holds; the worker runs on real threads meanwhile.
    bool AdvanceUntil(const std::function<bool()>& done) {
        for (int step = 0; step < 100000 && !done(); ++step) {
            clock.Advance(5);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return done();
    }
    /// Everything the unit side has received so far.
    std::string Received() {
        std::string got;
        pollfd p{master_, POLLIN, 0};
        while (::poll(&p, 1, 0) == 1) {
            char buffer[256];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0) break;
            got.append(buffer, static_cast<size_t>(n));
        }
        return got;
    }

    ui::ManualClock clock;
    HostWindow window{clock};
    int master_ = -1;
    int slave_ = -1;
};

TEST_F(WorkerTest, NothingIsWrittenOnceTheWindowHasBegunToClose) {
    ASSERT_TRUE(window.link.StartWorker());
    window.EndLoop();  // the window's destruction has begun
    window.link.QueueJob(model::kVersion, "At+VER\r\n");
    ASSERT_TRUE(AdvanceUntil([&] { return window.link.jobQueue.Size() == 0; }));
    window.link.StopWorker();
    EXPECT_EQ(Received(), "");
}

}  // namespace
}  // namespace devlink
