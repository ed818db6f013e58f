#include "platform/decimal.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace platform {
namespace {

struct DecimalCase {
    std::string text;
    int expected;
};

class ReadDecimalTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(ReadDecimalTest, ReadsLikeAtoi) {
    EXPECT_EQ(ReadDecimal(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadDecimalTest,
    ::testing::Values(DecimalCase{"  42x", 42}, DecimalCase{"-7", -7}, DecimalCase{"+3", 3},
                      DecimalCase{"abc", 0}, DecimalCase{"", 0}, DecimalCase{" \t12", 12},
                      DecimalCase{"99999999999", INT_MAX}, DecimalCase{"-99999999999", INT_MIN},
                      DecimalCase{"1 2", 1}, DecimalCase{"0x10", 0},
                      // Every blank the C library skips.
                      DecimalCase{"\r\n\v\f 5", 5},
                      // Signs alone, doubled or apart from the digits read nothing.
                      DecimalCase{"-", 0}, DecimalCase{"+", 0}, DecimalCase{"--5", 0},
                      DecimalCase{"+-5", 0}, DecimalCase{"- 5", 0},
                      // The edges of the int range, and just beyond them.
                      DecimalCase{"2147483647", INT_MAX}, DecimalCase{"2147483648", INT_MAX},
                      DecimalCase{"-2147483648", INT_MIN}, DecimalCase{"-2147483649", INT_MIN},
                      // Very long numbers do not overflow on the way.
                      DecimalCase{std::string(400, '9'), INT_MAX},
                      DecimalCase{"-" + std::string(400, '9'), INT_MIN},
                      // Leading zeros, and a number ending at a stray byte.
                      DecimalCase{"000123", 123}, DecimalCase{"-0", 0}, DecimalCase{"12\xE4", 12},
                      DecimalCase{"7.9", 7}));

TEST(ReadDecimal, StopsAtEmbeddedNul) {
    EXPECT_EQ(ReadDecimal(std::string_view("12\0"
                                           "34",
                                           5)),
              12);
}

TEST(ReadDecimal, ReadsOnlyTheViewNotBeyondIt) {
    const std::string text = "12345";
    EXPECT_EQ(ReadDecimal(std::string_view(text).substr(0, 2)), 12);
}

}  // namespace
}  // namespace platform
