#include "model/command_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/test_form.h"

namespace model {
namespace {

using Lines = std::vector<std::string>;

class BuildTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitParamCatalogue(catalogue);
        InitPageTable(pages);
        ini = (std::filesystem::temp_directory_path() /
               ("build-" + std::to_string(::getpid()) + ".ini"))
                  .string();
        std::ofstream(ini) << "[Notify]\nNBBandError=band!\nLineBreakError=line break in\n"
                              "[DIO workmode]\nText1=Off\nText2=In\nText3=Out\nText4=Map\n"
                              "Text5=Act\nText6=Ctl\nText7=Adc\n";
        texts = platform::LanguageTexts(ini);
        testing::MakeForm(pm, {"Server's Ip", "NBBand", "User Id", "Access Point Name"},
                          {{"Protocolmodel", {"TRNS", "MODBUS"}},
                           {"A serial port binding center", {"0", "1", "2", "4", "8", "16", "255"}},
                           {"net mode", {"Auto", "2G", "3G", "4G"}},
                           {"I/O2 control", {"c1", "c2", "c3", "c4", "c5", "all", "none"}},
                           {"I/O selection", {"DIO1", "DIO2", "DIO3", "DIO4", "DIO5"}},
                           {"ActivateMethod", {"AUTO", "DATA", "DIO", "ALARM"}},
                           {"PrefixCombo", {"None", "IMEI", "ID", "Custom"}},
                           {"DIO3 workmode", {"Off", "In", "Out", "Map", "Act", "Ctl", "Adc"}},
                           {"EXFUN", {"Off", "ICMP"}},
                           {"DeviceModel", {"Client", "Server"}}});
        // The form shows what the unit holds: nothing to write yet.
        pm.FindControl("NBBand")->SetText("8");
        catalogue.SetValue("NBBand", "8");
    }
    void TearDown() override { std::filesystem::remove(ini); }
    std::vector<std::string> Build() {
        jobs.clear();
        BuildContext ctx{pm,
                         catalogue,
                         pages,
                         texts,
                         [this](std::string_view text) { log += text; },
                         [this](const WorkerJob& job) { jobs.push_back(job); }};
        completed = BuildWriteJobs(ctx);
        std::vector<std::string> lines;
        for (const WorkerJob& job : jobs) lines.push_back(job.line);
        return lines;
    }
    ui::Combo* List(const char* name) { return pm.Find<ui::Combo>(name); }

    ui::PaintManager pm;
    ParamCatalogue catalogue;
    PageTable pages;
    std::string ini;
    platform::LanguageTexts texts;
    std::vector<WorkerJob> jobs;
    std::string log;
    bool completed = false;
};

TEST_F(BuildTest, OneChangedFieldGivesOneExactLine) {
    pm.FindControl("Server's Ip")->SetText("10.0.0.1");
    EXPECT_EQ(Build(), (Lines{"AT+IPAD=10.0.0.1\r\n"}));
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].jobKind, kWriteParam);
    EXPECT_EQ(jobs[0].paramName, "Server's Ip");
    EXPECT_EQ(jobs[0].paramValue, "10.0.0.1");
    catalogue.SetValue("Server's Ip", "10.0.0.1");  // the unit acknowledged it
    EXPECT_TRUE(Build().empty());
}

TEST_F(BuildTest, HiddenRowsAndPagesAreNotWritten) {
    pm.FindControl("Server's Ip")->SetText("10.0.0.1");
    catalogue.SetShown("Server's Ip", false);
    EXPECT_TRUE(Build().empty());
    catalogue.SetShown("Server's Ip", true);
    pages[kServerPage].shown = false;
    EXPECT_TRUE(Build().empty());
}

struct ListCase {
    const char* list;
    int index;
    Lines lines;
};

TEST_F(BuildTest, DropDownRules) {
    catalogue.SetValue("DIO4 workmode", "0");
    const ListCase cases[] = {
        {"Protocolmodel", 0, {"At+PROMODE=CUST\r\n"}},
        {"Protocolmodel", 1, {"At+PROMODE=MODBUS\r\n"}},
        {"A serial port binding center", 3, {"AT+SERBINDCNT=4\r\n"}},
        {"A serial port binding center", 6, {"AT+SERBINDCNT=255\r\n"}},
        {"A serial port binding center", 0, {"AT+SERBINDCNT=0\r\n"}},
        {"net mode", 2, {"AT+NETMODE=5\r\n"}},
        {"net mode", 0, {"AT+NETMODE=0\r\n"}},
        {"I/O2 control", 2, {"AT+DIOMAPC2=2\r\n", "AT+DIOWORKMODE2=5\r\n"}},
        {"I/O2 control", 6, {"AT+DIOMAPC2=6\r\n"}},
        {"I/O selection", 3, {"AT+DIOWORKMODE4=4\r\n"}},
        {"ActivateMethod", 2, {"AT+ACTI=DIO\r\n"}},
        {"DIO3 workmode", 6, {"AT+DIOWORKMODE3=6\r\n"}},
        {"DIO3 workmode", 4, {"AT+DIOWORKMODE3=4\r\n"}},
        {"EXFUN", 1, {"AT+EXFUN=3\r\n"}},
        {"DeviceModel", 1, {"AT+DEVMODE=SVR\r\n"}},
        {"PrefixCombo", 3, {"AT+PREFIX=3\r\n"}},
    };
    for (const ListCase& c : cases) {
        for (const char* name : {"Protocolmodel", "A serial port binding center", "net mode",
                                 "I/O2 control", "I/O selection", "ActivateMethod", "DIO3 workmode",
                                 "EXFUN", "DeviceModel", "PrefixCombo"}) {
            List(name)->SelectItem(-1);
        }
        List(c.list)->SelectItem(c.index);
        EXPECT_EQ(Build(), c.lines) << c.list << " " << c.index;
    }
}

