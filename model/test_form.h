// Test support: a small form of named controls, and a recorder for what filling it asks of
// the window.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "model/report_parser.h"
#include "ui/controls.h"
#include "ui/dialog_builder.h"

namespace model::testing {

struct ComboSpec {
    std::string name;
    std::vector<std::string> items;
};

/// A form holding an edit field for every name in `edits` and the given drop-downs.
inline std::unique_ptr<ui::Control> MakeForm(ui::PaintManager& pm,
                                             std::initializer_list<std::string> edits,
                                             std::initializer_list<ComboSpec> combos) {
    auto root = std::make_unique<ui::VerticalLayout>();
    for (const std::string& name : edits) {
        auto edit = std::make_unique<ui::Edit>();
        edit->SetName(name);
        root->Add(std::move(edit));
    }
    for (const ComboSpec& spec : combos) {
        auto combo = std::make_unique<ui::Combo>();
        combo->SetName(spec.name);
        for (const std::string& item : spec.items) combo->AddItem(item);
        root->Add(std::move(combo));
    }
    pm.AttachDialog(std::move(root));
    return nullptr;
}

class RecordingHooks : public FormHooks {
  public:
    void SetLayoutVisible(std::string_view name, bool visible) override {
        layouts.emplace_back(std::string(name), visible);
    }
    void RefreshTitle() override { calls.push_back("title"); }
    void UpdatePageTabs(int mode) override { calls.push_back("tabs" + std::to_string(mode)); }
    void PostAdaptForm(int adaptCase, int param) override { posted.emplace_back(adaptCase, param); }

    std::vector<std::pair<std::string, bool>> layouts;
    std::vector<std::string> calls;
    std::vector<std::pair<int, int>> posted;
};

}  // namespace model::testing
