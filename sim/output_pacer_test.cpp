#include "sim/output_pacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace sim {
namespace {

using std::chrono::milliseconds;

const TimePoint kStart = TimePoint{} + std::chrono::hours(1);

// What a drain sent: the bytes, the time each went out, where each send started.
struct Sent {
    std::string bytes;
    std::vector<TimePoint> at;
    std::vector<std::size_t> starts;
};

// Sends all that is pending the way the unit's thread does: at each wake, all the bytes due.
// The thread wakes when the pacer asks or, `early`, as bytes arrive: up to 1 ms sooner.
Sent SendAll(OutputPacer& pacer, long baud, bool early = false) {
    Sent sent;
    for (TimePoint now = kStart; const auto wake = pacer.NextWake(now);) {
        now = std::max(now, early ? std::min(*wake, now + milliseconds(1)) : *wake);
        const std::size_t due = pacer.BytesDue(now, baud);
        if (due == 0) {
            now += std::chrono::microseconds(100);  // woken a little early
            continue;
        }
        sent.starts.push_back(sent.bytes.size());
        sent.bytes += pacer.Pending().substr(0, due);
        sent.at.insert(sent.at.end(), due, now);
        pacer.Consume(due, now, baud);
    }
    return sent;
}

Sent Drain(PacingOptions options, std::size_t bytes, long baud) {
    OutputPacer pacer(options);
    pacer.Append(std::string(bytes, 'x'), kStart);
    return SendAll(pacer, baud);
}

TEST(OutputPacer, APacedLineTakesItsLineTimeInSlices) {
    for (const auto& [baud, bytes] : {std::pair{9600L, 4000u}, {115200L, 4000u}, {2400L, 300u}}) {
        const Sent sent = Drain(PacingOptions{}, bytes, baud);
        const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / baud);  // ten bits
        // The last byte goes out one byte time after the one before it, not earlier.
        EXPECT_GE(sent.at.back() - kStart, byteTime * (bytes - 1)) << baud;
        EXPECT_LE(sent.at.back() - kStart, byteTime * bytes + milliseconds(6)) << baud;
        // Sends come in slices of 5 ms, not one write per byte.
        EXPECT_LE(sent.starts.size(), (byteTime * bytes) / milliseconds(5) + 2) << baud;
    }
}

TEST(OutputPacer, ALineThatCouldNotSendCatchesUpOnlyTheCredit) {
    OutputPacer pacer{PacingOptions{}};
    pacer.Append(std::string(1000, 'x'), kStart);
    EXPECT_EQ(pacer.BytesDue(kStart, 9600), 1u);  // the first byte goes at once
    // Nothing sent for a second (the tool did not read): 50 ms of bytes, not a second's.
    EXPECT_EQ(pacer.BytesDue(kStart + milliseconds(1000), 9600), 49u);
    pacer.Consume(49, kStart + milliseconds(1000), 9600);
    EXPECT_EQ(pacer.BytesDue(kStart + milliseconds(1000), 9600), 0u);
    EXPECT_EQ(pacer.NextWake(kStart + milliseconds(1000)), kStart + milliseconds(1005));
}

TEST(OutputPacer, ChunksAreOneToMaxBytesWithPausesAndRepeatForASeed) {
    auto chunks = [](std::uint32_t seed) {
        const Sent sent =
            Drain({.paced = false, .chunked = true, .seed = seed, .maxChunkBytes = 7}, 500, 115200);
        EXPECT_EQ(sent.bytes.size(), 500u);
        EXPECT_GT(sent.at.back(), kStart + milliseconds(10));  // about 125 pauses of 0 to 3 ms
        return sent.starts;
    };
    const std::vector<std::size_t> first = chunks(7);
    std::set<std::size_t> sizes;
    for (std::size_t i = 0; i < first.size(); ++i) {
        sizes.insert((i + 1 < first.size() ? first[i + 1] : 500) - first[i]);
    }
    EXPECT_TRUE(*sizes.begin() >= 1 && *sizes.rbegin() <= 7);
    EXPECT_GT(sizes.size(), 1u);  // sizes vary
    EXPECT_EQ(chunks(7), first);
    EXPECT_NE(chunks(8), first);
}

// A piece queued separately never shares a send with the bytes before it, and its first byte
// goes out no sooner than the gap after the last of them, whatever the pacing and chunks.
TEST(OutputPacer, ASeparatePieceGoesOutOnItsOwnAfterTheGap) {
    // A lone line end is a piece of its own, as the unit queues a late one.
    const std::string queued[] = {std::string(300, 'r') + "\r\nOK", "\r\n", "\r\nERROR", "\r\n",
                                  "\r\n"};
    const milliseconds gap(20);
    for (PacingOptions options :
         {PacingOptions{.paced = false}, PacingOptions{.paced = true},
          PacingOptions{.paced = false, .chunked = true, .maxChunkBytes = 5},
          PacingOptions{.chunked = true, .maxChunkBytes = 64}}) {
        for (options.seed = 1; options.seed <= 40; ++options.seed) {
            OutputPacer pacer(options);
            std::string all;
            std::vector<std::size_t> pieceStarts;
            for (const std::string& text : queued) {
                const bool separate = text == "\r\n";
                if (separate) pieceStarts.push_back(all.size());
                if (separate) pacer.AppendSeparately(text, kStart, gap);
                if (!separate) pacer.Append(text, kStart);
                all += text;
            }
            const Sent sent = SendAll(pacer, 115200, true);
            ASSERT_EQ(sent.bytes, all) << options.seed;
            for (std::size_t at : pieceStarts) {
                EXPECT_TRUE(std::ranges::binary_search(sent.starts, at)) << options.seed << at;
                EXPECT_GE(sent.at[at] - sent.at[at - 1], gap) << options.seed << " at " << at;
            }
        }
    }
}

// A separate piece queued when the line has long been idle goes out at once.
TEST(OutputPacer, ASeparatePieceOnAnIdleLineIsNotDelayedAgain) {
    OutputPacer pacer{PacingOptions{.paced = false}};
    pacer.Append("\r\nOK", kStart);
    pacer.Consume(pacer.BytesDue(kStart, 115200), kStart, 115200);
    pacer.AppendSeparately("\r\n", kStart + milliseconds(5), milliseconds(20));
    EXPECT_EQ(pacer.BytesDue(kStart + milliseconds(19), 115200), 0u);
    EXPECT_EQ(pacer.NextWake(kStart + milliseconds(19)), kStart + milliseconds(20));
    ASSERT_EQ(pacer.BytesDue(kStart + milliseconds(20), 115200), 2u);
    pacer.Consume(2, kStart + milliseconds(20), 115200);
    pacer.AppendSeparately("\r\n", kStart + milliseconds(500), milliseconds(20));
    EXPECT_EQ(pacer.BytesDue(kStart + milliseconds(500), 115200), 2u);
}

}  // namespace
}  // namespace sim
