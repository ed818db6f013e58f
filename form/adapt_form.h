// The rules that rearrange the form for the unit's model and the modes chosen in its lists:
// which row layouts and group boxes are shown, and so which rows are written, and how tall
// each group box is drawn. Each rule runs as one case of UM_ADAPT_FORM.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "form/layout_rules.h"
#include "model/catalogue.h"
#include "model/page_table.h"
#include "platform/language_texts.h"
#include "ui/controls.h"
#include "ui/paint_manager.h"

namespace form {

struct AdaptContext {
    ui::PaintManager& pm;
    model::ParamCatalogue& catalogue;
    model::PageTable& pages;
    const bool& baseModel;
    const platform::LanguageTexts& texts;
    const std::string& lastItemSelectName;           // the list whose item selection came last
    PostAdapt post;                                  // a further case, run after this one
    std::function<void(const std::string&)> notice;  // a message box with the model caption

    void Show(std::string_view name, bool visible) {
        SetLayoutVisible(pm, catalogue, post, name, visible);
    }
    ui::Combo* List(std::string_view name) const { return pm.Find<ui::Combo>(name); }
    void SetHeight(std::string_view name, int height);
};

/// Runs case `adaptCase` (parameter `param`: the channel of a data format change), then the
/// final step that makes the "IOTab" page exist exactly for the base model. A case that stops
/// early skips the final step; a number without a case runs only the final step.
void AdaptForm(AdaptContext& ctx, model::AdaptCase adaptCase, int param);

/// Posts the cases that follow the way I/O activation is chosen ("IO activation methods"): the
/// I/O selection when the channel is chosen by selection, else the three I/O controls.
void PostIoActivationCases(const PostAdapt& post, bool bySelection);

/// The DIO channel panel of channel 1 to 5: the rows its work mode uses, the report-method
/// list after a work mode change, and the group's height. False when it stopped early.
bool ApplyDioPanel(AdaptContext& ctx, int channel);

/// Refills a drop-down from `text` cut at ";" and selects its former item again where that
/// still exists. False when there is no such list.
bool FillList(ui::PaintManager& pm, std::string_view name, std::string_view text);

/// The pieces of `text` between occurrences of `separator`; empty pieces count, and an
/// empty text gives one empty piece.
std::vector<std::string> SplitText(std::string_view text, std::string_view separator);

}  // namespace form
