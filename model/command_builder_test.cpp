#include "model/command_builder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "model/test_form.h"
#include "platform/temp_folder_for_test.h"

namespace model {
namespace {

using Lines = std::vector<std::string>;
using Values = std::vector<std::pair<const char*, const char*>>;

class BuildTest : public testing::FormTest {
  protected:
    void SetUp() override {
        std::ofstream(folder.File("Language.ini"))
            << "[Notify]\nNBBandError=band!\nLineBreakError=line break in\nNotQueued=unwritten:\n"
               "[DIO workmode]\nText1=Off\nText2=In\nText3=Out\nText4=Map\n"
               "Text5=Act\nText6=Ctl\nText7=Adc\n";
        texts = platform::LanguageTexts(folder.File("Language.ini"));
        // The form shows what the unit holds: nothing to write yet.
        SetText("NBBand", "8");
        catalogue.SetValue("NBBand", "8");
    }
    Lines Build(const std::set<std::string>* onlyRows = nullptr) {
        jobs.clear();
        auto logTo = [this](std::string_view text) { log += text; };
        auto queue = [this](const WorkerJob& job) { jobs.push_back(job); };
        BuildContext ctx{pm, catalogue, pages, texts, logTo, queue, onlyRows};
        completed = BuildWriteJobs(ctx);
        Lines lines;
        for (const WorkerJob& job : jobs) lines.push_back(job.line);
        return lines;
    }
    // Every list shows no item, and the unit holds `value` in every list's row.
    void ListsHold(const char* value) {
        for (const auto& [name, items] : testing::kLists) List(name)->SelectItem(-1);
        for (auto& [name, row] : catalogue) {
            if (row.kind == "Combobox") row.value = value;
        }
    }

    platform::testing_support::TempFolder folder;
    platform::LanguageTexts texts;
    std::vector<WorkerJob> jobs;
    std::string log;
    bool completed = false;
};

// The flags decide, not the screen: a row in a layout hidden without a rule keeps its flag.
TEST_F(BuildTest, AChangedFieldFlaggedOnAPageFlaggedGivesOneLineWithItsValueUnchanged) {
    SetText("Server's Ip", " 10.0.0.1 \"a\"");
    pm.FindControl("Server's Ip")->SetVisible(false);
    EXPECT_EQ(Build(), (Lines{"AT+IPAD= 10.0.0.1 \"a\"\r\n"}));
    catalogue.SetShown("Server's Ip", false);
    EXPECT_EQ(Build(), Lines{});
    catalogue.SetShown("Server's Ip", true);
    pages[kServerPage].shown = false;
    EXPECT_EQ(Build(), Lines{});
    pages[kServerPage].shown = true;
    catalogue.SetValue("Server's Ip", " 10.0.0.1 \"a\"");  // the unit acknowledged it
    EXPECT_EQ(Build(), Lines{});
}

TEST_F(BuildTest, DropDownRules) {
    // A list, its command, the items chosen and the values they send (null: none).
    const std::tuple<const char*, const char*, std::vector<std::pair<int, const char*>>> cases[] = {
        // The unit's CUST is the form's TRNS, in exactly these letters.
        {"Protocolmodel", "At+PROMODE", {{2, "CUST"}, {0, "MODBUS"}, {1, "trns"}}},
        {"A serial port binding center",
         "AT+SERBINDCNT",
         {{0, "0"}, {3, "4"}, {5, "16"}, {6, "255"}}},
        {"net mode", "AT+NETMODE", {{0, "0"}, {1, "4"}, {3, "6"}}},
        {"I/O1 Mode", "AT+DIOWORKMODE1", {{0, nullptr}, {2, "5"}}},  // 0: neither mode
        {"ActivateMethod",
         "AT+ACTI",
         {{0, "AUTO"}, {1, "DATA"}, {2, "DIO"}, {3, "ALARM"}, {4, ""}}},
        {"ActivationInterface", "AT+ACTSERLNO", {{0, "1"}, {1, "2"}}},
        {"DIO3 workmode", "AT+DIOWORKMODE3", {{0, "0"}, {4, "4"}, {6, "6"}, {7, "0"}}},
        {"EXFUN", "AT+EXFUN", {{0, "0"}, {1, "3"}, {2, "2"}}},
        {"DeviceModel", "AT+DEVMODE", {{0, "CLI"}, {1, "SVR"}, {2, "-1"}}},
        {"PrefixCombo", "AT+PREFIX", {{3, "3"}}},
    };
    for (const auto& [list, command, items] : cases) {
        for (const auto& [item, value] : items) {
            ListsHold("?");
            List(list)->SelectItem(item);
            const Lines expected =
                value ? Lines{command + ("=" + std::string(value)) + "\r\n"} : Lines{};
            EXPECT_EQ(Build(), expected) << list << " " << item;
        }
    }
}

// Two rows asking for the same line send it once, and the job names both: each holds the
// value once the unit takes it, so neither sends a stale value on a later "Save".
TEST_F(BuildTest, ALineAskedByTwoRowsNamesBoth) {
    ListsHold("?");
    List("net mode")->SelectItem(1);        // "4"
    List("NBNetModeCombo")->SelectItem(4);  // "4"
    EXPECT_EQ(Build(), (Lines{"AT+NETMODE=4\r\n"}));
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].paramName, "NBNetModeCombo");
    EXPECT_EQ(jobs[0].sameLineRows, (Lines{"net mode"}));
    // A band out of range before them stops the writes: both rows are named as unwritten.
    SetText("NBBand", "0");
    EXPECT_EQ(Build(), Lines{});
    EXPECT_EQ(log, "band!\r\nunwritten: NBNetModeCombo, net mode\r\n");
}

