#include "link/reply_lines.h"

#include "model/report_parser.h"

namespace devlink {

namespace {

ResultLine ResultOf(std::string_view line) {
    const size_t first = line.find_first_not_of('\r');
    if (first == std::string_view::npos) return ResultLine::kNone;
    line = line.substr(first, line.find_last_not_of('\r') + 1 - first);
    if (line == "OK") return ResultLine::kOk;
    if (line == "ERROR") return ResultLine::kError;
    return ResultLine::kNone;
}

/// Where the first line that starts at or after `from` begins.
size_t LineStartFrom(std::string_view text, size_t from) {
    if (from == 0 || from > text.size()) return from;
    if (text[from - 1] == '\n') return from;
    const size_t end = text.find('\n', from);
    return end == std::string_view::npos ? text.size() : end + 1;
}

/// The first complete line from `from` on whose result `wanted` accepts.
template <class Wanted>
ResultLine FindResultLine(std::string_view text, size_t from, Wanted wanted) {
    for (size_t start = LineStartFrom(text, from); start < text.size();) {
        const size_t end = text.find('\n', start);
        if (end == std::string_view::npos) break;  // its line end is still on its way
        const ResultLine result = ResultOf(text.substr(start, end - start));
        if (wanted(result)) return result;
        start = end + 1;
    }
    return ResultLine::kNone;
}

}  // namespace

ResultLine FirstResultLine(std::string_view text, size_t from) {
    return FindResultLine(text, from, [](ResultLine r) { return r != ResultLine::kNone; });
}

ResultLine ReportResult(std::string_view text) {
    size_t listing = text.find(model::kListingStart);
    if (listing == std::string_view::npos) listing = text.find(model::kCdmaListingStart);
    if (listing == std::string_view::npos) {
        return FirstResultLine(text) == ResultLine::kError ? ResultLine::kError : ResultLine::kNone;
    }
    // Only its closing "OK" ends a listing: an "ERROR" inside it is a value's text.
    return FindResultLine(text, listing, [](ResultLine r) { return r == ResultLine::kOk; });
}

}  // namespace devlink
