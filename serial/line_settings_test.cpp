#include "serial/line_settings.h"

#include <gtest/gtest.h>

#include <tuple>

namespace serial {
namespace {

TEST(LineSettings, TakesWhatTheDeviceCanDoAndRefusesTheRest) {
    const struct {
        int baud;
        const char* format;
        std::tuple<int, char, int> parsed;  // data bits, parity, stop bits
    } accepted[] = {
        {9600, "8N1", {8, 'N', 1}},   {1200, "7E2", {7, 'E', 2}},
        {250000, "5o1", {5, 'O', 1}},  // a rate without a termios constant; either case
        {4800, "8M1", {8, 'M', 1}},   {4800, "6S1", {6, 'S', 1}},
    };
    for (const auto& c : accepted) {
        const auto s = MakeLineSettings(c.baud, c.format);
        ASSERT_TRUE(s.has_value()) << c.format;
        EXPECT_EQ(s->baud, c.baud);
        EXPECT_EQ(std::tuple(s->dataBits, static_cast<char>(s->parity), s->stopBits), c.parsed)
            << c.format;
    }
    const std::pair<int, const char*> refused[] = {
        {9600, "8X1"},  {9600, "9N1"}, {9600, "4N1"},  {9600, "8N0"}, {9600, "8N3"}, {0, "8N1"},
        {-9600, "8N1"}, {9600, "8N"},  {9600, "8N1 "}, {9600, "8NN"}, {9600, ""},    {9600, "N81"},
    };
    for (const auto& [baud, format] : refused) {
        EXPECT_FALSE(MakeLineSettings(baud, format).has_value()) << baud << " " << format;
    }
}

}  // namespace
}  // namespace serial
