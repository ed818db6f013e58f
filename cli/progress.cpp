#include "cli/progress.h"

#include <ostream>

namespace cli {

void Progress::Show(const std::string& text) {
    if (!enabled_ || text == shown_) return;
    const auto now = std::chrono::steady_clock::now();
    const bool sameKind = text.substr(0, text.find(':')) == shown_.substr(0, shown_.find(':'));
    if (sameKind && now - shownAt_ < std::chrono::milliseconds(100)) return;
    shown_ = text;
    shownAt_ = now;
    out_ << "\r" << text << "\x1b[K" << std::flush;  // carriage return, text, clear to the end
}

void Progress::Clear() {
    if (!enabled_ || shown_.empty()) return;
    shown_.clear();
    out_ << "\r\x1b[K" << std::flush;
}

}  // namespace cli
