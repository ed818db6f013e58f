#include "sim/unit_state.h"

#include <algorithm>

#include "sim/command_table.h"

namespace sim {

UnitState::UnitState(const Profile& profile) : UnitState(FromReportFile(profile.reportFile)) {}

UnitState UnitState::FromReportFile(std::string_view file) {
    UnitState state;
    while (!file.empty()) {
        const std::size_t end = std::min(file.find('\n'), file.size());
        const std::string_view line = file.substr(0, end);
        file.remove_prefix(std::min(end + 1, file.size()));
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            state.lines_.push_back({"", std::string(line)});
            continue;
        }
        std::string_view value = line.substr(colon + 1);
        if (value.starts_with(' ')) value.remove_prefix(1);
        state.lines_.push_back({std::string(line.substr(0, colon + 1)), std::string(value)});
    }
    return state;
}

std::string UnitState::Report() const {
    std::string report;
    for (const Line& line : lines_) {
        report += line.label;
        if (!line.label.empty()) report += ' ';
        report += line.value;
        report += "\r\n";
    }
    return report;
}

// The indices of the lines that `key` names.
std::vector<std::size_t> UnitState::LinesOf(std::string_view key) const {
    const UnitCommand* command = FindUnitCommand(key);
    std::vector<std::size_t> named;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string& label = lines_[i].label;
        if (label.empty()) continue;
        const bool match = command ? std::find(command->labels.begin(), command->labels.end(),
                                               label) != command->labels.end()
                                   : std::string_view(label).substr(0, label.size() - 1) == key;
        if (match) named.push_back(i);
    }
    return named;
}

bool UnitState::Write(std::string_view command, std::string_view value) {
    if (FindUnitCommand(command) == nullptr || value.size() >= kMaxValueBytes) return false;
    SetValue(command, value);
    return true;
}

std::optional<std::string> UnitState::Value(std::string_view key) const {
    const std::vector<std::size_t> named = LinesOf(key);
    if (named.empty()) return std::nullopt;
    return lines_[named.front()].value;
}

bool UnitState::SetValue(std::string_view key, std::string_view value) {
    const std::vector<std::size_t> named = LinesOf(key);
    for (std::size_t i : named) lines_[i].value = std::string(value);
    return !named.empty();
}

bool UnitState::DropLine(std::string_view label) {
    const auto dropped = std::erase_if(lines_, [&](const Line& line) {
        return !line.label.empty() &&
               std::string_view(line.label).substr(0, line.label.size() - 1) == label;
    });
    return dropped > 0;
}

}  // namespace sim
