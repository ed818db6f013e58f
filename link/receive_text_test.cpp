#include "link/receive_text.h"

#include <gtest/gtest.h>

#include <string>

namespace devlink {
namespace {

TEST(ReceiveText, KeepsTheNewest16000BytesInOrderWithZeroBytesAsBlanks) {
    ReceiveText rx;
    std::string all;
    for (int i = 0; i < 20000; ++i) all.push_back(static_cast<char>('a' + i % 26));
    all[19990] = '\0';
    // Chunks of assorted sizes, as a port delivers them.
    for (size_t pos = 0, size = 1; pos < all.size(); pos += size, size = size * 3 % 4095 + 1) {
        rx.Append(std::string_view(all).substr(pos, size));
    }
    all[19990] = ' ';
    EXPECT_EQ(rx.View(), std::string_view(all).substr(4000));
    EXPECT_EQ(rx.CStr()[16000], '\0');
    rx.Append(std::string(17000, 'c'));  // one chunk larger than the text
    EXPECT_EQ(rx.View(), std::string(16000, 'c'));
    rx.Clear();
    EXPECT_EQ(rx.Length(), 0);
    rx.Append("enter set");
    EXPECT_FALSE(rx.Contains("enter setting!"));
    rx.Append("ting!");
    EXPECT_TRUE(rx.Contains("enter setting!"));  // split across chunks
    EXPECT_EQ(std::string(rx.CStr()), "enter setting!");
}

}  // namespace
}  // namespace devlink
