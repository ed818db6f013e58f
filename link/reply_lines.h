// The unit ends each answer with a result line: "OK" or "ERROR" alone on its line. A value, a
// header or an echo that holds those letters is not a result, and a result counts only once
// its line end has arrived (units often send it in a later write than the letters).
#pragma once

#include <cstddef>
#include <string_view>

namespace devlink {

enum class ResultLine { kNone, kOk, kError };

/// The first complete result line of `text` among the lines that start at or after `from`.
/// A line ends at LF; CR bytes around its text are not part of it.
ResultLine FirstResultLine(std::string_view text, std::size_t from = 0);

/// The result that closes a parameter report: an "OK" line after the listing's first label
/// ("Access Point Name:" or, on CDMA units, "Whether module using CDMA mode:"). kError when
/// the text holds no listing but an "ERROR" line; kNone while the report is still coming.
ResultLine ReportResult(std::string_view text);

}  // namespace devlink
