// What a unit holds: the lines of its parameter report with their current values. A unit
// leaves the factory with the report of its profile (sim/data/reports); writes change the
// values of the lines that show the written command. A plain value: no threads, no timers.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/profiles.h"

namespace sim {

class UnitState {
  public:
    /// The unit of `profile` as it leaves the factory.
    explicit UnitState(const Profile& profile);
    /// The unit whose report file (as stored in sim/data/reports: LF line ends) is `file`.
    static UnitState FromReportFile(std::string_view file);

    /// The answer to "AT+SHOW": every line of the report, each ended by CR LF; a line with a
    /// label is the label, a blank and the current value (so an empty value leaves the blank).
    std::string Report() const;
    /// The write "COMMAND=value": true when the unit knows the command (in any letter case)
    /// and the value is shorter than kMaxValueBytes; every line of the command then shows
    /// the value (a unit without a line for it keeps nothing). False changes nothing.
    bool Write(std::string_view command, std::string_view value);
    /// The value shown for `key`: a command (any letter case; its first line), or the text of
    /// a label before its colon ("Device Type", "RF MODEL"). Nullopt when no line shows it.
    std::optional<std::string> Value(std::string_view key) const;
    /// Sets every line that `key` (as for Value) names to `value`, unchecked; false (and no
    /// change) when no line does.
    bool SetValue(std::string_view key, std::string_view value);
    /// Removes every line whose label, before its colon, is `label` ("Server's Ip"), as a unit
    /// whose firmware lacks the row: the report no longer prints it, and a write to its
    /// command keeps nothing there. False (and no change) when no line has that label.
    bool DropLine(std::string_view label);

  private:
    struct Line {
        std::string label;  // up to and including the colon; empty for a line of plain text
        std::string value;  // the value, or the whole text of a plain line
    };
    UnitState() = default;
    std::vector<std::size_t> LinesOf(std::string_view key) const;

    std::vector<Line> lines_;
};

}  // namespace sim
