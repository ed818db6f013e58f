#include "link/receive_text.h"

#include <gtest/gtest.h>

#include <string>

namespace devlink {
namespace {

TEST(ReceiveText, ZeroBytesBecomeBlanksAndTheTextStaysTerminated) {
    ReceiveText rx;
    rx.Append(std::string("OK\0\0X", 5));
    EXPECT_EQ(rx.View(), "OK  X");
    EXPECT_EQ(std::string(rx.CStr()), "OK  X");
    EXPECT_EQ(rx.Length(), 5);
}

TEST(ReceiveText, KeepsTheNewest16000BytesInOrder) {
    ReceiveText rx;
    std::string all;
    for (int i = 0; i < 20000; ++i) all.push_back(static_cast<char>('a' + i % 26));
    // Chunks of assorted sizes, as a port delivers them.
    for (size_t pos = 0, size = 1; pos < all.size(); pos += size, size = size * 3 % 4095 + 1) {
        rx.Append(std::string_view(all).substr(pos, size));
    }
    EXPECT_EQ(rx.Length(), 16000);
    EXPECT_EQ(rx.View(), std::string_view(all).substr(4000));
}

TEST(ReceiveText, ExactlyFullAndOneChunkLargerThanTheText) {
    ReceiveText rx;
    rx.Append(std::string(15999, 'a'));
    rx.Append("b");
    EXPECT_EQ(rx.Length(), 16000);
    EXPECT_EQ(rx.View().back(), 'b');
    rx.Append(std::string(17000, 'c'));
    EXPECT_EQ(rx.Length(), 16000);
    EXPECT_EQ(rx.View(), std::string(16000, 'c'));
}

TEST(ReceiveText, ClearEmptiesEveryByte) {
    ReceiveText rx;
    rx.Append("enter setting!");
    rx.Clear();
    EXPECT_EQ(rx.Length(), 0);
    EXPECT_FALSE(rx.Contains("enter"));
    EXPECT_EQ(rx.CStr()[3], '\0');
}

TEST(ReceiveText, ContainsFindsTextSplitAcrossChunks) {
    ReceiveText rx;
    rx.Append("enter set");
    EXPECT_FALSE(rx.Contains("enter setting!"));
    rx.Append("ting!");
    EXPECT_TRUE(rx.Contains("enter setting!"));
}

}  // namespace
}  // namespace devlink
