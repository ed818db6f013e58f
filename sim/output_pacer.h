// Holds the text the unit has still to send and decides how much of it may go out when:
// at the line's speed (about baud/10 bytes a second) and, optionally, in random chunks with
// short random pauses between them. Not thread-safe; the owner serialises all calls.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "sim/unit_behaviour.h"

namespace sim {

/// How the unit's output is spread over time.
struct PacingOptions {
    bool paced = true;                        ///< send no faster than the line speed
    bool chunked = false;                     ///< send in random chunks with random pauses
    std::uint32_t seed = 1;                   ///< seed of the chunk and pause generator
    std::size_t maxChunkBytes = 48;           ///< chunks are 1..this many bytes
    std::chrono::milliseconds maxPause{3};    ///< pauses are 0..this long
    std::chrono::milliseconds slice{5};       ///< a paced line sends at most this often
    std::chrono::milliseconds maxCredit{50};  ///< unsent line time that may be caught up
};

class OutputPacer {
  public:
    explicit OutputPacer(PacingOptions options);

    /// Queues `bytes` behind what is pending. The first byte of a queue that was empty may go
    /// out at once.
    void Append(std::string_view bytes, TimePoint now);
    /// Queues `bytes` as a piece of their own: they go out in later sends than everything
    /// pending before them, and not before `gap` has passed since the last of those was sent
    /// (or since the last send, when nothing is pending).
    void AppendSeparately(std::string_view bytes, TimePoint now, std::chrono::milliseconds gap);
    /// The bytes not yet sent, oldest first.
    std::string_view Pending() const { return pending_; }
    /// How many bytes from the front of Pending() may be sent at `now` on a line of `baud`
    /// bits per second (at least 1; treated as 1 below that).
    std::size_t BytesDue(TimePoint now, long baud) const;
    /// Marks `count` (at most Pending().size()) bytes as sent at `now`.
    void Consume(std::size_t count, TimePoint now, long baud);
    /// When to look again for bytes due; nullopt when nothing is pending.
    std::optional<TimePoint> NextWake(TimePoint now) const;
    /// Drops everything pending.
    void Clear();

  private:
    // Where a separate piece starts: `offset` bytes from the front of pending_.
    struct PieceStart {
        std::size_t offset;
        std::chrono::milliseconds gap;
    };
    static std::chrono::nanoseconds ByteTime(long baud);
    void StartChunk(TimePoint now);
    TimePoint PaceStart(TimePoint now) const;

    PacingOptions options_;
    std::mt19937 random_;
    std::string pending_;
    TimePoint nextByteAt_{};              // when the line may take the next byte
    TimePoint lastSend_{};                // when bytes were last sent
    std::size_t chunkLeft_ = 0;           // bytes left in the current chunk
    TimePoint chunkStart_{};              // when the current chunk may start
    std::deque<PieceStart> pieceStarts_;  // in the order of pending_
};

}  // namespace sim
