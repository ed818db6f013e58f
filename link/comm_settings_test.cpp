#include "link/comm_settings.h"

#include <gtest/gtest.h>

namespace devlink {
namespace {

TEST(CommSettings, FormatsTheSettingsText) {
    EXPECT_EQ(FormatSettings(115200, 'N', 8, 1), "baud=115200 parity=N data=8 stop=1");
}

struct ParseCase {
    const char* text;
    bool accepted;
    int baud;
    char parity;
    int data;
    int stop;
};

TEST(CommSettings, ParsesWhatTheDeviceCanDoAndRefusesTheRest) {
    const ParseCase cases[] = {
        {"baud=9600 parity=N data=8 stop=1", true, 9600, 'N', 8, 1},
        {"baud=1200 parity=E data=7 stop=2", true, 1200, 'E', 7, 2},
        {"baud=250000 parity=o data=5 stop=1", true, 250000, 'O', 5, 1},  // non-standard rate
        {"baud=4800 parity=M data=8 stop=1", true, 4800, 'M', 8, 1},
        {"baud=4800 parity=S data=6 stop=1", true, 4800, 'S', 6, 1},
        {"  baud=9600   parity=N data=8 stop=1 ", true, 9600, 'N', 8, 1},
        {"baud=9600 parity=X data=8 stop=1", false, 0, 0, 0, 0},
        {"baud=9600 parity=N data=9 stop=1", false, 0, 0, 0, 0},
        {"baud=9600 parity=N data=4 stop=1", false, 0, 0, 0, 0},
        {"baud=9600 parity=N data=8 stop=0", false, 0, 0, 0, 0},
        {"baud=9600 parity=N data=8 stop=3", false, 0, 0, 0, 0},
        {"baud=0 parity=N data=8 stop=1", false, 0, 0, 0, 0},
        {"baud=-9600 parity=N data=8 stop=1", false, 0, 0, 0, 0},
        {"baud=96x0 parity=N data=8 stop=1", false, 0, 0, 0, 0},
        {"baud=9600 parity=N data=8", false, 0, 0, 0, 0},
        {"baud=9600 parity=NN data=8 stop=1", false, 0, 0, 0, 0},
        {"baud=9600 parity=N data=8 stop=1 flow=x", false, 0, 0, 0, 0},
        {"", false, 0, 0, 0, 0},
    };
    for (const ParseCase& c : cases) {
        const auto parsed = ParseSettings(c.text);
        ASSERT_EQ(parsed.has_value(), c.accepted) << c.text;
        if (!parsed) continue;
        EXPECT_EQ(parsed->baud, c.baud) << c.text;
        EXPECT_EQ(parsed->parity, c.parity) << c.text;
        EXPECT_EQ(parsed->dataBits, c.data) << c.text;
        EXPECT_EQ(parsed->stopBits, c.stop) << c.text;
    }
}

}  // namespace
}  // namespace devlink
