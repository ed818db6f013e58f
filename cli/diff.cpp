// "diff": the parameters two configurations hold differently, a line per row, as "diff" does
// for text: exit 0 when they are equal, 1 when they differ.
#include "cli/diff.h"

#include <ostream>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/output.h"
#include "cli/session.h"
#include "model/config_file.h"
#include "model/report_parser.h"
#include "platform/text.h"

namespace cli {

namespace {

constexpr int kExitDiffer = 1;

/// The text of the configuration file `path`, checked to hold a unit's listing; an error
/// named on `err` (and nothing) otherwise.
std::optional<std::string> ReadListing(const std::string& path, std::ostream& err) {
    const std::optional<std::string> text = model::ReadConfigFile(path);
    if (!text) {
        err << "dtucfg: " << Printable(path) << ": cannot be read\n";
        return std::nullopt;
    }
    if (!ReportRows(*text)) {
        err << "dtucfg: " << Printable(path) << ": holds no parameter listing of a unit\n";
        return std::nullopt;
    }
    return text;
}

/// A value as one difference line shows it: a line break in it (a file whose line ends
/// another program changed) is shown escaped, so every difference stays one line.
std::string Shown(const std::optional<std::string>& value) {
    if (!value) return "(none)";
    if (value->empty()) return "\"\"";
    std::string shown;
    for (const char c : *value) {
        if (c == '\r') {
            shown += "\\x0d";
        } else if (c == '\n') {
            shown += "\\x0a";
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string JsonValue(const std::optional<std::string>& value) {
    return value ? JsonString(*value) : "null";
}

int PrintDiff(CommandContext& ctx, const ReportValues& a, const ReportValues& b) {
    const std::vector<RowDifference> rows = DiffReports(a, b);
    if (!ctx.options.json) {
        ctx.out << Printable(FormatDiffText(rows));
        return rows.empty() ? kExitOk : kExitDiffer;
    }
    std::string json = "[";
    for (size_t i = 0; i < rows.size(); ++i) {
        const RowDifference& r = rows[i];
        json += std::string(i ? "," : "") + "{\"name\":" + JsonString(r.name) +
                ",\"label\":" + JsonString(r.label) + ",\"a\":" + JsonValue(r.a) +
                ",\"b\":" + JsonValue(r.b) + "}";
    }
    ctx.out << json << "]\n";
    return rows.empty() ? kExitOk : kExitDiffer;
}

}  // namespace

std::optional<ReportValues> ReportRows(std::string_view text) {
    model::ParamCatalogue catalogue;
    model::InitParamCatalogue(catalogue);
    std::string rfModel;
    std::set<std::string> reported;
    if (model::ExtractReportValues(text, catalogue, rfModel, &reported) != 0) return std::nullopt;
    ReportValues values;
    for (const auto& [name, row] : catalogue) {
        // A row without a label of its own ("I/O selection") is not in a report.
        if (!row.label.empty() && reported.count(name)) values[name] = row.value;
    }
    return values;
}

std::vector<RowDifference> DiffReports(const ReportValues& a, const ReportValues& b) {
    model::ParamCatalogue catalogue;
    model::InitParamCatalogue(catalogue);
    std::vector<RowDifference> rows;
    for (const auto& [name, row] : catalogue) {
        const auto inA = a.find(name);
        const auto inB = b.find(name);
        RowDifference d{name, std::string(platform::Trim(row.label, " :\r\n")), {}, {}};
        if (inA != a.end()) d.a = inA->second;
        if (inB != b.end()) d.b = inB->second;
        if (d.a != d.b) rows.push_back(std::move(d));
    }
    return rows;
}

std::string FormatDiffText(const std::vector<RowDifference>& rows) {
    std::string text;
    for (const RowDifference& r : rows) {
        text +=
            (r.label.empty() ? r.name : r.label) + ": " + Shown(r.a) + " -> " + Shown(r.b) + "\n";
    }
    return text;
}

int PrepareDiff(CommandContext& ctx) {
    const std::optional<std::string> text = ReadListing(ctx.options.arguments.back(), ctx.err);
    if (!text) return kExitFile;
    ctx.fileText = *text;
    return kExitOk;
}

int RunDiff(CommandContext& ctx) {
    if (ctx.session) {  // the unit against the file
        if (const int loaded = ctx.session->Load(); loaded != kExitOk) return loaded;
        const std::optional<ReportValues> unit = ReportRows(ctx.session->Record().LastReport());
        if (!unit) return kExitTimeout;
        return PrintDiff(ctx, *unit, *ReportRows(ctx.fileText));
    }
    const std::optional<std::string> a = ReadListing(ctx.options.arguments.front(), ctx.err);
    const std::optional<std::string> b = ReadListing(ctx.options.arguments.back(), ctx.err);
    if (!a || !b) return kExitFile;
    return PrintDiff(ctx, *ReportRows(*a), *ReportRows(*b));
}

}  // namespace cli
