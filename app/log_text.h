// The log as evidence: each line stamped with the local time it began, and the file a "Save
// log" writes (the text as the log view shows it).
#pragma once

#include <string>
#include <string_view>

#include "ui/clock.h"

namespace app {

/// "12:04:31.207 ": the local time of `wallMs` (milliseconds since the epoch) and a blank.
std::string LogTimeStamp(ui::Millis wallMs);

/// `text` with `stamp` before each line that begins in it. `atLineStart` says whether the log
/// so far ends with a line end; it is updated for the next piece.
std::string StampLines(std::string_view text, bool& atLineStart, std::string_view stamp);

/// The log's text as the view shows it: up to a NUL, CR LF and lone CRs made plain line ends.
std::string LogFileText(std::string_view log);

}  // namespace app
