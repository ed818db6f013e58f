#include "sim/output_pacer.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace sim {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

const TimePoint kT0 = TimePoint{} + std::chrono::hours(1);

PacingOptions Unpaced() {
    PacingOptions options;
    options.paced = false;
    return options;
}

PacingOptions Chunked(std::uint32_t seed) {
    PacingOptions options = Unpaced();
    options.chunked = true;
    options.seed = seed;
    options.maxChunkBytes = 7;
    options.maxPause = milliseconds(3);
    return options;
}

// Sends everything the way the unit's thread does: at each wake, all the bytes due. Returns
// the sizes of the sends and sets `finished` to the time of the last one.
std::vector<std::size_t> Drain(OutputPacer& pacer, long baud, TimePoint& finished) {
    std::vector<std::size_t> sends;
    TimePoint now = kT0;
    while (const auto wake = pacer.NextWake(now)) {
        now = std::max(now, *wake);
        const std::size_t due = pacer.BytesDue(now, baud);
        if (due == 0) {
            now += microseconds(100);  // woken a little early
            continue;
        }
        sends.push_back(due);
        pacer.Consume(due, now, baud);
        finished = now;
    }
    return sends;
}

TEST(OutputPacer, UnpacedSendsEverythingAtOnce) {
    OutputPacer pacer(Unpaced());
    pacer.Append("hello", kT0);
    pacer.Append(" world", kT0);
    EXPECT_EQ(pacer.Pending(), "hello world");
    EXPECT_EQ(pacer.BytesDue(kT0, 9600), 11u);
    EXPECT_EQ(pacer.NextWake(kT0), kT0);
    pacer.Consume(11, kT0, 9600);
    EXPECT_EQ(pacer.NextWake(kT0), std::nullopt);
}

TEST(OutputPacer, PacedSendsAboutOneByteEachTenBitTimes) {
    OutputPacer pacer{PacingOptions{}};
    pacer.Append(std::string(100, 'x'), kT0);
    EXPECT_EQ(pacer.BytesDue(kT0, 9600), 1u);  // the first byte goes at once
    // At 9600 a byte takes 1.0417 ms: by 10 ms bytes 0..9 are due.
    EXPECT_EQ(pacer.BytesDue(kT0 + milliseconds(10), 9600), 10u);
    EXPECT_EQ(pacer.BytesDue(kT0 + milliseconds(10), 115200), 100u);
}

struct LineTimeRow {
    long baud;
    std::size_t bytes;
};

TEST(OutputPacer, DrainingTakesTheLineTimeInSlices) {
    for (const LineTimeRow row :
         {LineTimeRow{9600, 4000}, LineTimeRow{115200, 4000}, LineTimeRow{2400, 300}}) {
        OutputPacer pacer{PacingOptions{}};
        pacer.Append(std::string(row.bytes, 'x'), kT0);
        TimePoint finished{};
        const std::vector<std::size_t> sends = Drain(pacer, row.baud, finished);
        const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / row.baud);
        // The last byte goes out one byte time after the one before it, not earlier.
        EXPECT_GE(finished - kT0, byteTime * static_cast<long>(row.bytes - 1)) << row.baud;
        EXPECT_LE(finished - kT0, byteTime * static_cast<long>(row.bytes) + milliseconds(6))
            << row.baud;
        // Sends come in slices of 5 ms, not one write per byte.
        const auto line = std::chrono::duration_cast<milliseconds>(byteTime * row.bytes);
        EXPECT_LE(sends.size(), static_cast<std::size_t>(line / milliseconds(5)) + 2) << row.baud;
    }
}

TEST(OutputPacer, ALineThatCouldNotSendCatchesUpOnlyTheCredit) {
    OutputPacer pacer{PacingOptions{}};
    pacer.Append(std::string(1000, 'x'), kT0);
    // Nothing sent for a second (the tool did not read): 50 ms of bytes, not a second's.
    EXPECT_EQ(pacer.BytesDue(kT0 + milliseconds(1000), 9600), 49u);
    pacer.Consume(49, kT0 + milliseconds(1000), 9600);
    EXPECT_EQ(pacer.BytesDue(kT0 + milliseconds(1000), 9600), 0u);
    EXPECT_EQ(pacer.NextWake(kT0 + milliseconds(1000)), kT0 + milliseconds(1005));
}

TEST(OutputPacer, ChunksAreOneToMaxBytesWithPausesAndRepeatForASeed) {
    auto chunks = [](std::uint32_t seed) {
        OutputPacer pacer(Chunked(seed));
        pacer.Append(std::string(500, 'x'), kT0);
        TimePoint finished{};
        return Drain(pacer, 115200, finished);
    };
    const std::vector<std::size_t> first = chunks(7);
    std::size_t total = 0;
    for (std::size_t size : first) {
        EXPECT_GE(size, 1u);
        EXPECT_LE(size, 7u);
        total += size;
    }
    EXPECT_EQ(total, 500u);
    EXPECT_GT(std::set<std::size_t>(first.begin(), first.end()).size(), 1u);  // sizes vary
    EXPECT_EQ(chunks(7), first);
    EXPECT_NE(chunks(8), first);
}

TEST(OutputPacer, ChunkedOutputWaitsForThePauseBetweenChunks) {
    PacingOptions options = Chunked(3);
    options.maxPause = milliseconds(0);
    OutputPacer pacer(options);
    pacer.Append(std::string(50, 'x'), kT0);
    const std::size_t first = pacer.BytesDue(kT0, 115200);
    ASSERT_GE(first, 1u);
    ASSERT_LE(first, 7u);
    pacer.Consume(first, kT0, 115200);
    EXPECT_EQ(pacer.Pending().size(), 50u - first);
    EXPECT_GE(pacer.BytesDue(kT0, 115200), 1u);  // a zero pause: the next chunk is due
}

TEST(OutputPacer, ClearDropsWhatIsPending) {
    OutputPacer pacer{PacingOptions{}};
    pacer.Append("abc", kT0);
    pacer.Clear();
    EXPECT_EQ(pacer.Pending(), "");
    EXPECT_EQ(pacer.NextWake(kT0), std::nullopt);
}

}  // namespace
}  // namespace sim
