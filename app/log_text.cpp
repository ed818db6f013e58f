#include "app/log_text.h"

#include <time.h>

#include <cstdio>

namespace app {

std::string LogTimeStamp(ui::Millis wallMs) {
    const time_t seconds = static_cast<time_t>(wallMs / 1000);
    struct tm local {};
    localtime_r(&seconds, &local);
    char text[24];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d ", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(wallMs % 1000));
    return text;
}

std::string StampLines(std::string_view text, bool& atLineStart, std::string_view stamp) {
    std::string stamped;
    stamped.reserve(text.size() + stamp.size());
    for (const char c : text) {
        // A CR belongs to the line end that follows it, not to a new line.
        if (atLineStart && c != '\r' && c != '\n') stamped += stamp;
        if (c != '\r') atLineStart = c == '\n';
        stamped += c;
    }
    return stamped;
}

std::string LogFileText(std::string_view log) {
    log = log.substr(0, log.find('\0'));
    std::string text;
    text.reserve(log.size());
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i] == '\r') {
            if (i + 1 < log.size() && log[i + 1] == '\n') text += '\n', ++i;
            continue;
        }
        text += log[i];
    }
    return text;
}

}  // namespace app
