#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "link/link.h"

namespace devlink {
namespace {

TEST(Operations, ClockTextIsZeroPaddedAndTheSimQueryFollowsTheModule) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(MakeClockText(1803884709LL), "2027/03/01,07:05:09");
    EXPECT_EQ(MakeClockText(1796503328LL), "2026/12/05,20:42:08");
    EXPECT_EQ(SimQueryLine("Quectel-BG36-X"), "\r\nAT+CPIN?\r\n");
    EXPECT_EQ(SimQueryLine("BG96"), "\r\nAT+CPIN?\r\n");
    EXPECT_EQ(SimQueryLine("SIM7000"), "\r\nAT+CIMI\r\n");
    EXPECT_EQ(SimQueryLine("bg96"), "\r\nAT+CIMI\r\n");  // case matters
}

}  // namespace
}  // namespace devlink
