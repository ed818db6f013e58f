#include "model/report_parser.h"

#include "platform/text.h"

namespace model {

namespace {

/// The value after `label` in `listing`, or nothing when the label or its line end is missing.
bool ValueAfterLabel(std::string_view listing, std::string_view label, std::string& value) {
    const size_t at = listing.find(label);
    if (at == std::string_view::npos) return false;
    const size_t start = at + label.size();
    const size_t lineEnd = listing.find("\r\n", start);
    if (lineEnd == std::string_view::npos) return false;
    // Blanks around the value go; CR bytes only at its end, and a value that starts with one
    // is empty.
    const std::string_view rest = platform::Trim(listing.substr(start, lineEnd - start), " ");
    value = rest.starts_with('\r') ? std::string() : std::string(platform::Trim(rest, " \r"));
    return true;
}

}  // namespace

std::string ExtractBetween(std::string_view text, std::string_view start, std::string_view end) {
    const size_t from = text.find(start);
    if (from == std::string_view::npos) return {};
    const size_t begin = from + start.size();
    const size_t to = text.find(end, begin);
    if (to == std::string_view::npos) return {};
    return std::string(platform::Trim(text.substr(begin, to - begin), " "));
}

int ExtractReportValues(std::string_view text, ParamCatalogue& catalogue, std::string& rfModel,
                        std::set<std::string>* reported) {
    size_t listing = text.find(kListingStart);
    if (listing == std::string_view::npos) listing = text.find(kCdmaListingStart);
    if (listing == std::string_view::npos) return 1;
    const std::string_view copy = text.substr(listing, kListingCopySize);
    rfModel = ExtractBetween(text, "RF MODEL:", "\r\n");
    for (auto& [name, row] : catalogue) {
        row.value.clear();
        std::string value;
        if (!ValueAfterLabel(copy, row.label, value)) continue;
        if (value.size() >= kValueLimit) continue;
        row.value = std::move(value);
        if (reported) reported->insert(name);
    }
    return 0;
}

void FillBandList(ui::Combo& list, std::string_view module) {
    list.RemoveAllItems();
    list.AddItem("AUTO");
    int last = 0;
    if (module.find("BG36") != std::string_view::npos) {
        last = 28;
    } else if (module.find("SIM7000") != std::string_view::npos) {
        last = 42;
    }
    for (int band = 1; band <= last; ++band) list.AddItem("b" + std::to_string(band));
}

}  // namespace model
