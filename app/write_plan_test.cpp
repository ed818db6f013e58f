// The write plan on screen: the marks and the count on "Save" follow the rows "Save" writes,
// the review lists what "Save" then sends, a verify names a row the unit did not store, and
// the log's time stamps and file.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/log_text.h"
#include "app/test_frame.h"
#include "platform/profile.h"
#include "platform/temp_folder_for_test.h"
#include "sim/random_state_for_test.h"
#include "sim/simulated_unit.h"

namespace app {
namespace {

using testing::TestFrame;

std::vector<std::string> QueuedWriteLines(TestFrame& t) {
    std::vector<std::string> lines;
    for (const model::WorkerJob& job : t.frame->link.PendingJobs()) {
        if (job.jobKind == model::JobKind::kWriteParam) lines.push_back(job.line);
    }
    return lines;
}

std::set<std::string> MarkedFields(TestFrame& t) {
    std::set<std::string> marked;
    for (const auto& [name, row] : t.frame->catalogue) {
        if (const ui::Control* field = t.Find(name); field && field->IsChanged()) {
            marked.insert(name);
        }
    }
    return marked;
}

// Over random pairs of units of every model, the form showing unit A's values while the unit
// holds B's (as a file load leaves it): the review lists the plan; with a seeded choice of rows
// reverted and "Save now", the fields take the unit's values and the list is shown again;
// "Save now" there queues exactly its lines that are sent, in its order.
TEST(Review, ListsLineForLineWhatSaveThenSends) {
    for (const std::string& name : sim::ProfileNames()) {
        const sim::Profile& profile = *sim::FindProfile(name);
        for (std::uint32_t seed = 1; seed <= 4; ++seed) {
            TestFrame t;
            ASSERT_TRUE(t.created) << t.error;
            t.frame->ParseReport(sim::testing::RandomUnitState(profile, 5000 + seed).Report());
            t.loop->RunUntilIdle();
            const sim::UnitState unit = sim::testing::RandomUnitState(profile, 6000 + seed);
            model::ExtractReportValues(unit.Report(), t.frame->catalogue, t.frame->rfModel);
            const std::vector<model::WorkerJob> plan = testing::PendingWrites(t);
            platform::ReviewChoice revert{{}, true};
            for (std::size_t i = seed % 3; i < plan.size(); i += 3) revert.revert.push_back(i);
            t.dialogs.SetNextReviews({revert, {{}, true}});
            t.Find<ui::Button>("Review")->Activate();
            t.loop->RunUntilIdle();
            const auto& reviews = t.dialogs.Reviews();
            ASSERT_EQ(reviews.size(), revert.revert.empty() ? 1u : 2u) << name << " " << seed;
            ASSERT_GE(reviews[0].size(), plan.size());
            for (std::size_t i = 0; i < plan.size(); ++i) {
                ASSERT_TRUE(reviews[0][i].sent);
                EXPECT_EQ(reviews[0][i].line + "\r\n", plan[i].line) << name << " " << seed;
            }
            for (const std::size_t i : revert.revert) {
                const model::ParamEntry& row = *t.frame->catalogue.Find(plan[i].paramName);
                if (row.kind == "Edit") {
                    EXPECT_EQ(t.Find(plan[i].paramName)->GetText(), row.value) << name;
                }
            }
            std::vector<std::string> listed;
            for (const platform::ReviewRow& row : reviews.back()) {
                if (row.sent) listed.push_back(row.line + "\r\n");
            }
            EXPECT_EQ(QueuedWriteLines(t), listed) << name << " seed " << seed;
        }
    }
}

// A band out of range stops the writes: the review lists it and the rows after it as not sent,
// and "Save" sends only what comes before it.
TEST(Review, ListsTheRowsTheRulesRefuseAsNotSent) {
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    LoadReport(t, "bc35");
    t.Find("NBBand")->SetText("70000");
    t.Find("Access Point Name")->SetText("apn.example");
    const auto rows = model::ReviewRows(t.frame->PlanSave(), t.frame->paintManager,
                                        t.frame->catalogue, t.frame->pages, t.frame->texts);
    std::vector<std::string> sent, refused;
    for (const platform::ReviewRow& row : rows) (row.sent ? sent : refused).push_back(row.line);
    EXPECT_EQ(sent, std::vector<std::string>{"AT+APN=apn.example"});
    ASSERT_FALSE(refused.empty());
    EXPECT_EQ(refused.front(), "AT+NBIOTNBAND=70000");
    EXPECT_EQ(rows[1].reason, t.frame->LoadText("Review", "NBBand"));
}

// Two fields changed, in both languages: they are marked and "Save" counts them; a field put
// back is no longer marked, and a write the unit took leaves nothing marked.
TEST(Marks, FollowTheRowsSaveWritesAndTheCountShowsOnSave) {
    struct Case {
        int language;
        const char* two;
        const char* one;
        const char* none;
    };
    for (const Case& c : {Case{0, "Save (2)", "Save (1)", "Save"},
                          Case{1, "保存参数（2）", "保存参数（1）", "保存参数"}}) {
        TestFrame t(c.language);
        ASSERT_TRUE(t.created) << t.error;
        LoadReport(t, "base");
        EXPECT_EQ(MarkedFields(t), std::set<std::string>{});
        const std::string port = t.Find("Server's Port")->GetText();
        auto* baud = t.Find<ui::Combo>("Serial Baudrate");
        t.Find("Server's Port")->SetText("6001");
        baud->SelectItem(baud->GetCurSel() == 0 ? 1 : 0);
        t.loop->RunFor(5);  // the marks follow 1 ms later
        EXPECT_EQ(MarkedFields(t), (std::set<std::string>{"Serial Baudrate", "Server's Port"}));
        EXPECT_EQ(t.Find("Save")->GetText(), c.two);
        t.Find("Server's Port")->SetText(port);
        t.loop->RunFor(5);  // the marks follow 1 ms later
        EXPECT_EQ(MarkedFields(t), std::set<std::string>{"Serial Baudrate"});
        EXPECT_EQ(t.Find("Save")->GetText(), c.one);
        t.frame->RecordWrittenValue("Serial Baudrate", baud->GetText());
        t.loop->RunFor(5);  // the marks follow 1 ms later
        EXPECT_EQ(MarkedFields(t), std::set<std::string>{});
        EXPECT_EQ(t.Find("Save")->GetText(), c.none);
    }
}

// A unit that answers OK to the port and keeps its old one: with "Verify" on, the report is
// read again after the writes and the log names that row only.
TEST(Verify, AfterSaveNamesTheRowTheUnitDidNotStore) {
    sim::UnitOptions options;
    options.paced = false;
    sim::SimulatedUnit unit(*sim::FindProfile("base"), options);
    ASSERT_TRUE(unit.Start());
    unit.IgnoreWrites("AT+PORT");
    const std::string oldPort = *unit.Value("AT+PORT");
    TestFrame t(0, nullptr, {unit.DevicePath()});
    ASSERT_TRUE(t.created) << t.error;
    ASSERT_TRUE(t.frame->link.StartWorker());
    t.Find<ui::Button>("Open")->Activate();
    ASSERT_TRUE(t.Until([&] { return t.frame->link.LoggedIn(); })) << t.Log();
    t.Find<ui::Button>("Load")->Activate();
    ASSERT_TRUE(t.Until([&] { return t.Find("Server's Port")->GetText() == oldPort; })) << t.Log();
    t.Find<ui::Button>("VerifyAfterSave")->Activate();
    t.Find("Server's Port")->SetText("6001");
    t.Find("Access Point Name")->SetText("apn.example");
    t.Find<ui::Button>("Save")->Activate();
    const std::string mismatch = t.frame->LoadText("Review", "VerifyMismatch");
    ASSERT_TRUE(t.Until([&] { return t.Log().find(mismatch) != std::string::npos; })) << t.Log();
    EXPECT_NE(t.Log().find(mismatch + " Server's Port (6001 -> " + oldPort + ")\r\n"),
              std::string::npos)
        << t.Log();
    EXPECT_EQ(t.Log().find("Access Point Name ("), std::string::npos) << t.Log();
    EXPECT_EQ(*unit.Value("AT+APN"), "apn.example");
    t.frame->ShutDown();
}

// Each line is stamped once where it begins, however the text arrives in pieces; empty lines
// are not stamped.
TEST(LogText, StampsEachLineOnceWhereverThePiecesAreCut) {
    const std::string text = "send:AT+PORT=6001\r\n\r\nOK\r\nParameters saved.\r\n";
    const std::string expected = "T send:AT+PORT=6001\r\n\r\nT OK\r\nT Parameters saved.\r\n";
    for (std::size_t cut1 = 0; cut1 <= text.size(); cut1 += 3) {
        for (std::size_t cut2 = cut1; cut2 <= text.size(); cut2 += 5) {
            bool atStart = true;
            std::string stamped = StampLines(text.substr(0, cut1), atStart, "T ");
            stamped += StampLines(text.substr(cut1, cut2 - cut1), atStart, "T ");
            stamped += StampLines(text.substr(cut2), atStart, "T ");
            ASSERT_EQ(stamped, expected) << cut1 << " " << cut2;
        }
    }
    EXPECT_EQ(LogFileText(std::string("a\r\nb\rc\n\0x", 10)), "a\nbc\n");
}

// With "Time stamps" on, the log's lines carry the window clock's time; "Save log" writes the
// text as shown, and both options are kept in config.ini for the next start.
TEST(LogText, TimeStampsAndTheSavedLogFollowTheOptions) {
    setenv("TZ", "UTC0", 1);
    tzset();
    const platform::testing_support::TempFolder folder;
    TestFrame t;
    ASSERT_TRUE(t.created) << t.error;
    t.manualClock.SetWallTime(1700000000123);
    t.Find<ui::Button>("LogTimes")->Activate();
    t.Find<ui::Button>("VerifyAfterSave")->Activate();
    t.frame->logView->SetText({});
    t.frame->AppendLog("send:AT+PORT=6001\r\n\r\nO");
    t.manualClock.Advance(1000);
    t.frame->AppendLog("K\r\nnext");
    EXPECT_EQ(t.Log(),
              "22:13:20.123 send:AT+PORT=6001\r\n\r\n22:13:20.123 OK\r\n22:13:21.123 next");
    t.dialogs.SetNextFileName(folder.File("log.txt"));
    t.Find<ui::Button>("SaveLog")->Activate();
    EXPECT_EQ(platform::testing_support::ReadFile(folder.File("log.txt")),
              "22:13:20.123 send:AT+PORT=6001\n\n22:13:20.123 OK\n22:13:21.123 next");

    for (const char* option : {"LogTimes", "VerifyAfterSave"}) {
        EXPECT_EQ(platform::GetProfileString(t.settings.programFolder + "config.ini", "Set", option,
                                             "", 8),
                  "1");
        t.Find<ui::CheckBox>(option)->SetChecked(false);
    }
    t.frame->LoadWindowOptions();
    EXPECT_TRUE(t.frame->OptionOn("LogTimes"));
    EXPECT_TRUE(t.frame->OptionOn("VerifyAfterSave"));
}

}  // namespace
}  // namespace app
