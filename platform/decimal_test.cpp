#include "platform/decimal.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace platform {
namespace {

TEST(ReadDecimal, ReadsLikeAtoiClampedToTheIntRange) {
    // Blanks, a sign, digits up to any other byte; 0 without digits (a sign alone, doubled or
    // apart from them); the int range's edges, just beyond, far beyond without overflow.
    // clang-format off
    const std::pair<std::string, int> kCases[] = {
        {"  42x", 42}, {"\r\n\v\f\t 5", 5}, {"-7", -7}, {"+3", 3}, {"000123", 123}, {"7.9", 7},
        {"1 2", 1}, {"12\xE4", 12}, {std::string("12\00034", 5), 12},
        {"", 0}, {"abc", 0}, {"0x10", 0}, {"-", 0}, {"--5", 0}, {"+-5", 0}, {"- 5", 0},
        {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {std::string(400, '9'), INT_MAX},
        {"-2147483648", INT_MIN}, {"-2147483649", INT_MIN}, {"-" + std::string(400, '9'), INT_MIN}};
    // clang-format on
    for (const auto& [text, expected] : kCases) EXPECT_EQ(ReadDecimal(text), expected) << text;
    EXPECT_EQ(ReadDecimal(std::string_view("12345").substr(0, 2)), 12) << "the view, not beyond";
}

}  // namespace
}  // namespace platform
