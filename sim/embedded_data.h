// The unit's data files (sim/data), built into the library as text.
#pragma once

#include <span>
#include <string_view>

namespace sim {

/// One data file: its path below sim/data and its text as stored (LF line ends).
struct EmbeddedFile {
    std::string_view name;
    std::string_view text;
};

/// Every data file, ordered by name.
std::span<const EmbeddedFile> EmbeddedFiles();

/// The text of the data file `name` (such as "reports/base.txt"); empty when there is none.
inline std::string_view EmbeddedText(std::string_view name) {
    for (const EmbeddedFile& file : EmbeddedFiles()) {
        if (file.name == name) return file.text;
    }
    return {};
}

}  // namespace sim
