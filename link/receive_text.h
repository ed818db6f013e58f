// The text received from the unit since it was last cleared: at most its capacity, oldest
// first, with zero bytes stored as blanks so it is always one zero-terminated string.
#pragma once

#include <array>
#include <string_view>

namespace devlink {

class ReceiveText {
  public:
    /// The newest bytes kept: room for the longest report with its echo and result line.
    static constexpr int kCapacity = 16000;

    /// Appends a chunk; beyond the capacity the oldest bytes go.
    void Append(std::string_view chunk);
    /// All bytes to zero, length 0.
    void Clear();
    int Length() const { return length_; }
    std::string_view View() const { return {buffer_.data(), static_cast<size_t>(length_)}; }
    const char* CStr() const { return buffer_.data(); }
    bool Contains(std::string_view needle) const {
        return View().find(needle) != std::string_view::npos;
    }
    /// Replaces the text (a configuration file read as if the unit had sent it).
    void Assign(std::string_view text) {
        Clear();
        Append(text);
    }

  private:
    std::array<char, kCapacity + 1> buffer_{};
    int length_ = 0;
};

}  // namespace devlink
