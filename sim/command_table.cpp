#include "sim/command_table.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "platform/text.h"
#include "sim/embedded_data.h"

namespace sim {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t at = 0;;) {
        const std::size_t end = text.find(separator, at);
        parts.push_back(text.substr(at, end == std::string_view::npos ? end : end - at));
        if (end == std::string_view::npos) return parts;
        at = end + 1;
    }
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    for (std::string_view word : Split(text, ' ')) {
        if (!word.empty()) words.emplace_back(word);
    }
    return words;
}

std::optional<long> Number(std::string_view text) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// "text 99", "number 1 65535" or "list A B / C"; false when the text is none of these.
bool ParseDomain(std::string_view text, UnitCommand& command) {
    std::vector<std::string> words = Words(text);
    if (words.empty()) return false;
    const std::string kind = words.front();
    words.erase(words.begin());
    if (kind == "text" && words.size() == 1) {
        const auto bytes = Number(words[0]);
        if (!bytes || *bytes <= 0 || *bytes >= static_cast<long>(kMaxValueBytes)) return false;
        command.kind = DomainKind::kText;
        command.maxBytes = static_cast<std::size_t>(*bytes);
        return true;
    }
    if (kind == "number" && words.size() == 2) {
        const auto low = Number(words[0]);
        const auto high = Number(words[1]);
        if (!low || !high || *low > *high) return false;
        command.kind = DomainKind::kNumber;
        command.low = *low;
        command.high = *high;
        return true;
    }
    if (kind != "list") return false;
    command.kind = DomainKind::kList;
    std::vector<std::string>* values = &command.listed;
    for (std::string& word : words) {
        if (word == "/" && values == &command.listed) {
            values = &command.unlisted;
        } else {
            values->push_back(std::move(word));
        }
    }
    return !command.listed.empty();
}

// One line "COMMAND | DOMAIN | LABEL..."; an empty text on success, else what is wrong.
std::string ParseLine(std::string_view line, UnitCommand& command) {
    const std::vector<std::string_view> fields = Split(line, '|');
    if (fields.size() < 3) return "expected COMMAND | DOMAIN | LABEL";
    command.command = std::string(platform::Trim(fields[0], " "));
    if (UpperCase(command.command).rfind("AT+", 0) != 0 ||
        command.command.find(' ') != std::string::npos) {
        return "not a command: \"" + command.command + "\"";
    }
    if (!ParseDomain(platform::Trim(fields[1], " "), command)) return "bad domain";
    for (std::size_t i = 2; i < fields.size(); ++i) {
        const std::string_view label = platform::Trim(fields[i], " ");
        // The report's lines are split at their first colon, so a label has one, at its end.
        if (label.size() < 2 || label.find(':') != label.size() - 1) {
            return "bad label \"" + std::string(label) + "\"";
        }
        command.labels.emplace_back(label);
    }
    return {};
}

}  // namespace

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

std::optional<std::vector<UnitCommand>> ParseCommandTable(std::string_view text,
                                                          std::string& error) {
    std::vector<UnitCommand> commands;
    std::set<std::string> names;
    std::set<std::string> labels;
    int number = 0;
    for (std::string_view line : Split(text, '\n')) {
        ++number;
        line = platform::Trim(line, " ");
        if (line.empty() || line.front() == '#') continue;
        UnitCommand command;
        std::string problem = ParseLine(line, command);
        if (problem.empty() && !names.insert(UpperCase(command.command)).second) {
            problem = "command listed twice";
        }
        for (const std::string& label : command.labels) {
            if (problem.empty() && !labels.insert(label).second) problem = "label listed twice";
        }
        if (!problem.empty()) {
            error = "line " + std::to_string(number) + ": " + problem;
            return std::nullopt;
        }
        commands.push_back(std::move(command));
    }
    return commands;
}

const std::vector<UnitCommand>& UnitCommands() {
    static const std::vector<UnitCommand> commands = [] {
        std::string error;
        auto table = ParseCommandTable(EmbeddedText("commands.txt"), error);
        if (!table || table->empty()) {
            // The file is built into the program: a broken one is a defect of the build.
            std::fprintf(stderr, "sim: commands.txt: %s\n", table ? "empty" : error.c_str());
            std::abort();
        }
        return std::move(*table);
    }();
    return commands;
}

const UnitCommand* FindUnitCommand(std::string_view name) {
    static const std::map<std::string, const UnitCommand*> byName = [] {
        std::map<std::string, const UnitCommand*> index;
        for (const UnitCommand& command : UnitCommands()) {
            index.emplace(UpperCase(command.command), &command);
        }
        return index;
    }();
    const auto found = byName.find(UpperCase(name));
    return found == byName.end() ? nullptr : found->second;
}

}  // namespace sim
