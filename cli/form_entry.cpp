#include "cli/form_entry.h"

#include <ostream>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/output.h"
#include "cli/session.h"
#include "model/command_builder.h"
#include "ui/controls.h"

namespace cli {

namespace {

/// The item number of "#N", or -1 when `value` is not one.
int ItemNumber(const std::string& value) {
    if (value.size() < 2 || value.size() > 8 || value[0] != '#' ||
        value.find_first_not_of("0123456789", 1) != std::string::npos) {
        return -1;
    }
    return std::stoi(value.substr(1));
}

int ItemOfText(const ui::Combo& list, const std::string& value) {
    for (int i = 0; i < list.GetCount(); ++i) {
        if (list.GetItemText(i) == value) return i;
    }
    return -1;
}

/// The item of `list` that `value` names: "#N" for item N, otherwise its text in this skin
/// or in the other (`other`, the same list of the other language's skin; may be null).
int FindItem(const ui::Combo& list, const ui::Combo* other, const std::string& value) {
    if (const int number = ItemNumber(value); number >= 0) {
        return number < list.GetCount() ? number : -1;
    }
    if (const int item = ItemOfText(list, value); item >= 0) return item;
    const int item = other ? ItemOfText(*other, value) : -1;
    return item < list.GetCount() ? item : -1;
}

std::string ItemList(const ui::Combo& list) {
    std::string items;
    for (int i = 0; i < list.GetCount(); ++i) items += (i ? "\", \"" : "\"") + list.GetItemText(i);
    return items.empty() ? "none" : items + "\"";
}

/// Puts one value into the form as a user would and lets the form adapt. An error text when
/// the form cannot take it.
std::string EnterValue(Session& s, Assignment& a) {
    ui::Control* control = s.Frame().paintManager.FindControl(a.name);
    if (!control) return a.name + " has no field in the form";
    a.formText = control->GetText();
    if (auto* list = dynamic_cast<ui::Combo*>(control)) {
        a.item = FindItem(*list, s.OtherSkinList(a.name), a.value);
        if (a.item < 0) {
            return a.name + " has no item \"" + a.value + "\"; its items: " + ItemList(*list);
        }
        list->SelectItem(a.item);
    } else {
        s.TypeText(*control, a.value);
    }
    s.Settle();
    return {};
}

/// What is wrong with an assignment once the form has settled: hidden, or changed.
std::string CheckSettled(const Session& s, const Assignment& a) {
    const app::CK4X30FrameWnd& f = s.Frame();
    const model::ParamEntry* row = f.catalogue.Find(a.name);
    if (!RowShown(f, a.name, *row)) return a.name + " is hidden by the form for this unit";
    const ui::Control* control = f.paintManager.FindControl(a.name);
    const auto* list = dynamic_cast<const ui::Combo*>(control);
    const bool kept = list ? list->GetCurSel() == a.item : control->GetText() == a.value;
    if (!kept) return a.name + " was changed by the form to \"" + control->GetText() + "\"";
    return {};
}

/// The writable rows that send `command`, compared without regard to case.
std::vector<std::string> RowsSending(const model::ParamCatalogue& catalogue,
                                     const std::string& command) {
    const auto upper = [](std::string text) {
        for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    };
    std::vector<std::string> names;
    for (const auto& [name, row] : catalogue) {
        if (!row.command.empty() && upper(row.command) == upper(command)) names.push_back(name);
    }
    return names;
}

/// The row `a` names, or an error text.
std::string ResolveName(const model::ParamCatalogue& catalogue, Assignment& a) {
    if (const model::ParamEntry* row = catalogue.Find(a.name)) {
        return row->command.empty() ? a.name + " is read from the unit, never written" : "";
    }
    const std::vector<std::string> rows = RowsSending(catalogue, a.name);
    if (rows.empty()) return "unknown parameter \"" + a.name + "\"";
    if (rows.size() == 1) {
        a.name = rows.front();
        return {};
    }
    std::string names;
    for (const std::string& name : rows) names += (names.empty() ? "\"" : "\", \"") + name;
    return a.name + " is sent by more than one row; name one of " + names + "\"";
}

}  // namespace

std::vector<Assignment> ParseAssignments(const std::vector<std::string>& texts) {
    std::vector<Assignment> list;
    for (const std::string& text : texts) {
        const size_t equals = text.find('=');
        list.push_back({text.substr(0, equals), text.substr(equals + 1), -1, {}});
    }
    return list;
}

bool ResolveNames(const model::ParamCatalogue& catalogue, std::vector<Assignment>& assignments,
                  std::ostream& err) {
    bool good = true;
    for (Assignment& a : assignments) {
        if (std::string error = ResolveName(catalogue, a); !error.empty()) {
            err << "dtucfg: " << Printable(error) << "\n";
            good = false;
        }
    }
    return good;
}

bool RowShown(const app::CK4X30FrameWnd& f, const std::string& name, const model::ParamEntry& row) {
    const ui::Control* control = f.paintManager.FindControl(name);
    return model::RowIsWritten(row, f.pages, control) && control->IsShown();
}

int EnterAll(Session& s, std::vector<Assignment>& assignments, std::ostream& err) {
    int code = kExitOk;
    for (Assignment& a : assignments) {
        if (std::string error = EnterValue(s, a); !error.empty()) {
            err << "dtucfg: " << Printable(error) << "\n";
            code = kExitUsage;
        }
    }
    if (code != kExitOk) return code;
    s.Settle();
    for (const Assignment& a : assignments) {
        if (std::string error = CheckSettled(s, a); !error.empty()) {
            err << "dtucfg: " << Printable(error) << "; nothing written\n";
            code = kExitUsage;
        }
    }
    return code;
}

void PrintWrites(CommandContext& ctx, const std::vector<WriteResult>& writes,
                 const std::vector<std::string>& differences) {
    if (!ctx.options.json) {
        for (const WriteResult& w : writes)
            ctx.out << Printable(w.name + "\t" + w.value + "\t" + w.result) << "\n";
        return;
    }
    bool changed = false;
    std::string json = "{\"writes\":[";
    for (size_t i = 0; i < writes.size(); ++i) {
        json += std::string(i ? "," : "") + "{\"name\":" + JsonString(writes[i].name) +
                ",\"value\":" + JsonString(writes[i].value) +
                ",\"result\":" + JsonString(writes[i].result) + "}";
        changed = changed || writes[i].result == "ok";
    }
    json += "],\"differences\":[";
    for (size_t i = 0; i < differences.size(); ++i) {
        json += (i ? "," : "") + JsonString(differences[i]);
    }
    ctx.out << json << "],\"changed\":" << (changed ? "true" : "false") << "}\n";
}

}  // namespace cli
