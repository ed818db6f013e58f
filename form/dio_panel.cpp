// The five DIO channel panels: which rows a channel's work mode uses.
#include <iterator>
#include <string>

#include "form/adapt_form.h"

namespace form {

namespace {

// The rows of a channel, written as the part after "IOLayout<n>".
const char* const kAllRows[] = {".1", ".2",   ".2.1", ".3", ".3.1", ".3.2",
                                ".4", ".4.1", ".4.2", ".5", ".6",   ".7"};

struct Panel {
    AdaptContext& ctx;
    std::string n;  // the channel digit
    int height = 35;

    std::string Layout(const char* row) const { return "IOLayout" + n + row; }
    ui::Combo* List(const char* what) const { return ctx.List("DIO" + n + " " + what); }
    void Show(std::initializer_list<const char*> rows, bool visible) {
        for (const char* row : rows) ctx.Show(Layout(row), visible);
    }
    void HideAll() {
        for (const char* row : kAllRows) ctx.Show(Layout(row), false);
    }
    void InterfaceRow() {
        if (ui::Combo* list = List("interface")) Show({".2.1"}, list->GetCurSel() == 3);
    }
    void MethodRows() {
        if (ui::Combo* list = List("reported methods")) {
            Show({".3.1"}, list->GetCurSel() == 1);
            Show({".3.2"}, list->GetCurSel() == 0);
        }
    }
    /// The rows that follow "DIO<n> protocol"; without that list they stay as they are.
    template <class Item1, class Other>
    void ByProtocol(Item1 item1, Other other) {
        ui::Combo* protocol = List("protocol");
        if (!protocol) return;
        if (protocol->GetCurSel() == 1) {
            item1();
        } else {
            other();
        }
    }
};

/// The mode of the selected text: 1 to 7 for the language's Text1 to Text7, 0 for none.
int WorkMode(const AdaptContext& ctx, const std::string& text) {
    for (int k = 1; k <= 7; ++k) {
        if (text == ctx.texts.LoadText("DIO workmode", "Text" + std::to_string(k))) return k;
    }
    return 0;
}

// The rows each work mode shows on a channel's panel, and the panel's height.
void ShowTcpMode(Panel& p) {
    p.Show({".1", ".2"}, true);
    p.Show({".6", ".7"}, false);
    p.InterfaceRow();
    p.MethodRows();
    p.ByProtocol(
        [&] {
            p.Show({".3", ".4", ".4.1", ".5"}, true);
            p.Show({".4.2"}, false);
            p.height = 135;
        },
        [&] {
            p.Show({".3", ".4", ".4.1", ".4.2", ".5"}, false);
            p.height = 60;
        });
}

void ShowMode3(Panel& p) {
    p.Show({".1", ".2"}, true);
    p.Show({".3", ".3.1", ".3.2", ".6", ".7"}, false);
    p.InterfaceRow();
    p.ByProtocol(
        [&] {
            p.Show({".4", ".4.1", ".4.2", ".5"}, true);
            p.height = 110;
        },
        [&] {
            p.Show({".4"}, true);
            p.Show({".4.1", ".4.2", ".5"}, false);
            p.height = 60;
        });
}

void ShowMode4(Panel& p) {
    p.HideAll();
    p.Show({".6"}, true);
    p.height = 60;
}

void ShowMode7(Panel& p) {
    p.Show({".1", ".2", ".4", ".4.1"}, true);
    p.Show({".4.2", ".5", ".6", ".7"}, false);
    p.InterfaceRow();
    p.ByProtocol(
        [&] {
            p.Show({".3"}, true);
            p.MethodRows();
            p.height = 110;
        },
        [&] {
            p.Show({".3"}, false);
            p.height = 85;
        });
}

void HideRows(Panel& p) {
    p.HideAll();
}

void ApplyMode(Panel& p, int mode) {
    // Index: the work mode 1 to 7; a text of no mode (0) changes nothing.
    static constexpr void (*kModes[])(Panel&) = {nullptr,   HideRows, ShowTcpMode, ShowMode3,
                                                 ShowMode4, HideRows, HideRows,    ShowMode7};
    if (mode > 0 && mode < static_cast<int>(std::size(kModes))) kModes[mode](p);
}

}  // namespace

std::vector<std::string> SplitText(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    std::string_view rest = text;
    for (size_t at; !separator.empty() && (at = rest.find(separator)) != std::string_view::npos;) {
        pieces.emplace_back(rest.substr(0, at));
        rest.remove_prefix(at + separator.size());
    }
    pieces.emplace_back(rest);
    return pieces;
}

bool FillList(ui::PaintManager& pm, std::string_view name, std::string_view text) {
    auto* list = pm.Find<ui::Combo>(name);
    if (!list) return false;
    const int remembered = list->GetCurSel();
    list->RemoveAllItems();
    for (const std::string& piece : SplitText(text, ";")) list->AddItem(piece);
    if (remembered < list->GetCount()) list->SelectItem(remembered);
    return true;
}

bool ApplyDioPanel(AdaptContext& ctx, int channel) {
    Panel panel{ctx, std::to_string(channel)};
    const std::string workModeName = "DIO" + panel.n + " workmode";
    ui::Combo* workMode = ctx.List(workModeName);
    if (!workMode) return false;
    const int mode = WorkMode(ctx, workMode->GetText());
    ApplyMode(panel, mode);
    // The times and query rows belong to the report-method row: with it hidden they would be
    // written while the group's height cuts them off.
    if (ui::Control* methods = ctx.pm.FindControl(panel.Layout(".3"));
        methods && !methods->IsVisible()) {
        panel.Show({".3.1", ".3.2"}, false);
    }
    // The report methods are refilled only right after the work mode itself was changed, so
    // a chosen method survives every other change of the form.
    if (mode != 0 && ctx.lastItemSelectName == workModeName) {
        const char* key = mode == 7 ? "DIO reported methods ADC" : "DIO reported methods Common";
        FillList(ctx.pm, "DIO" + panel.n + " reported methods",
                 ctx.texts.LoadText("ComboElement_IO", key));
    }
    if (!ctx.pm.FindControl("IO" + panel.n + "GroupBox")) return false;
    ctx.SetHeight("IO" + panel.n + "GroupBox", panel.height);
    return true;
}

}  // namespace form
