// The parameter catalogue: every configurable parameter of the unit with its AT command,
// its label in the unit's report and the form control (by name) that shows it. Ordered by
// control name, compared byte by byte as unsigned characters; every walk goes in that order.
// Owned and used by the user-interface thread only.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace model {

struct ParamEntry {
    std::string command;  // "AT+LID"; empty for rows that are never written
    std::string value;    // what the unit is known to hold
    std::string label;    // the text before the value in the report, colon included
    bool shown = true;    // false while the visibility rules hide the row's control
    std::string kind;     // "Edit", "Combobox" or "Line"
    int page = 0;         // index 0-9 of the form page that holds the control
};

class ParamCatalogue {
  public:
    using Map = std::map<std::string, ParamEntry, std::less<>>;

    /// Adds one row with `shown` true and an empty value, unless `name` has a row already.
    void AddParam(int page, std::string_view kind, std::string_view name, std::string_view label,
                  std::string_view command);
    /// The row of `name`, or null; never creates one.
    ParamEntry* Find(std::string_view name);
    const ParamEntry* Find(std::string_view name) const;
    /// Sets the shown flag of `name`; a name without a row is ignored.
    void SetShown(std::string_view name, bool shown);
    /// Sets the value of `name`; a name without a row is ignored.
    void SetValue(std::string_view name, std::string_view value);

    std::size_t Size() const { return rows_.size(); }
    Map::iterator begin() { return rows_.begin(); }
    Map::iterator end() { return rows_.end(); }
    Map::const_iterator begin() const { return rows_.begin(); }
    Map::const_iterator end() const { return rows_.end(); }

  private:
    Map rows_;
};

/// Adds the 185 rows of the unit's parameters.
void InitParamCatalogue(ParamCatalogue& catalogue);

}  // namespace model
