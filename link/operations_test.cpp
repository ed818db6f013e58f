#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "link/link.h"
#include "link/worker.h"
#include "model/worker_job.h"

namespace devlink {
namespace {

class UtcZone : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
};

TEST_F(UtcZone, ClockTextIsZeroPaddedWithACommaBetweenDateAndTime) {
    EXPECT_EQ(MakeClockText(1803884709LL), "2027/03/01,07:05:09");
    EXPECT_EQ(MakeClockText(1796503328LL), "2026/12/05,20:42:08");
}

TEST(SimQuery, PinStateForBg36AndBg96ImsiOtherwise) {
    EXPECT_EQ(SimQueryLine("BG96"), "\r\nAT+CPIN?\r\n");
    EXPECT_EQ(SimQueryLine("Quectel-BG36-X"), "\r\nAT+CPIN?\r\n");
    EXPECT_EQ(SimQueryLine("SIM7000"), "\r\nAT+CIMI\r\n");
    EXPECT_EQ(SimQueryLine(""), "\r\nAT+CIMI\r\n");
    EXPECT_EQ(SimQueryLine("bg96"), "\r\nAT+CIMI\r\n");  // case matters
}

TEST(JobTimeLimits, ReportsAndLogReadsGet24SecondsOthersFive) {
    for (int kind = 1; kind <= 15; ++kind) {
        const bool longRead = kind == model::kReadReport || kind == model::kSaveToFile ||
                              kind == model::kLoadFromFile || kind == model::kReadLog;
        EXPECT_EQ(JobTimeLimitMs(kind), longRead ? 24000 : 5000) << kind;
    }
}

}  // namespace
}  // namespace devlink
