// The window when the adapter is pulled in the middle of a Save: it waits for the adapter
// ("Open" reads "Cancel"), opens it again, checks the unit and asks before resuming. Resumed,
// the unit ends with every value; not resumed or cancelled, it receives nothing more.
#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "app/test_frame.h"
#include "link/link.h"
#include "platform/temp_folder_for_test.h"
#include "sim/simulated_unit.h"

namespace app::testing {
namespace {

const std::pair<const char*, const char*> kEdits[] = {
    {"Access Point Name", "apn7"},
    {"Server's Ip", "10.0.0.7"},
    {"Server's Port", "6007"},
};
const std::pair<const char*, const char*> kUnitValues[] = {
    {"AT+APN", "apn7"},
    {"AT+IPAD", "10.0.0.7"},
    {"AT+PORT", "6007"},
};

enum class Answer { kResume, kNotNow, kCancelWaiting };

TEST(Resume, TheWindowWaitsForTheAdapterAndResumesOnlyWhenTheUserSaysSo) {
    for (const Answer answer : {Answer::kResume, Answer::kNotNow, Answer::kCancelWaiting}) {
        SCOPED_TRACE(static_cast<int>(answer));
        const platform::testing_support::TempFolder folder;
        const std::string link = folder.File("unit");
        sim::SimulatedUnit unit(*sim::FindProfile("base"),
                                {.paced = false, .unplugAfterWrites = 2, .linkPath = link});
        ASSERT_TRUE(unit.Start());
        TestFrame t(0, nullptr, {link});
        ASSERT_TRUE(t.created) << t.error;
        t.frame->link.SetReconnectPolicy({devlink::kWaitWithoutLimit, false});
        ASSERT_TRUE(t.frame->link.StartWorker());
        const auto until = [&](const std::function<bool()>& done) {
            return t.loop->RunUntil(done, 60000);
        };
        const auto logged = [&](const char* text) {
            return until([&] { return t.Log().find(text) != std::string::npos; });
        };
        t.loop->RunUntilIdle();
        t.Find<ui::Button>("Open")->Activate();
        ASSERT_TRUE(until([&] { return t.frame->link.LoggedIn(); })) << t.Log();
        t.Find<ui::Button>("Load")->Activate();
        // The report is in the form (the worker may hand it over well after its "OK").
        ASSERT_TRUE(until([&] { return t.Find("Access Point Name")->GetText() == "cmnet"; }));
        ASSERT_TRUE(until([&] { return t.frame->link.QueuedJobs() == 0; }));
        t.loop->RunUntilIdle();
        for (const auto& [name, value] : kEdits) {
            ui::Control* field = t.Find(name);
            t.frame->paintManager.SetFocus(field);
            field->SetText(value);
            t.frame->paintManager.SetFocus(nullptr);
        }
        t.loop->RunUntilIdle();
        t.dialogs.SetNextAnswers(
            {answer == Answer::kResume ? std::optional<std::size_t>(0) : std::nullopt});
        t.Find<ui::Button>("Save")->Activate();
        ASSERT_TRUE(logged("Waiting for the adapter")) << t.Log();
        t.loop->RunUntilIdle();
        EXPECT_EQ(t.Find("Open")->GetText(), "Cancel");
        EXPECT_EQ(t.Find("DeviceState")->GetText(), "Waiting for the adapter…");
        const size_t linesBefore = unit.ReceivedLines().size();
        if (answer == Answer::kCancelWaiting) {
            t.Find<ui::Button>("Open")->Activate();
            ASSERT_TRUE(logged("Reconnecting cancelled")) << t.Log();
            unit.Replug();  // too late: nothing reopens it
            t.loop->RunUntil([] { return false; }, 1000);
            EXPECT_FALSE(t.frame->link.PortOpen());
            EXPECT_EQ(t.Find("Open")->GetText(), "Open");
        } else {
            unit.Replug();
            ASSERT_TRUE(logged(answer == Answer::kResume ? "resuming 2 writes" : "Not resumed"))
                << t.Log();
            ASSERT_TRUE(until([&] { return !t.frame->link.Resuming(); }));
            ASSERT_EQ(t.dialogs.Questions().size(), 1u);
            EXPECT_EQ(t.dialogs.Questions()[0].answers[0], "Resume 2 writes");
        }
        t.loop->RunUntilIdle();
        // The first write was taken before the line went away; the others only on resuming.
        for (size_t i = 0; i < std::size(kUnitValues); ++i) {
            const bool stored = i == 0 || answer == Answer::kResume;
            EXPECT_EQ(unit.Value(kUnitValues[i].first) == kUnitValues[i].second, stored) << i;
        }
        if (answer != Answer::kResume) {
            const auto lines = unit.ReceivedLines();
            for (size_t i = linesBefore; i < lines.size(); ++i) {
                EXPECT_EQ(lines[i].find('='), std::string::npos) << lines[i];
            }
        }
        t.frame->ShutDown();
    }
}

}  // namespace
}  // namespace app::testing
