#include "serial/line_settings.h"

#include <gtest/gtest.h>

#include <tuple>

namespace devlink {
namespace {

TEST(CommSettings, ParsesWhatTheDeviceCanDoAndRefusesTheRest) {
    const struct {
        const char* text;
        std::tuple<int, char, int, int> parsed;  // baud, parity, data bits, stop bits
    } accepted[] = {
        {"baud=9600 parity=N data=8 stop=1", {9600, 'N', 8, 1}},
        {"baud=1200 parity=E data=7 stop=2", {1200, 'E', 7, 2}},
        {"baud=250000 parity=o data=5 stop=1", {250000, 'O', 5, 1}},  // non-standard rate
        {"baud=4800 parity=M data=8 stop=1", {4800, 'M', 8, 1}},
        {"baud=4800 parity=S data=6 stop=1", {4800, 'S', 6, 1}},
        {"  baud=9600   parity=N data=8 stop=1 ", {9600, 'N', 8, 1}},
    };
    for (const auto& c : accepted) {
        const auto p = ParseSettings(c.text);
        ASSERT_TRUE(p.has_value()) << c.text;
        EXPECT_EQ(std::tuple(p->baud, p->parity, p->dataBits, p->stopBits), c.parsed) << c.text;
    }
    for (const char* text :
         {"baud=9600 parity=X data=8 stop=1", "baud=9600 parity=N data=9 stop=1",
          "baud=9600 parity=N data=4 stop=1", "baud=9600 parity=N data=8 stop=0",
          "baud=9600 parity=N data=8 stop=3", "baud=0 parity=N data=8 stop=1",
          "baud=-9600 parity=N data=8 stop=1", "baud=96x0 parity=N data=8 stop=1",
          "baud=9600 parity=N data=8", "baud=9600 parity=NN data=8 stop=1",
          "baud=9600 parity=N data=8 stop=1 flow=x", ""}) {
        EXPECT_FALSE(ParseSettings(text).has_value()) << text;
    }
}

}  // namespace
}  // namespace devlink
