// What "Save" writes, on the real skin: every drop-down item survives the way to the unit and
// back, and the rows written are those whose flags are set.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "app/report_loader_for_test.h"
#include "model/command_builder.h"

namespace app {
namespace {

using testing::LoadReport;
using testing::PendingWrites;
using testing::TestFrame;

bool IsDropDown(const model::ParamEntry& row) {
    return row.kind == "Combobox";
}

class RoundTrip : public ::testing::TestWithParam<const char*> {};

// Selecting item i, building its value and applying that value selects item i again.
TEST_P(RoundTrip, EveryDropDownItemComesBack) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    t.frame->rfModel = GetParam();
    model::ReportContext ctx{t.frame->paintManager, t.frame->catalogue, t.frame->pages,
                             t.frame->rfModel,      t.frame->baseModel, *t.frame};
    model::ApplyReportToForm(ctx);  // the lists rebuilt from the module take their items
    for (auto& page : t.frame->pages) page.shown = true;
    for (const auto& [name, row] : t.frame->catalogue) {
        if (!IsDropDown(row)) continue;
        auto* list = t.Find<ui::Combo>(name);
        ASSERT_NE(list, nullptr) << name;
        for (int item = 0; item < list->GetCount(); ++item) {
            // Only this list shows an item, and every row is shown and differs from the form.
            for (auto& [other, entry] : t.frame->catalogue) {
                entry.shown = true;
                entry.value = "\x01";
                if (auto* l = t.Find<ui::Combo>(other); l && l != list) l->SelectItem(-1);
                if (auto* c = t.Find(other)) c->SetVisible(true);
            }
            for (ui::Control* c = list; c; c = c->GetParent()) c->SetVisible(true);
            t.Find("NBBand")->SetText("8");
            for (auto& page : t.frame->pages) page.shown = true;  // a report sets them again
            list->SelectItem(item);
            std::vector<model::WorkerJob> jobs;
            for (const model::WorkerJob& job : PendingWrites(t)) {
                if (job.paramName == name || job.paramName.find(" workmode") != std::string::npos) {
                    jobs.push_back(job);
                }
            }
            const bool noWrite = (name == "I/O1 Mode" || name == "I/O2 Mode") && item == 0;
            if (noWrite) continue;  // "other" modes are not the lists' to write
            ASSERT_FALSE(jobs.empty()) << name << " item " << item;
            for (const model::WorkerJob& job : jobs)
                t.frame->catalogue.SetValue(job.paramName, job.paramValue);
            list->SelectItem(-1);
            model::ApplyReportToForm(ctx);
            EXPECT_EQ(list->GetCurSel(), item)
                << name << " item " << item << " sent \"" << jobs.front().paramValue << "\"";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modules, RoundTrip, ::testing::Values("SIM7000", "BC35", "BG36"));

/// Every queued write is of a row whose flag is set on a page whose flag is set, or the work
/// mode that a flagged page-0 list of its channel sets.
void ExpectOnlyFlaggedWrites(TestFrame& t, const std::string& when) {
    auto flagged = [&](const std::string& name) {
        const model::ParamEntry* row = t.frame->catalogue.Find(name);
        return row && row->shown && t.frame->pages[static_cast<size_t>(row->page)].shown;
    };
    for (const model::WorkerJob& job : PendingWrites(t)) {
        const bool derivedWorkMode = job.paramName.find(" workmode") != std::string::npos &&
                                     (flagged("I/O selection") || flagged("I/O1 control") ||
                                      flagged("I/O2 control") || flagged("I/O3 control"));
        EXPECT_TRUE(flagged(job.paramName) || derivedWorkMode)
            << when << ": " << job.paramName << " is written without its flag";
    }
}

TEST(SavedRows, FollowTheFlagsWhileDeviceModelsAndActivationMethodsSwitch) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    LoadReport(t, "base");
    for (const auto& [name, row] : t.frame->catalogue) {
        if (row.kind == "Edit" && t.Find(name)) t.Find(name)->SetText(row.value + "7");
    }
    t.Find("NBBand")->SetText("12");
    auto* model = t.Find<ui::Combo>("DeviceModel");
    for (int item : {1, 0, 1, 0}) {
        model->SelectItem(item);
        t.loop->RunUntilIdle();
        ExpectOnlyFlaggedWrites(t, "device model " + std::to_string(item));
    }
    auto* method = t.Find<ui::Combo>("ActivateMethod");
    for (int item = 0; item < method->GetCount(); ++item) {
        method->SelectItem(item);
        t.loop->RunUntilIdle();
        for (int how = 0; how < 2; ++how) {
            t.Find<ui::Combo>("IO activation methods")->SelectItem(how);
            t.loop->RunUntilIdle();
            ExpectOnlyFlaggedWrites(t, method->GetText() + " " + std::to_string(how));
        }
    }
}

// A configuration read from a unit in server mode carries its main server: the main server's
// rows keep their flags while the service group is hidden.
TEST(SavedRows, MainServerOfAServerModeConfigurationIsWrittenToTheNextUnit) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    LoadReport(t, "base", [](sim::UnitState& unit) {
        unit.SetValue("AT+DEVMODE", "SVR");
        unit.SetValue("AT+IPAD", "10.1.1.1");
        unit.SetValue("AT+PORT", "6100");
    });
    ASSERT_FALSE(t.Find("ServiceGroupBox")->IsVisible());
    // The unit the configuration goes to holds another main server.
    t.frame->catalogue.SetValue("Server's Ip", "10.2.2.2");
    t.frame->catalogue.SetValue("Server's Port", "6200");
    EXPECT_EQ(testing::SaveLines(t),
              (std::vector<std::string>{"AT+IPAD=10.1.1.1\r\n", "AT+PORT=6100\r\n"}));
}

// Another program saved the file with plain CR LF line ends: read back, its lines end in LF
// only, and the labels that begin with a line break are not found. The unit keeps the values
// the file does not hold, instead of having them emptied.
TEST(SavedRows, RowsAFileDoesNotHoldAreNotWritten) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    sim::UnitState fromFile(*sim::FindProfile("base"));
    fromFile.SetValue("AT+PORT", "7007");
    const std::string path =
        (std::filesystem::temp_directory_path() / ("crlf-" + std::to_string(::getpid()) + ".cfg"))
            .string();
    std::ofstream(path, std::ios::binary) << fromFile.Report();  // CR LF on disk, read as LF
    t.dialogs.SetNextFileName(path);
    t.frame->LoadConfigFile();
    t.loop->RunUntilIdle();
    std::filesystem::remove(path);
    EXPECT_EQ(t.Find("Server's Port")->GetText(), "");
    t.frame->WriteLoadedConfiguration(sim::UnitState(*sim::FindProfile("base")).Report());
    const std::vector<model::WorkerJob> queued = t.frame->link.PendingJobs();
    ASSERT_EQ(queued.size(), 1u);  // the file's own report request, and no write
    EXPECT_EQ(queued[0].jobKind, model::kLoadFromFile);
}

}  // namespace
}  // namespace app
