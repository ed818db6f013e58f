#include "sim/output_pacer.h"

#include <algorithm>

namespace sim {

OutputPacer::OutputPacer(PacingOptions options) : options_(options), random_(options.seed) {
    options_.maxChunkBytes = std::max<std::size_t>(options_.maxChunkBytes, 1);
    StartChunk(TimePoint{});
}

std::chrono::nanoseconds OutputPacer::ByteTime(long baud) {
    // Ten bits a byte: start bit, eight data bits, stop bit.
    return std::chrono::nanoseconds(10'000'000'000LL / std::max(baud, 1L));
}

void OutputPacer::StartChunk(TimePoint now) {
    if (!options_.chunked) return;
    std::uniform_int_distribution<std::size_t> size(1, options_.maxChunkBytes);
    std::uniform_int_distribution<long> pause(0, options_.maxPause.count());
    chunkLeft_ = size(random_);
    chunkStart_ = now + std::chrono::milliseconds(pause(random_));
}

TimePoint OutputPacer::PaceStart(TimePoint now) const {
    // A late wake-up may catch up a little; a line that could not send for long (the tool
    // did not read) does not burst afterwards.
    return std::max(nextByteAt_, now - options_.maxCredit);
}

void OutputPacer::Append(std::string_view bytes, TimePoint now) {
    if (pending_.empty()) {
        nextByteAt_ = std::max(nextByteAt_, now);
        chunkStart_ = std::max(chunkStart_, now);
    }
    pending_ += bytes;
}

void OutputPacer::AppendSeparately(std::string_view bytes, TimePoint now,
                                   std::chrono::milliseconds gap) {
    if (bytes.empty()) return;
    pieceStarts_.push_back({pending_.size(), gap});
    Append(bytes, now);
}

std::size_t OutputPacer::BytesDue(TimePoint now, long baud) const {
    std::size_t due = pending_.size();
    for (const PieceStart& start : pieceStarts_) {
        if (start.offset > 0) {
            due = std::min(due, start.offset);  // no send spans the start of a piece
            break;
        }
        if (now < lastSend_ + start.gap) return 0;
    }
    if (options_.paced) {
        const TimePoint start = PaceStart(now);
        if (now < start) return 0;
        const auto onTime = (now - start) / ByteTime(baud) + 1;
        due = std::min<std::size_t>(due, static_cast<std::size_t>(onTime));
    }
    if (options_.chunked) {
        if (now < chunkStart_) return 0;
        due = std::min(due, chunkLeft_);
    }
    return due;
}

void OutputPacer::Consume(std::size_t count, TimePoint now, long baud) {
    count = std::min(count, pending_.size());
    pending_.erase(0, count);
    while (!pieceStarts_.empty() && pieceStarts_.front().offset < count) pieceStarts_.pop_front();
    for (PieceStart& start : pieceStarts_) start.offset -= count;
    lastSend_ = now;
    nextByteAt_ = PaceStart(now) + ByteTime(baud) * static_cast<long long>(count);
    if (!options_.chunked) return;
    chunkLeft_ -= std::min(count, chunkLeft_);
    if (chunkLeft_ == 0) StartChunk(now);
}

std::optional<TimePoint> OutputPacer::NextWake(TimePoint now) const {
    if (pending_.empty()) return std::nullopt;
    TimePoint wake = now;
    if (options_.paced) wake = std::max({wake, nextByteAt_, lastSend_ + options_.slice});
    if (options_.chunked) wake = std::max(wake, chunkStart_);
    if (!pieceStarts_.empty() && pieceStarts_.front().offset == 0) {
        wake = std::max(wake, lastSend_ + pieceStarts_.front().gap);
    }
    return wake;
}

void OutputPacer::Clear() {
    pending_.clear();
    pieceStarts_.clear();
}

}  // namespace sim
