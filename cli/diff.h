// Comparing two configurations row by row: two files, or the unit's report and a file.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

/// The rows a report or file holds, by row name.
using ReportValues = std::map<std::string, std::string>;

/// A row two configurations hold differently; `a` or `b` empty when that side lacks it.
struct RowDifference {
    std::string name;
    std::string label;  ///< the report's label without its colon
    std::optional<std::string> a, b;
};

/// The rows of a report's text (a file's, or the unit's); nothing without a listing.
std::optional<ReportValues> ReportRows(std::string_view text);
/// The rows that differ, in the catalogue's order.
std::vector<RowDifference> DiffReports(const ReportValues& a, const ReportValues& b);
/// A line per row: "label: a -> b", "(none)" for a side that lacks the row, "" for an empty
/// value.
std::string FormatDiffText(const std::vector<RowDifference>& rows);

}  // namespace cli
