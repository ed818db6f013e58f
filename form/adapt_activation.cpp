// The activation method and the number of servers: rules given as tables.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "form/adapt_form.h"

namespace form {

namespace {

// The thirteen activation rows, written 1 to 9, 6.1, 6.1.1, 6.1.2 and ALARM.
const char* const kActivationRows[] = {"1", "2", "3",   "4",     "5",     "6",     "7",
                                       "8", "9", "6.1", "6.1.1", "6.1.2", "_ALARM"};

std::string ActivationRow(std::string_view row) {
    return "ActivateHorizontalLayout" + std::string(row);
}

enum class DioGroups { All, ThirdOnly, Untouched };

struct Method {
    const char* chinese;
    const char* english;
    std::vector<const char*> rows;  // the activation rows shown; the others are hidden
    DioGroups groups;
    int height;
    std::vector<model::AdaptCase> posted;
};

const Method kMethods[] = {
    {"自动", "AUTO", {}, DioGroups::All, 60, {}},
    {"短信激活", "SMSD", {"1", "8", "6.1", "6.1.2"}, DioGroups::All, 110, {}},
    {"电话激活", "CTRL", {"1", "7"}, DioGroups::All, 85, {}},
    {"串口激活", "DATA", {"2", "3"}, DioGroups::All, 110, {}},
    {"混合激活",
     "MIXD",
     {"1", "2", "3", "7", "8", "9", "6.1", "6.1.2"},
     DioGroups::ThirdOnly,
     185,
     {model::AdaptCase::kIoPageForModel, model::AdaptCase::kIo2Mode}},
    {"定时激活", "ALARM", {"_ALARM"}, DioGroups::All, 85, {}},
};

void ShowDioGroups(AdaptContext& ctx, DioGroups groups) {
    for (int n = 1; n <= 5; ++n) {
        const bool show = groups == DioGroups::All || (groups == DioGroups::ThirdOnly && n == 3);
        if (show) ctx.Show("IO" + std::to_string(n) + "GroupBox", true);
    }
}

void ApplyMethod(AdaptContext& ctx, const Method& m) {
    for (const char* row : kActivationRows) {
        const bool shown = std::find_if(m.rows.begin(), m.rows.end(), [&](const char* r) {
                               return std::string_view(r) == row;
                           }) != m.rows.end();
        ctx.Show(ActivationRow(row), shown);
    }
    ShowDioGroups(ctx, m.groups);
    for (model::AdaptCase posted : m.posted) ctx.post(posted, 0);
    ctx.Show("IOTab", true);
    ctx.pages[model::kIoPage].shown = true;
}

/// "I/O激活" or "DIO": the height, or nothing when the rule stops.
std::optional<int> ApplyIoActivation(AdaptContext& ctx) {
    for (const char* row : {"1", "1.2", "2", "3", "7", "8", "9", "_ALARM"}) {
        ctx.Show(ActivationRow(row), false);
    }
    ctx.Show(ActivationRow("4"), true);
    ShowDioGroups(ctx, DioGroups::All);
    ui::Combo* how = ctx.List("IO activation methods");
    if (!how) return std::nullopt;
    const bool bySelection = how->GetCurSel() == 0;
    ctx.Show(ActivationRow("5"), bySelection);
    for (const char* row : {"6", "6.1", "6.1.1", "6.1.2"}) ctx.Show(ActivationRow(row), false);
    PostIoActivationCases(ctx.post, bySelection);
    return bySelection ? 110 : 85;
}

}  // namespace

void PostIoActivationCases(const PostAdapt& post, bool bySelection) {
    if (bySelection) {
        post(model::AdaptCase::kIoSelection, 0);
        return;
    }
    for (model::AdaptCase io : model::kIoControlCases) post(io, 0);
}

bool Activation(AdaptContext& ctx, model::AdaptCase, int) {
    ui::Combo* method = ctx.List("ActivateMethod");
    if (!method) return false;
    const std::string text = method->GetText();
    int height = 60;
    if (text == "I/O激活" || text == "DIO") {
        const auto ioHeight = ApplyIoActivation(ctx);
        if (!ioHeight) return false;
        height = *ioHeight;
    } else {
        for (const Method& m : kMethods) {
            if (text == m.chinese || text == m.english) {
                ApplyMethod(ctx, m);
                height = m.height;
                break;
            }
        }
    }
    if (!ctx.pm.FindControl("ActivateGroupBox")) return false;
    ctx.SetHeight("ActivateGroupBox", height);
    return true;
}

namespace {

struct ServerCountRow {
    const char* count;
    std::vector<int> shown;  // "ServiceHorizontalLayout" rows 0 to 6 shown; the others hidden
    int titles;              // 1 or 2: the label texts "ServerTitle1"... or "ServerTitle2"...
    int serviceHeight;
    int service2Height;
};

const ServerCountRow kServerCounts[] = {
    {"1", {0, 1, 6}, 1, 110, 110},      {"2", {0, 2}, 2, 110, 85},
    {"3", {0, 2, 3}, 2, 135, 85},       {"4", {0, 2, 3, 4}, 2, 160, 85},
    {"5", {0, 2, 3, 4, 5}, 2, 185, 85},
};
// A unit with GPS ("K8x30") may have no server at all.
const ServerCountRow kNoServer = {"0", {6}, 1, 60, 110};

void ApplyServerRows(AdaptContext& ctx, const ServerCountRow& row, ui::Control& title,
                     ui::Control& label) {
    for (int i = 0; i <= 6; ++i) {
        const bool shown = std::find(row.shown.begin(), row.shown.end(), i) != row.shown.end();
        ctx.Show("ServiceHorizontalLayout" + std::to_string(i), shown);
    }
    const std::string suffix = std::to_string(row.titles);
    title.SetText(ctx.texts.LoadText("ModeTabItemChange", "ServerTitle" + suffix));
    label.SetText(ctx.texts.LoadText("ModeTabItemChange", "Server's Label" + suffix));
}

}  // namespace

bool ServerCount(AdaptContext& ctx, model::AdaptCase, int) {
    ui::Combo* count = ctx.List("ThePPPauthentication");
    ui::Control* title = ctx.pm.FindControl("ServerTitle");
    ui::Control* label = ctx.pm.FindControl("Server's Label");
    if (!count || !title || !label) return false;
    const std::string text = count->GetText();
    int service = 60, service2 = 110;
    if (text == "0") {
        const model::ParamEntry* type = ctx.catalogue.Find("Device Type");
        const bool chosen = ctx.lastItemSelectName == "ThePPPauthentication";
        if (chosen && (!type || type->value.find("K8x30") == std::string::npos)) {
            // Every other unit needs a server: the user's choice of none is refused, and the
            // list falls back to one. A unit that reports none keeps its value.
            ctx.notice(ctx.texts.LoadText("Notify", "ServerCount"));
            count->SelectItem(1);
            return false;
        }
        ApplyServerRows(ctx, kNoServer, *title, *label);
        service = kNoServer.serviceHeight;
        service2 = kNoServer.service2Height;
    }
    for (const ServerCountRow& row : kServerCounts) {
        if (text != row.count) continue;
        ApplyServerRows(ctx, row, *title, *label);
        service = row.serviceHeight;
        service2 = row.service2Height;
    }
    if (!ctx.pm.FindControl("ServiceGroupBox")) return false;
    ctx.SetHeight("ServiceGroupBox", service);
    if (!ctx.pm.FindControl("ServiceGroupBox2")) return false;
    ctx.SetHeight("ServiceGroupBox2", service2);
    return true;
}

}  // namespace form
