#include "sim/output_pacer.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace sim {
namespace {

using std::chrono::milliseconds;

const TimePoint kStart = TimePoint{} + std::chrono::hours(1);

// Sends `bytes` the way the unit's thread does: at each wake, all the bytes due. Returns the
// sizes of the sends; `finished` is the time of the last.
std::vector<std::size_t> Drain(PacingOptions options, std::size_t bytes, long baud,
                               TimePoint& finished) {
    OutputPacer pacer(options);
    pacer.Append(std::string(bytes, 'x'), kStart);
    std::vector<std::size_t> sends;
    for (TimePoint now = kStart; const auto wake = pacer.NextWake(now);) {
        now = std::max(now, *wake);
        const std::size_t due = pacer.BytesDue(now, baud);
        if (due == 0) {
            now += std::chrono::microseconds(100);  // woken a little early
            continue;
        }
        sends.push_back(due);
        pacer.Consume(due, now, baud);
        finished = now;
    }
    return sends;
}

TEST(OutputPacer, APacedLineTakesItsLineTimeInSlices) {
    for (const auto& [baud, bytes] : {std::pair{9600L, 4000u}, {115200L, 4000u}, {2400L, 300u}}) {
        TimePoint finished{};
        const std::vector<std::size_t> sends = Drain(PacingOptions{}, bytes, baud, finished);
        const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / baud);  // ten bits
        // The last byte goes out one byte time after the one before it, not earlier.
        EXPECT_GE(finished - kStart, byteTime * (bytes - 1)) << baud;
        EXPECT_LE(finished - kStart, byteTime * bytes + milliseconds(6)) << baud;
        // Sends come in slices of 5 ms, not one write per byte.
        EXPECT_LE(sends.size(), (byteTime * bytes) / milliseconds(5) + 2) << baud;
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
        PacingOptions options{.paced = false, .chunked = true, .seed = seed, .maxChunkBytes = 7};
        TimePoint finished{};
        std::vector<std::size_t> sizes = Drain(options, 500, 115200, finished);
        EXPECT_GT(finished, kStart + milliseconds(10));  // about 125 pauses of 0 to 3 ms
        return sizes;
    };
    const std::vector<std::size_t> first = chunks(7);
    std::size_t total = 0;
    for (std::size_t size : first) {
        EXPECT_TRUE(size >= 1 && size <= 7) << size;
        total += size;
    }
    EXPECT_EQ(total, 500u);
    EXPECT_GT(std::set<std::size_t>(first.begin(), first.end()).size(), 1u);  // sizes vary
    EXPECT_EQ(chunks(7), first);
    EXPECT_NE(chunks(8), first);
}

// What SendAll sent: the bytes, the time each went out, where each send started.
struct Sent {
    std::string bytes;
    std::vector<TimePoint> at;
    std::set<std::size_t> sendStarts;
};

// Sends everything pending at 115200 the way the unit's thread does, woken when the pacer asks
// or earlier, as the thread is when bytes arrive.
Sent SendAll(OutputPacer& pacer) {
    Sent sent;
    for (TimePoint now = kStart; const auto wake = pacer.NextWake(now);) {
        now = std::max(now, std::min(*wake, now + milliseconds(1)));
        const std::size_t due = pacer.BytesDue(now, 115200);
        if (due == 0) {
            now += std::chrono::microseconds(100);
            continue;
        }
        sent.sendStarts.insert(sent.bytes.size());
        sent.bytes += pacer.Pending().substr(0, due);
        sent.at.insert(sent.at.end(), due, now);
        pacer.Consume(due, now, 115200);
    }
    return sent;
}

// A piece queued separately never shares a send with the bytes before it, and its first byte
// goes out no sooner than the gap after the last of them, whatever the pacing and chunks.
TEST(OutputPacer, ASeparatePieceGoesOutOnItsOwnAfterTheGap) {
    const std::vector<std::pair<std::string, bool>> queued = {
        {std::string(300, 'r') + "\r\nOK", false},
        {"\r\n", true},
        {"\r\nERROR", false},
        {"\r\n", true},
        {"\r\n", true},
    };
    const milliseconds gap(20);
    const PacingOptions variants[] = {
        {.paced = false},
        {.paced = true},
        {.paced = false, .chunked = true, .maxChunkBytes = 5},
        {.paced = true, .chunked = true, .maxChunkBytes = 64},
    };
    for (const PacingOptions& variant : variants) {
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            PacingOptions options = variant;
            options.seed = seed;
            OutputPacer pacer(options);
            std::string all;
            std::vector<std::size_t> pieceStarts;
            for (const auto& [text, separate] : queued) {
                if (separate) pieceStarts.push_back(all.size());
                if (separate) pacer.AppendSeparately(text, kStart, gap);
                if (!separate) pacer.Append(text, kStart);
                all += text;
            }
            const Sent sent = SendAll(pacer);
            ASSERT_EQ(sent.bytes, all) << seed;
            for (std::size_t start : pieceStarts) {
                EXPECT_TRUE(sent.sendStarts.contains(start)) << seed << " at " << start;
                EXPECT_GE(sent.at[start] - sent.at[start - 1], gap) << seed << " at " << start;
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