TEST_F(BuildTest, EachLineIsComparedWithItsOwnRow) {
    catalogue.SetValue("DIO4 workmode", "4");
    List("I/O selection")->SelectItem(3);
    EXPECT_TRUE(Build().empty());
    // A mapping the unit holds leaves the channel's work mode to the unit; a new one sets it.
    catalogue.SetValue("I/O2 control", "2");
    List("I/O2 control")->SelectItem(2);
    EXPECT_TRUE(Build().empty());
    catalogue.SetValue("I/O2 control", "1");
    EXPECT_EQ(Build(), (Lines{"AT+DIOMAPC2=2\r\n", "AT+DIOWORKMODE2=5\r\n"}));
}

TEST_F(BuildTest, ALineIsQueuedOncePerWalk) {
    // "I/O selection" offers "4" to the third channel, whose own row asks for the same line.
    catalogue.SetValue("DIO3 workmode", "0");
    List("DIO3 workmode")->SelectItem(4);
    List("I/O selection")->SelectItem(2);
    EXPECT_EQ(Build(), (Lines{"AT+DIOWORKMODE3=4\r\n"}));
}

TEST_F(BuildTest, AListShowingNoItemIsNeverWritten) {
    catalogue.SetValue("ActivateMethod", "SMSD");
    catalogue.SetValue("DeviceModel", "XYZ");
    catalogue.SetValue("DIO3 workmode", "3");
    EXPECT_TRUE(Build().empty());
}

TEST_F(BuildTest, LinesFollowTheCatalogueOrder) {
    pm.FindControl("User Id")->SetText("card");
    pm.FindControl("Access Point Name")->SetText("cmnet");
    List("PrefixCombo")->SelectItem(1);
    pm.FindControl("Server's Ip")->SetText("1.2.3.4");
    EXPECT_EQ(Build(), (Lines{"AT+APN=cmnet\r\n", "AT+PREFIX=1\r\n", "AT+IPAD=1.2.3.4\r\n",
                              "AT+USERNAME=card\r\n"}));
}

TEST_F(BuildTest, NbBandOutOfRangeStopsTheWalkWithItsNotice) {
    pm.FindControl("Access Point Name")->SetText("cmnet");  // before "NBBand"
    List("PrefixCombo")->SelectItem(1);                     // after it
    for (const char* band : {"0", "65536", "x", "-3"}) {
        log.clear();
        pm.FindControl("NBBand")->SetText(band);
        EXPECT_EQ(Build(), (Lines{"AT+APN=cmnet\r\n"})) << band;
        EXPECT_FALSE(completed);
        EXPECT_EQ(log, "band!\r\n");
    }
    pm.FindControl("NBBand")->SetText("65535");
    EXPECT_EQ(Build(), (Lines{"AT+APN=cmnet\r\n", "AT+NBIOTNBAND=65535\r\n", "AT+PREFIX=1\r\n"}));
    EXPECT_TRUE(completed);
}

TEST_F(BuildTest, ValuesWithLineBreaksAreNotSentAndTheLogNamesThem) {
    pm.FindControl("User Id")->SetText("card\r\nAT+FACTORY");
    pm.FindControl("Server's Ip")->SetText("1.2.3.4");
    EXPECT_EQ(Build(), (Lines{"AT+IPAD=1.2.3.4\r\n"}));
    EXPECT_EQ(log, "line break in User Id\r\n");
    pm.FindControl("User Id")->SetText("a\nb");
    log.clear();
    Build();
    EXPECT_EQ(log, "line break in User Id\r\n");
}

TEST(ParamWriteLine, CommandEqualsValueCrLfUnchanged) {
    EXPECT_EQ(ParamWriteLine("AT+PORT", "5001"), "AT+PORT=5001\r\n");
    EXPECT_EQ(ParamWriteLine("AT+ACTI", ""), "AT+ACTI=\r\n");
    EXPECT_EQ(ParamWriteLine("AT+CONNRGST", " a\"b "), "AT+CONNRGST= a\"b \r\n");
}

}  // namespace
}  // namespace model

namespace model {
namespace {

TEST_F(BuildTest, AFieldInAHiddenLayoutIsWrittenWhileItsFlagIsSet) {
    // A layout hidden without a rule entry leaves the row's flag alone: the row is written.
    auto* root = pm.GetRoot()->AsContainer();
    auto wrapper = std::make_unique<ui::HorizontalLayout>();
    auto field = std::make_unique<ui::Edit>();
    field->SetName("Secondary Server's Ip");
    field->SetText("9.9.9.9");
    wrapper->Add(std::move(field));
    ui::Control* layout = root->Add(std::move(wrapper));
    layout->SetVisible(false);
    ASSERT_TRUE(catalogue.Find("Secondary Server's Ip")->shown);
    EXPECT_EQ(Build(), (Lines{"AT+IPSEC=9.9.9.9\r\n"}));
    catalogue.SetShown("Secondary Server's Ip", false);
    EXPECT_TRUE(Build().empty());
}

}  // namespace
}  // namespace model
