#include "platform/text.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

struct TrimCase {
    std::string_view text;
    std::string_view set;
    std::string_view trimmed;
};

TEST(Trim, CutsOnlyTheNamedBytesAndOnlyAtTheEnds) {
    const TrimCase cases[] = {
        {"  a b  ", " ", "a b"},
        {"\t a \t", " ", "\t a \t"},  // blanks only: a tab is kept, and what it shields
        {"\t a \r\n", kWhiteSpace, "a"},
        {"\v\fa\v\f", kWhiteSpace, "a"},
        {"\r\nAT+SHOW\r\n", "\r\n", "AT+SHOW"},
        {" \r\n x \r\n ", "\r\n", " \r\n x \r\n "},
        {"   ", " ", ""},
        {"", " ", ""},
        {"x", " ", "x"},
        {"a", "", "a"},
        {std::string_view("\0a\0", 3), " ", std::string_view("\0a\0", 3)},
        {"设备 ", " ", "设备"},
    };
    for (const TrimCase& c : cases) {
        EXPECT_EQ(Trim(c.text, c.set), c.trimmed) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace platform
