// Fuzz target: any received text given to the report parser, then the values it found put
// into a form that has a control for every catalogue row.
#include <memory>
#include <string>

#include "fuzz/fuzz_util.h"
#include "model/catalogue.h"
#include "model/page_table.h"
#include "model/report_parser.h"
#include "ui/controls.h"
#include "ui/paint_manager.h"

namespace {

using fuzz::Check;

struct NoHooks : model::FormHooks {
    void SetLayoutVisible(std::string_view, bool) override {}
    void RefreshTitle() override {}
    void UpdatePageTabs(int) override {}
    void PostAdaptForm(model::AdaptCase, int) override {}
};

/// An edit field for every "Edit" row and a drop-down for every "Combobox" row, with the items
/// the drop-down rules look for and small numbers for those that go by index.
void BuildForm(ui::PaintManager& pm, const model::ParamCatalogue& catalogue) {
    auto root = std::make_unique<ui::VerticalLayout>();
    for (const auto& [name, row] : catalogue) {
        std::unique_ptr<ui::Control> control;
        if (row.kind == "Combobox") {
            auto list = std::make_unique<ui::Combo>();
            for (const char* item : {"0", "1", "2", "3", "4", "5", "TRNS", "CUST", "UDP", "TCP",
                                     "CLI", "AUTO", "115200", "9600"}) {
                list->AddItem(item);
            }
            control = std::move(list);
        } else if (row.kind == "Edit") {
            control = std::make_unique<ui::Edit>();
        } else {
            continue;
        }
        control->SetName(name);
        root->Add(std::move(control));
    }
    pm.AttachDialog(std::move(root));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    model::ParamCatalogue catalogue;
    model::InitParamCatalogue(catalogue);
    std::string rfModel = "-";
    const int result = model::ExtractReportValues(fuzz::Text(data, size), catalogue, rfModel);
    Check(result == 0 || result == 1, "the result is neither 0 nor 1");
    for (const auto& [name, row] : catalogue) {
        Check(row.value.size() < model::kValueLimit, "a value of 100 bytes or more was kept");
        Check(!fuzz::Has(row.value, "\r\n"), "a value holds a line end");
        if (result == 1) Check(row.value.empty(), "a text without a listing changed a row");
    }
    if (result == 1) Check(rfModel == "-", "a text without a listing changed the radio module");
    if (result == 0 && !rfModel.empty()) {
        Check(rfModel.front() != ' ' && rfModel.back() != ' ', "the radio module keeps blanks");
        Check(!fuzz::Has(rfModel, "\r\n"), "the radio module holds a line end");
    }

    ui::PaintManager pm;
    BuildForm(pm, catalogue);
    model::PageTable pages;
    model::InitPageTable(pages);
    bool baseModel = false;
    NoHooks hooks;
    model::ReportContext ctx{pm, catalogue, pages, rfModel, baseModel, hooks};
    model::ApplyReportToForm(ctx);
    return 0;
}
