#include "model/catalogue.h"

#include <string>

namespace model {

void ParamCatalogue::AddParam(int page, std::string_view kind, std::string_view name,
                              std::string_view label, std::string_view command) {
    auto it = rows_.lower_bound(name);
    if (it != rows_.end() && it->first == name) return;  // the first row of a name stays
    rows_.emplace_hint(it, std::string(name),
                       ParamEntry{.command = std::string(command),
                                  .value = std::string(),
                                  .label = std::string(label),
                                  .shown = true,
                                  .kind = std::string(kind),
                                  .page = page});
}

ParamEntry* ParamCatalogue::Find(std::string_view name) {
    auto it = rows_.find(name);
    return it == rows_.end() ? nullptr : &it->second;
}

const ParamEntry* ParamCatalogue::Find(std::string_view name) const {
    auto it = rows_.find(name);
    return it == rows_.end() ? nullptr : &it->second;
}

void ParamCatalogue::SetShown(std::string_view name, bool shown) {
    if (ParamEntry* row = Find(name)) row->shown = shown;
}

void ParamCatalogue::SetValue(std::string_view name, std::string_view value) {
    if (ParamEntry* row = Find(name)) row->value = std::string(value);
}

}  // namespace model
