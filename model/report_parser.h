// The unit's parameter report: finding each catalogue row's value in the text that answers
// "\r\nAT+SHOW\r\n", and filling the form from the values.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "model/adapt_case.h"
#include "model/catalogue.h"
#include "model/page_table.h"
#include "ui/controls.h"
#include "ui/paint_manager.h"

namespace model {

constexpr std::string_view kListingStart = "Access Point Name:";
constexpr std::string_view kCdmaListingStart = "Whether module using CDMA mode:";
/// Labels are searched in the listing up to this size, the longest report a unit sends, so a
/// report with long values loses none of its last rows.
constexpr size_t kListingCopySize = 16000;
/// A value this long or longer is no value: the row stays empty.
constexpr size_t kValueLimit = 100;

/// The part of `text` after the first `start` and before the first `end` that follows it,
/// blanks removed at both ends; empty when either marker is missing.
std::string ExtractBetween(std::string_view text, std::string_view start, std::string_view end);

/// Stores every row's value from the report `text` (the listing, from its first line) and the
/// radio module into `rfModel`. Returns 1, changing nothing, when the text holds no listing;
/// 0 otherwise. A missing label, a label without a line end after it or a value of 100 bytes
/// or more leaves the row empty; the names of the rows that got a value are added to
/// `reported` when given.
int ExtractReportValues(std::string_view text, ParamCatalogue& catalogue, std::string& rfModel,
                        std::set<std::string>* reported = nullptr);

/// What filling the form from a report needs from the window that shows it.
class FormHooks {
  public:
    virtual ~FormHooks() = default;
    virtual void SetLayoutVisible(std::string_view name, bool visible) = 0;
    virtual void RefreshTitle() = 0;
    virtual void UpdatePageTabs(int mode) = 0;
    virtual void PostAdaptForm(AdaptCase adaptCase, int param) = 0;
};

struct ReportContext {
    ui::PaintManager& pm;
    ParamCatalogue& catalogue;
    PageTable& pages;
    const std::string& rfModel;
    bool& baseModel;
    FormHooks& hooks;
};

/// Decides the model's pages from the device type and the radio module, puts every row's
/// value into its control (a drop-down by its rule) and asks the form to adapt: the
/// activation case, then the IO page for the model. A drop-down whose rule finds no item for the
/// value shows no item.
void ApplyReportToForm(ReportContext& ctx);

/// Puts the value of the row `name` into its control, a drop-down by its rule, as a report does.
void ApplyRowToForm(ReportContext& ctx, const std::string& name);

/// Empties `list` and fills it with "AUTO" and the bands "b1"... of the module: up to b28
/// for BG36, up to b42 for SIM7000, none for any other.
void FillBandList(ui::Combo& list, std::string_view module);

}  // namespace model
