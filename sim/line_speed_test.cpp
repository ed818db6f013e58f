// The unit paces its output to the speed the tool set on its end of the line.
#include "sim/line_speed.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

namespace sim {
namespace {

TEST(LineBaud, IsTheSpeedTheOtherEndSetAndTheFallbackOtherwise) {
    int master = -1;
    int unitSide = -1;  // the unit's own descriptor of the device
    char path[64] = {};
    ASSERT_EQ(openpty(&master, &unitSide, path, nullptr, nullptr), 0);
    const int tool = open(path, O_RDWR | O_NOCTTY);
    termios settings{};
    ASSERT_EQ(tcgetattr(tool, &settings), 0);
    for (const auto& [speed, baud] : {std::pair{B9600, 9600L},
                                      {B2400, 2400L},
                                      {B0, 115200L},
                                      {B4000000, 4000000L},
                                      {B115200, 115200L}}) {
        cfsetospeed(&settings, speed);
        ASSERT_EQ(tcsetattr(tool, TCSANOW, &settings), 0);
        EXPECT_EQ(LineBaud(unitSide), baud) << baud;
    }
    EXPECT_EQ(LineBaud(-1), kFallbackBaud);
    close(tool);
    close(unitSide);
    close(master);
}

}  // namespace
}  // namespace sim
