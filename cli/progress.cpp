#include "cli/progress.h"

#include <ostream>

namespace cli {

void Progress::Show(const std::string& text) {
    if (!enabled_ || text == shown_) return;
    shown_ = text;
    out_ << "\r" << text << "\x1b[K" << std::flush;  // carriage return, text, clear to the end
}

void Progress::Clear() {
    if (!enabled_ || shown_.empty()) return;
    shown_.clear();
    out_ << "\r\x1b[K" << std::flush;
}

}  // namespace cli
