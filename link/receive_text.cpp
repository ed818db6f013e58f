#include "link/receive_text.h"

#include <algorithm>
#include <cstring>

namespace devlink {

void ReceiveText::Append(std::string_view chunk) {
    const int count = static_cast<int>(std::min<size_t>(chunk.size(), kCapacity));
    chunk = chunk.substr(chunk.size() - static_cast<size_t>(count));
    if (length_ + count >= kCapacity) {
        // Keep the newest bytes of the old text and the whole chunk, in arrival order.
        const int keep = kCapacity - count;
        std::memmove(buffer_.data(), buffer_.data() + (length_ - keep), static_cast<size_t>(keep));
        length_ = keep;
    }
    std::memcpy(buffer_.data() + length_, chunk.data(), static_cast<size_t>(count));
    std::replace(buffer_.data() + length_, buffer_.data() + length_ + count, '\0', ' ');
    length_ += count;
    buffer_[static_cast<size_t>(length_)] = '\0';
}

void ReceiveText::Clear() {
    buffer_.fill('\0');
    length_ = 0;
}

}  // namespace devlink
