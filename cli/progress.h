// A one-line progress display on a terminal; silent when switched off (the error stream is
// not a terminal, or the log is echoed there).
#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

namespace cli {

class Progress {
  public:
    /// Writes to `out` only when `enabled`.
    Progress(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}
    /// Shows `text` in place of the line shown before: at once when its kind (the text before
    /// the first ':') changes, otherwise at most ten times a second.
    void Show(const std::string& text);
    /// Removes the line shown, if any.
    void Clear();

  private:
    std::ostream& out_;
    bool enabled_;
    std::string shown_;
    std::chrono::steady_clock::time_point shownAt_{};
};

}  // namespace cli
