// A table of rules looked up by control name: the drop-down rules of the report parser and of
// command building are such tables. Names may hold "%d", the channel digit: such a row stands
// for the five DIO channels.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace model {

template <class Rule>
class RuleTable {
  public:
    struct Row {
        std::string_view name;
        Rule rule;
    };

    RuleTable(std::initializer_list<Row> rows, Rule fallback) : fallback_(fallback) {
        for (const Row& row : rows) {
            const std::string name(row.name);
            const size_t digit = name.find("%d");
            if (digit == std::string::npos) {
                rules_.emplace(name, row.rule);
                continue;
            }
            for (int channel = 1; channel <= 5; ++channel) {
                std::string expanded = name;
                expanded.replace(digit, 2, std::to_string(channel));
                rules_.emplace(std::move(expanded), row.rule);
            }
        }
    }

    /// The rule of `name`; the fallback for a name without a row.
    Rule Find(const std::string& name) const {
        auto it = rules_.find(name);
        return it == rules_.end() ? fallback_ : it->second;
    }

  private:
    std::unordered_map<std::string, Rule> rules_;
    Rule fallback_;
};

}  // namespace model