// The page-0 lists write their channel's work mode: a new mapping makes it "controlled" (after
// the mapping's own line), the I/O selection makes it the activation channel. The lists that
// show no item are never written, though the unit holds "?" no item stands for.
TEST_F(BuildTest, WorkModesTheIoListsWrite) {
    // The items chosen, what the unit holds besides "?", the lines queued.
    const std::tuple<std::vector<std::pair<const char*, int>>, Values, Lines> cases[] = {
        {{{"I/O2 control", 2}}, {}, {"AT+DIOMAPC2=2\r\n", "AT+DIOWORKMODE2=5\r\n"}},
        {{{"I/O2 control", 2}}, {{"DIO2 workmode", "5"}}, {"AT+DIOMAPC2=2\r\n"}},
        {{{"I/O2 control", 6}}, {}, {"AT+DIOMAPC2=6\r\n"}},
        {{{"I/O2 control", 2}}, {{"I/O2 control", "2"}}, {}},  // held: the unit's work mode stays
        {{{"I/O selection", 3}}, {}, {"AT+DIOWORKMODE4=4\r\n"}},
        {{{"I/O selection", 3}}, {{"DIO4 workmode", "4"}}, {}},
        // Two rows asking for the same line queue it once.
        {{{"DIO3 workmode", 4}, {"I/O selection", 2}}, {}, {"AT+DIOWORKMODE3=4\r\n"}},
    };
    for (const auto& [picks, unit, lines] : cases) {
        ListsHold("?");
        for (const auto& [name, value] : unit) catalogue.SetValue(name, value);
        for (const auto& [list, item] : picks) List(list)->SelectItem(item);
        EXPECT_EQ(Build(), lines) << picks.back().first << " " << picks.back().second;
    }
}

TEST_F(BuildTest, NbBandOutOfRangeStopsTheWalkWithItsNotice) {
    SetText("Access Point Name", "cmnet");  // before "NBBand"
    List("PrefixCombo")->SelectItem(1);     // after it
    for (const char* band : {"0", "65536", "x", "-3", ""}) {
        log.clear();
        SetText("NBBand", band);
        EXPECT_EQ(Build(), (Lines{"AT+APN=cmnet\r\n"})) << band;
        EXPECT_FALSE(completed);
        EXPECT_EQ(log,
                  "band!\r\nunwritten: PrefixCombo\r\n");  // the rows the stop leaves unwritten
    }
    // A band the user did not change is the unit's business: it stops nothing.
    catalogue.SetValue("NBBand", "0");
    SetText("NBBand", "0");
    log.clear();
    EXPECT_EQ(Build(), (Lines{"AT+APN=cmnet\r\n", "AT+PREFIX=1\r\n"}));
    EXPECT_TRUE(completed);
    EXPECT_EQ(log, "");
    for (const char* band : {"1", "65535"}) {
        SetText("NBBand", band);
        EXPECT_EQ(Build(), (Lines{"AT+APN=cmnet\r\n", "AT+NBIOTNBAND=" + std::string(band) + "\r\n",
                                  "AT+PREFIX=1\r\n"}));
        EXPECT_TRUE(completed);
    }
}

// It would end the line early and run the rest as a command of its own.
TEST_F(BuildTest, AValueHoldingCrOrLfIsNotSentAndTheLogNamesIt) {
    SetText("Server's Ip", "1.2.3.4");
    for (const char* text : {"card\r\nAT+FACTORY", "a\nb", "a\r"}) {
        log.clear();
        SetText("User Id", text);
        EXPECT_EQ(Build(), (Lines{"AT+IPAD=1.2.3.4\r\n"})) << text;
        EXPECT_EQ(log, "line break in User Id\r\n");
    }
}

// A configuration file writes only its own rows; "I/O selection", without a label of its
// own, stands for the work modes it writes.
TEST_F(BuildTest, OnlyTheRowsOfAFileAreWrittenWhenItNamesThem) {
    SetText("User Id", "card");
    SetText("Server's Ip", "1.2.3.4");
    List("I/O selection")->SelectItem(1);
    const std::set<std::string> rows = {"Server's Ip", "NBBand"};
    EXPECT_EQ(Build(&rows), (Lines{"AT+DIOWORKMODE2=4\r\n", "AT+IPAD=1.2.3.4\r\n"}));
}

}  // namespace
}  // namespace model
