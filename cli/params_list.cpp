// "params": every parameter by the names a script may use with "set", its form page, whether
// the form shows it for the unit, and the items of its list with their numbers.
#include <ostream>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/form_entry.h"
#include "cli/output.h"
#include "cli/session.h"
#include "ui/controls.h"

namespace cli {

namespace {

struct ParamInfo {
    std::string name;
    std::string command;
    int page = 0;
    const char* shown = "unknown";  ///< "yes", "no", or "unknown" without a unit
    std::vector<std::string> items;
};

std::vector<ParamInfo> CollectInfo(const app::CK4X30FrameWnd& f, bool withUnit) {
    std::vector<ParamInfo> params;
    for (const auto& [name, row] : f.catalogue) {
        if (row.command.empty()) continue;
        ParamInfo info{name, row.command, row.page, "unknown", {}};
        if (withUnit) info.shown = RowShown(f, name, row) ? "yes" : "no";
        if (const auto* list = f.paintManager.Find<ui::Combo>(name)) {
            for (int i = 0; i < list->GetCount(); ++i) info.items.push_back(list->GetItemText(i));
        }
        params.push_back(std::move(info));
    }
    return params;
}

std::string ParamsText(const std::vector<ParamInfo>& params) {
    std::string text;
    for (const ParamInfo& p : params) {
        text += p.name + "\t" + p.command + "\tpage " + std::to_string(p.page) +
                "\tshown: " + p.shown + "\n";
        for (size_t i = 0; i < p.items.size(); ++i) {
            text += "\t#" + std::to_string(i) + "\t" + p.items[i] + "\n";
        }
    }
    return text;
}

std::string ParamsJson(const std::vector<ParamInfo>& params) {
    std::string json = "[";
    for (size_t i = 0; i < params.size(); ++i) {
        const ParamInfo& p = params[i];
        const std::string shown = p.shown == std::string_view("unknown")
                                      ? "null"
                                      : (p.shown == std::string_view("yes") ? "true" : "false");
        json += std::string(i ? "," : "") + "{\"name\":" + JsonString(p.name) +
                ",\"command\":" + JsonString(p.command) + ",\"page\":" + std::to_string(p.page) +
                ",\"shown\":" + shown + ",\"items\":[";
        for (size_t k = 0; k < p.items.size(); ++k) {
            json += std::string(k ? "," : "") + "{\"number\":" + std::to_string(k) +
                    ",\"text\":" + JsonString(p.items[k]) + "}";
        }
        json += "]}";
    }
    return json + "]\n";
}

}  // namespace

int RunParams(CommandContext& ctx) {
    Session& s = *ctx.session;
    const bool withUnit = s.Frame().link.PortOpen();
    if (withUnit) {
        if (const int loaded = s.Load(); loaded != kExitOk) return loaded;
    }
    const std::vector<ParamInfo> params = CollectInfo(s.Frame(), withUnit);
    ctx.out << (ctx.options.json ? ParamsJson(params) : Printable(ParamsText(params)));
    return kExitOk;
}

}  // namespace cli
