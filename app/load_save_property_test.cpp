// The unit keeps what the user did not change, over many random units of every model: their
// reports come from the simulated unit's own data, not from the tool's catalogue.
//   - "Load" then "Save" writes nothing.
//   - "LoadFromFile" of a configuration saved from unit A, into unit B, writes exactly the
//     rows whose flags are set and whose values differ, each line once, in catalogue order.
//   - "LoadFromFile" of a file that lacks some rows, with or without a "Load" before: once the
//     unit has taken the file's writes, "Save" writes nothing more (the rows the file lacks
//     show the unit's).
#include <gtest/gtest.h>

#include <sstream>

#include "app/test_frame.h"
#include "model/config_file.h"
#include "model/unit_lines.h"
#include "platform/decimal.h"
#include "platform/temp_folder_for_test.h"
#include "sim/random_state_for_test.h"

namespace app {
namespace {

using testing::SaveLines;
using testing::TestFrame;

constexpr std::uint32_t kSeedsPerProfile = 12;

std::string Join(const std::vector<std::string>& lines) {
    std::ostringstream out;
    for (const std::string& line : lines) out << "  " << line.substr(0, line.size() - 2) << "\n";
    return out.str();
}

class LoadThenSave : public ::testing::TestWithParam<std::string> {};

TEST_P(LoadThenSave, WritesNothing) {
    const sim::Profile& profile = *sim::FindProfile(GetParam());
    for (std::uint32_t seed = 1; seed <= kSeedsPerProfile; ++seed) {
        TestFrame t;
        ASSERT_TRUE(t.created) << t.error;
        const sim::UnitState unit = sim::testing::RandomUnitState(profile, seed);
        LoadReport(t, profile.name.c_str(), [&](sim::UnitState& s) { s = unit; });
        const std::vector<std::string> lines = SaveLines(t);
        EXPECT_TRUE(lines.empty()) << GetParam() << " seed " << seed << " writes:\n" << Join(lines);
        EXPECT_TRUE(t.dialogs.Boxes().empty())
            << GetParam() << " seed " << seed << ": " << t.dialogs.Boxes().front().text;
    }
}

INSTANTIATE_TEST_SUITE_P(Profiles, LoadThenSave, ::testing::ValuesIn(sim::ProfileNames()));

/// Whether the unit's value of a row can be shown by the row's control: an edit field shows
/// any value, a drop-down the values an item stands for. The two page-0 work mode lists stand
/// for the modes 4 and 5 only (their other item means "neither" and is never written).
bool Shows(TestFrame& loaded, const std::string& name, const std::string& value) {
    const model::ParamEntry& row = *loaded.frame->catalogue.Find(name);
    if (row.kind != "Combobox") return true;
    if (name == "I/O1 Mode" || name == "I/O2 Mode") return value == "4" || value == "5";
    const auto* list = loaded.Find<ui::Combo>(name);
    return list && list->GetCurSel() >= 0;
}

/// The lines a walk over the form of `a` must queue for a unit holding `b`: each flagged row
/// whose value the form shows and differs, in catalogue order, then the work mode that a new
/// I/O control mapping or the I/O activation channel sets; each line once. An NB band out of
/// range ends the walk.
std::vector<std::string> ExpectedLines(TestFrame& t, const sim::UnitState& a,
                                       const sim::UnitState& b) {
    std::vector<std::string> lines;
    auto add = [&](const std::string& command, const std::string& value) {
        const std::string line = command + "=" + value + "\r\n";
        if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
    };
    for (const auto& [name, row] : t.frame->catalogue) {
        if (!row.shown || !t.frame->pages[static_cast<size_t>(row.page)].shown) continue;
        if (name == "I/O selection") {
            const int channel = t.Find<ui::Combo>(name)->GetCurSel() + 1;
            const std::string command = "AT+DIOWORKMODE" + std::to_string(channel);
            if (channel > 0 && b.Value(command) != "4") add(command, "4");
            continue;
        }
        if (row.command.empty()) continue;
        const std::string value = a.Value(row.command).value_or("");
        if (!Shows(t, name, value) || value == b.Value(row.command).value_or("")) continue;
        // A band to be written must be in range; the writes stop there.
        if (name == "NBBand") {
            const int band = platform::ReadDecimal(value);
            if (band < 1 || band > 65535) return lines;
        }
        add(row.command, value);
        if (name.rfind("I/O", 0) == 0 && name.find(" control") != std::string::npos &&
            value != "6") {
            const std::string workMode = "AT+DIOWORKMODE" + name.substr(3, 1);
            if (b.Value(workMode) != "5") add(workMode, "5");
        }
    }
    return lines;
}

/// Loads `file` into a window whose unit holds `unit`, as the worker does with the unit's
/// report; the parameter writes that follow.
std::vector<model::WorkerJob> LoadFile(TestFrame& t, const std::string& file,
                                       const sim::UnitState& unit) {
    t.dialogs.SetNextFileName(file);
    t.frame->LoadConfigFile();
    t.loop->RunUntilIdle();
    t.frame->WriteLoadedConfiguration(unit.Report());
    t.loop->RunUntilIdle();
    std::vector<model::WorkerJob> writes;
    for (const model::WorkerJob& job : t.frame->link.PendingJobs()) {
        if (job.jobKind == model::JobKind::kWriteParam) writes.push_back(job);
    }
    return writes;
}

class LoadFromFile : public ::testing::TestWithParam<std::string> {};

TEST_P(LoadFromFile, WritesTheFlaggedRowsThatDifferEachOnceInCatalogueOrder) {
    const sim::Profile& profile = *sim::FindProfile(GetParam());
    const platform::testing_support::TempFolder folder;
    const std::string file = folder.File("unit.cfg");
    for (std::uint32_t seed = 1; seed <= kSeedsPerProfile; ++seed) {
        const sim::UnitState a = sim::testing::RandomUnitState(profile, 1000 + seed);
        const sim::UnitState b = sim::testing::RandomUnitState(profile, 2000 + seed);
        // Whole reports: the receive text keeps at most its newest 16000 bytes.
        ASSERT_LT(a.Report().size(), 16000u);
        ASSERT_LT(b.Report().size(), 16000u);
        ASSERT_TRUE(model::WriteConfigFile(file, a.Report()));
        TestFrame t;
        ASSERT_TRUE(t.created) << t.error;
        std::vector<std::string> lines;
        for (const model::WorkerJob& job : LoadFile(t, file, b)) lines.push_back(job.line);
        const std::vector<std::string> expected = ExpectedLines(t, a, b);
        EXPECT_EQ(lines, expected) << GetParam() << " seed " << seed << "\nwritten:\n"
                                   << Join(lines) << "expected:\n"
                                   << Join(expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Profiles, LoadFromFile, ::testing::ValuesIn(sim::ProfileNames()));

/// `report` without the lines whose label starts one of `labels` (CR LF line ends).
std::string WithoutRows(std::string report, const std::vector<std::string>& labels) {
    for (const std::string& label : labels) {
        const size_t at = report.find("\r\n" + label);
        if (at == std::string::npos) continue;
        report.erase(at, report.find("\r\n", at + 2) - at);
    }
    return report;
}

/// Records the writes of `jobs` as the unit took them: the catalogue holds each acknowledged
/// line's value.
void TakeWrites(TestFrame& t, const std::vector<model::WorkerJob>& jobs) {
    for (const model::WorkerJob& job : jobs) {
        t.frame->RecordWrittenValue(job.paramName, job.paramValue);
        for (const std::string& row : job.sameLineRows)
            t.frame->RecordWrittenValue(row, job.paramValue);
    }
}

// The server address is not in the file: the field keeps the unit's, and nothing writes it,
// whether the unit's report was read before the file (Load) or only by the file load itself.
TEST(LoadFromFile, ARowTheFileLacksShowsTheUnitsValueAndIsNeverWritten) {
    const sim::UnitState unit(*sim::FindProfile("base"));
    sim::UnitState changed = unit;
    ASSERT_TRUE(changed.SetValue("AT+PORT", "6001"));
    const platform::testing_support::TempFolder folder;
    const std::string file = folder.File("unit.cfg");
    ASSERT_TRUE(model::WriteConfigFile(file, WithoutRows(changed.Report(), {"Server's Ip:"})));
    for (const bool loadFirst : {true, false}) {
        TestFrame t;
        ASSERT_TRUE(t.created) << t.error;
        if (loadFirst) LoadReport(t, "base");
        const std::vector<model::WorkerJob> writes = LoadFile(t, file, unit);
        ASSERT_EQ(writes.size(), 1u) << loadFirst;
        EXPECT_EQ(writes[0].line, "AT+PORT=6001\r\n");
        TakeWrites(t, writes);
        EXPECT_EQ(t.Find("Server's Ip")->GetText(), *unit.Value("AT+IPAD")) << loadFirst;
        EXPECT_EQ(SaveLines(t), std::vector<std::string>{}) << loadFirst;
    }
}

class LoadPartOfAFile : public ::testing::TestWithParam<std::string> {};

TEST_P(LoadPartOfAFile, ThenSaveWritesNothingMore) {
    const sim::Profile& profile = *sim::FindProfile(GetParam());
    const platform::testing_support::TempFolder folder;
    const std::string file = folder.File("unit.cfg");
    for (std::uint32_t seed = 1; seed <= kSeedsPerProfile / 2; ++seed) {
        const sim::UnitState unit = sim::testing::RandomUnitState(profile, 3000 + seed);
        const sim::UnitState other = sim::testing::RandomUnitState(profile, 4000 + seed);
        // Every third row of the other unit's report goes, from a place the seed picks.
        std::vector<std::string> labels;
        std::istringstream lines(other.Report());
        int n = 0;
        for (std::string line; std::getline(lines, line);) {
            const size_t colon = line.find(':');
            if (colon != std::string::npos && (n++ + seed) % 3 == 0) {
                labels.push_back(line.substr(0, colon + 1));
            }
        }
        ASSERT_TRUE(model::WriteConfigFile(file, WithoutRows(other.Report(), labels)));
        TestFrame t;
        ASSERT_TRUE(t.created) << t.error;
        // The unit's report read before the file (Load), or only by the file load itself.
        if (seed % 2 == 0)
            LoadReport(t, profile.name.c_str(), [&](sim::UnitState& s) { s = unit; });
        TakeWrites(t, LoadFile(t, file, unit));
        const std::vector<std::string> again = SaveLines(t);
        EXPECT_TRUE(again.empty()) << GetParam() << " seed " << seed << " writes:\n" << Join(again);
    }
}

INSTANTIATE_TEST_SUITE_P(Profiles, LoadPartOfAFile, ::testing::ValuesIn(sim::ProfileNames()));

}  // namespace
}  // namespace app
