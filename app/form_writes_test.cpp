// What "Save" writes, on the real skin: every drop-down item survives the way to the unit and
// back. (That only rows whose flags are set are written is checked by the property tests.)
#include <gtest/gtest.h>

#include "app/test_frame.h"

namespace app {
namespace {

using testing::PendingWrites;
using testing::TestFrame;

class RoundTrip : public ::testing::TestWithParam<const char*> {};

// Selecting item i, building its value and applying that value selects item i again.
TEST_P(RoundTrip, EveryDropDownItemComesBack) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    t.frame->rfModel = GetParam();
    model::ReportContext ctx{t.frame->paintManager, t.frame->catalogue, t.frame->pages,
                             t.frame->rfModel,      t.frame->baseModel, *t.frame};
    model::ApplyReportToForm(ctx);  // the lists rebuilt from the module take their items
    t.Find("NBBand")->SetText("8");
    for (const auto& [name, row] : t.frame->catalogue) {
        auto* list = row.kind == "Combobox" ? t.Find<ui::Combo>(name) : nullptr;
        ASSERT_TRUE(list || row.kind != "Combobox") << name;
        for (int item = 0; list && item < list->GetCount(); ++item) {
            for (auto& [other, entry] : t.frame->catalogue) {
                entry.shown = true;
                entry.value = "\x01";  // differs from every item
                if (auto* l = t.Find<ui::Combo>(other); l && l != list) l->SelectItem(-1);
            }
            for (auto& page : t.frame->pages) page.shown = true;  // a report sets them again
            list->SelectItem(item);
            const std::set<std::string> only{name};
            const std::vector<model::WorkerJob> jobs = PendingWrites(t, &only);
            // The "other" item of the two work mode lists of the first page is never written.
            if (jobs.empty() && (name == "I/O1 Mode" || name == "I/O2 Mode") && item == 0) continue;
            ASSERT_FALSE(jobs.empty()) << name << " item " << item;
            for (const model::WorkerJob& job : jobs) {
                t.frame->catalogue.SetValue(job.paramName, job.paramValue);
            }
            list->SelectItem(-1);
            model::ApplyReportToForm(ctx);
            EXPECT_EQ(list->GetCurSel(), item)
                << name << " item " << item << " sent \"" << jobs.front().paramValue << "\"";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modules, RoundTrip, ::testing::Values("SIM7000", "BC35", "BG36"));

}  // namespace
}  // namespace app
