// The values a unit holds after a factory restore, one per catalogue row.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/catalogue.h"
#include "sim/profiles.h"

namespace sim {

/// The factory value of the catalogue row `name` on a unit of `profile`, or nullopt when the
/// unit knows no such row. Values hold no CR or LF and are shorter than 100 bytes.
std::optional<std::string> DefaultValue(const Profile& profile, std::string_view name);

/// Sets every row of `catalogue` to its factory value. Returns the names of the rows that
/// have none (left empty); an empty result means every row was set.
std::vector<std::string> ApplyDefaults(const Profile& profile, model::ParamCatalogue& catalogue);

}  // namespace sim
