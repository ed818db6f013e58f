// Fuzz target: arbitrary received text given to the report parser, then the values it found
// put into a form that has a control for every catalogue row.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "model/catalogue.h"
#include "model/page_table.h"
#include "model/report_parser.h"
#include "ui/controls.h"
#include "ui/paint_manager.h"

namespace {

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_report: %s\n", what);
    std::abort();
}

class NoHooks : public model::FormHooks {
  public:
    void SetLayoutVisible(std::string_view, bool) override {}
    void RefreshTitle() override {}
    void UpdatePageTabs(int) override {}
    void PostAdaptForm(int, int) override {}
};

/// Items that the drop-down rules look for, and small numbers for those that go by index.
constexpr const char* kItems[] = {"0",    "1",   "2",   "3",   "4",    "5",      "TRNS",
                                  "CUST", "UDP", "TCP", "CLI", "AUTO", "115200", "9600"};

/// An edit field for every "Edit" row and a drop-down for every "Combobox" row.
void BuildForm(ui::PaintManager& pm, const model::ParamCatalogue& catalogue) {
    auto root = std::make_unique<ui::VerticalLayout>();
    for (const auto& [name, row] : catalogue) {
        if (row.kind == "Combobox") {
            auto list = std::make_unique<ui::Combo>();
            list->SetName(name);
            for (const char* item : kItems) list->AddItem(item);
            root->Add(std::move(list));
        } else if (row.kind == "Edit") {
            auto field = std::make_unique<ui::Edit>();
            field->SetName(name);
            root->Add(std::move(field));
        }
    }
    pm.AttachDialog(std::move(root));
}

void CheckValues(const model::ParamCatalogue& catalogue, const std::string& rfModel, int result) {
    Check(result == 0 || result == 1, "the result is neither 0 nor 1");
    for (const auto& [name, row] : catalogue) {
        Check(row.value.size() < model::kValueLimit, "a value of 100 bytes or more was kept");
        Check(row.value.find("\r\n") == std::string::npos, "a value holds a line end");
        if (result == 1) Check(row.value.empty(), "a text without a listing changed a row");
    }
    if (result == 1) Check(rfModel == "-", "a text without a listing changed the radio module");
    if (result == 0 && !rfModel.empty()) {
        Check(rfModel.front() != ' ' && rfModel.back() != ' ', "the radio module keeps blanks");
        Check(rfModel.find("\r\n") == std::string::npos, "the radio module holds a line end");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    model::ParamCatalogue catalogue;
    model::InitParamCatalogue(catalogue);
    std::string rfModel = "-";
    const int result = model::ExtractReportValues(text, catalogue, rfModel);
    CheckValues(catalogue, rfModel, result);

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
