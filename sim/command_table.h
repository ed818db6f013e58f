// The unit's parameter commands: how the unit spells each one, the labels of the report
// lines that show its value, and the values it keeps (the data file sim/data/commands.txt).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

/// Values the unit keeps are shorter than this; a longer write is refused.
inline constexpr std::size_t kMaxValueBytes = 100;

/// What kind of value a command holds.
enum class DomainKind {
    kText,    ///< free text of at most maxBytes bytes
    kNumber,  ///< a decimal number from low to high
    kList,    ///< one of a few values
};

/// One parameter command of the unit.
struct UnitCommand {
    std::string command;              ///< as the unit spells it, e.g. "AT+IPAD1"
    std::vector<std::string> labels;  ///< report labels with their colon, e.g. "Server1's Ip:"
    DomainKind kind = DomainKind::kText;
    std::size_t maxBytes = 0;           ///< kText: the longest value
    long low = 0;                       ///< kNumber: the smallest value
    long high = 0;                      ///< kNumber: the largest value
    std::vector<std::string> listed;    ///< kList: the values an item of the tool's list stands for
    std::vector<std::string> unlisted;  ///< kList: values the unit knows that no item stands for
};

/// Reads a command table in the format of sim/data/commands.txt. A malformed line gives
/// nullopt and sets `error` to "line N: " and what is wrong.
std::optional<std::vector<UnitCommand>> ParseCommandTable(std::string_view text,
                                                          std::string& error);

/// The unit's commands, in the order of the data file.
const std::vector<UnitCommand>& UnitCommands();

/// The command `name` matched without regard to letter case; null when the unit has none.
const UnitCommand* FindUnitCommand(std::string_view name);

/// `text` in upper case (ASCII letters only).
std::string UpperCase(std::string_view text);

}  // namespace sim
