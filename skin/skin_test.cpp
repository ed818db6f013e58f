// The generated skins hold what the program looks up in them, in both languages; the
// generator fails the build on a template or text table it cannot turn into a skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/test_frame.h"
#include "model/page_table.h"
#include "platform/temp_folder_for_test.h"
#include "skin/skin_template.h"
#include "ui/controls.h"

namespace {

namespace fs = std::filesystem;
using platform::testing_support::ReadFile;

// The controls the program finds by name (separated by ","), from the lookups of app/ (window,
// event dispatch, title), link/ (button groups), form/ (adaptation rules, layout rule table,
// page tabs) and model/; the fields and page tabs come from the catalogue and page table.
const char kButtons[] =
    "closebtn,maxbtn,restorebtn,minbtn,Open,Login,Clear,TabLeft,TabRight,Load,Save,RestoreFactory,"
    "LoadFromFile,SaveToFile,SetTime,GetVer,READFILELOG,CPIN,CSQ,quit,COM2Zigbee,Zigbee2COM,"
    "COM2GPS,GPS2COM,Zigbee2GPRS,GPRS2Zigbee,COM2Lora,Lora2COM,Lora2GPRS,GPRS2Lora,GPS2GPRS";
const char kOfAnyClass[] =
    "HelpRichEdit,Ver,VerDown,DeviceState,helpGroupBox,HorizontalLayoutUI6,ServerTitle,"
    "Server's Label,ModeGroupBox,ModeHorizontalLayout2,ModeHorizontalLayout3,"
    "ModeHorizontalLayout4,ModeHorizontalLayout6,ModeHorizontalLayout7,ModeHorizontalLayout8,"
    "UDP_HLayout,DevID_HLayout,ListenPort_HLayout,HorizontalLayout_Prefix,"
    "PrefixCustomData_HLayout,serialGroupbox,serial2Groupbox,serial3Groupbox,"
    "bindingCenterGroupBox,bindingCenterGroupBox2,bindingCenterGroupBox3,ActivateGroupBox,"
    "DebugHorizontalLayout1,ServiceGroupBox,ServiceGroupBox2,GlobalHorizontalLayout1,PPPGroupBox,"
    "GlobalHorizontalLayout2,ICMPGroupBox,EquimentLayout1,DtumanageGroupBox,EquimentLayout2,"
    "DtumanageGroupBox1,NetWorkSettingsLayout";

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::stringstream in(text);
    for (std::string piece; std::getline(in, piece, separator);) pieces.push_back(piece);
    return pieces;
}

/// Control name -> the class the code needs it to be ("" for any).
std::map<std::string, std::string> LookedUpControls() {
    std::map<std::string, std::string> names = {
        {"SerialPort", "ComboUI"}, {"BaudRate1", "ComboUI"},  {"Checkcode", "ComboUI"},
        {"Language", "ComboUI"},   {"FINDNETMODE", "EditUI"}, {"richedit", "RichEditUI"},
        {"switch", "TabLayoutUI"}};
    for (const std::string& name : Split(kButtons, ',')) names[name] = "ButtonUI";
    for (const std::string& name : Split(kOfAnyClass, ',')) names[name] = "";
    for (const std::string& row : Split("1,1.2,2,3,4,5,6,6.1,6.1.1,6.1.2,7,8,9,_ALARM", ',')) {
        names["ActivateHorizontalLayout" + row] = "";
    }
    for (int i = 0; i <= 6; ++i) names["ServiceHorizontalLayout" + std::to_string(i)] = "";
    for (const std::string n : {"1", "2", "3", "4", "5"}) {
        names["IO" + n + "GroupBox"] = "";
        for (const std::string& row : Split(".1,.2,.2.1,.3,.3.1,.3.2,.4,.4.1,.4.2,.5,.6,.7", ',')) {
            names["IOLayout" + n + row] = "";
        }
    }
    for (const std::string page : model::kPageNames) {
        names[page] = "";
        names[page.substr(0, page.size() - 3)] = "OptionUI";  // "ServerTab" opens by "Server"
    }
    model::ParamCatalogue catalogue;
    model::InitParamCatalogue(catalogue);
    for (const auto& [name, row] : catalogue) {
        if (row.kind != "Line") names[name] = row.kind == "Edit" ? "EditUI" : "ComboUI";
    }
    return names;
}

// Every Language.ini key the program asks for, by section (keys separated by ","), and the
// marks in texts the code puts a value in place of: a translation without one loses the value.
const std::pair<const char*, const char*> kTextKeys[] = {
    {"WinMain", "WorkThread"},
    {"WorkerJobThreadProc", "SaveSuccess,SaveError,FactorySuccess,FactoryError,OutTime"},
    {"ComSend", "send"},
    {"OnStartCom",
     "Open,Close,OpenNotice,CloseNotice,OpenError,PortLost,PermissionDenied,"
     "PortBusy,BadSettings,PortBack,PortGone,NoPort,ModemManagerHint"},
    {"ListSerialPorts", "SerialNumber"},
    {"SetDeviceState", "szLoginOn,szLoginOff"},
    {"Notify", "IpNotice,NBBandError,ServerCount,LineBreakError"},
    {"onLoadFrommFile", "ReadError"},
    {"SaveToFile", "OpenError"},
    {"ModeTabItemChange", "ServerTitle1,Server's Label1,ServerTitle2,Server's Label2"},
    {"InitValue", "Text"},
    {"DIO workmode", "Text1,Text2,Text3,Text4,Text5,Text6,Text7"},
    {"ComboElement_IO", "DIO reported methods Common,DIO reported methods ADC"},
    {"Resume",
     "Waiting,State,Cancel,Reconnected,RestartedIdle,Restarted,Checking,Offer,OfferResume,Later,"
     "Resuming,"
     "Declined,OtherUnit,Unreadable,Unknown,AdapterNotBack,UnitNotBack,Cancelled"},
};
const std::tuple<const char*, const char*, const char*> kMarks[] = {
    {"OnStartCom", "PortGone", "{port}"},
    {"Summary", "Acknowledged", "{ok}"},
    {"Summary", "Acknowledged", "{total}"}};

void CollectClasses(ui::Control& control, std::map<std::string, std::vector<std::string>>& out) {
    if (!control.GetName().empty()) out[control.GetName()].emplace_back(control.GetClass());
    if (ui::Container* box = control.AsContainer()) {
        for (int i = 0; i < box->GetCount(); ++i) CollectClasses(*box->GetItemAt(i), out);
    }
}

std::vector<std::string> Items(const ui::Combo& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.GetCount(); ++i) items.push_back(combo.GetItemAt(i)->GetText());
    return items;
}

// The window built on the English (0) and the Chinese (1) skin, as the program builds it.
class SkinTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { ASSERT_TRUE(t.created) << t.error; }
    app::testing::TestFrame t{GetParam()};
};

TEST_P(SkinTest, HoldsEveryControlTheCodeLooksUpOnceAndOfItsClass) {
    std::map<std::string, std::vector<std::string>> classes;
    CollectClasses(*t.frame->paintManager.GetRoot(), classes);
    for (const auto& [name, ui] : LookedUpControls()) {
        const std::vector<std::string>& found = classes[name];
        EXPECT_EQ(found.size(), 1u) << "\"" << name << "\"";
        EXPECT_TRUE(ui.empty() || found == std::vector<std::string>{ui}) << name << ": " << ui;
    }
}

TEST_P(SkinTest, HasATextForEveryKeyTheCodeAsksForWithTheMarksItFillsIn) {
    for (const auto& [section, keys] : kTextKeys) {
        for (const std::string& key : Split(keys, ',')) {
            const std::string text = t.frame->LoadText(section, key);
            EXPECT_NE(text, "") << "[" << section << "] " << key;
            // LoadText cuts at the limit: a text that reaches it may have lost its end.
            const auto chars = std::count_if(text.begin(), text.end(),
                                             [](unsigned char c) { return (c & 0xC0) != 0x80; });
            EXPECT_LT(static_cast<std::size_t>(chars), platform::LanguageTexts::kMaxChars) << key;
        }
    }
    for (const auto& [section, key, mark] : kMarks) {
        EXPECT_NE(t.frame->LoadText(section, key).find(mark), std::string::npos) << key << mark;
    }
}

// Item texts the rules compare: work modes with Language.ini, activation methods with the
// rule's words (in the order Load and Save number them), languages in the setting's order.
TEST_P(SkinTest, ListsHoldTheItemsTheRulesCompare) {
    std::vector<std::string> modes;
    for (int k = 1; k <= 7; ++k) {
        modes.push_back(t.frame->LoadText("DIO workmode", "Text" + std::to_string(k)));
    }
    for (const std::string n : {"1", "2", "3", "4", "5"}) {
        EXPECT_EQ(Items(*t.Find<ui::Combo>("DIO" + n + " workmode")), modes) << n;
    }
    const std::vector<std::string> activation =
        GetParam() == 0 ? std::vector<std::string>{"AUTO", "DATA", "DIO", "ALARM"}
                        : std::vector<std::string>{"自动", "串口激活", "I/O激活", "定时激活"};
    EXPECT_EQ(Items(*t.Find<ui::Combo>("ActivateMethod")), activation);
    EXPECT_EQ(Items(*t.Find<ui::Combo>("Language")), (std::vector<std::string>{"English", "中文"}));
    // The language list opens on the skin's own language.
    EXPECT_EQ(t.Find<ui::Combo>("Language")->GetCurSel(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(EnglishAndChinese, SkinTest, ::testing::Values(0, 1));

TEST(SkinTexts, MalformedPlaceholdersAreRefused) {
    for (const char* value : {"{{load", "{{load}", "{{}}", "x {{ load }}", "{{lo ad}}"}) {
        std::string error;
        EXPECT_FALSE(skin::ExpandPlaceholders(value, {{"load", "Load"}}, &error)) << value;
        EXPECT_NE(error.find("malformed placeholder"), std::string::npos) << value << ": " << error;
    }
}

// skingen writes a skin only when every template expands from a sound text table, and
// otherwise fails the build saying where and why.
TEST(Skingen, WritesASkinOnlyFromACompleteSoundTable) {
    platform::testing_support::TempFolder folder;
    const fs::path dir = folder.Path();
    fs::create_directories(dir / "layouts");
    std::ofstream(dir / "layouts" / "a.xml")
        << R"(<Window><Button name="Load" text="{{load}}, {{save}}{{load}} { }}"/></Window>)";
    std::ofstream(dir / "layouts" / "b.xml") << R"(<Window><Label text="{{title}}"/></Window>)";
    std::ofstream(dir / "Language.ini") << "[ComSend]\nsend=send\n";
    const auto run = [&](const char* table) {
        std::ofstream(dir / "t.txt") << table;
        const auto at = [&](const char* name) { return " " + (dir / name).string(); };
        const std::string command = DTU_SKINGEN + at("layouts") + at("t.txt") + at("Language.ini") +
                                    at("out") + " 2>" + at("err");
        return std::system(command.c_str()) == 0 ? std::string() : ReadFile(dir / "err");
    };
    const std::pair<const char*, const char*> failures[] = {
        {"load=Load\nsave=Save\n", "b.xml: <Label> attribute text: no text for key 'title'"},
        {"load=Load\nsave=Save\nload=Again\n", "t.txt: line 3: key 'load' is given twice"},
        {"title=\xD6\xD0\n", "t.txt: line 1: the text of 'title' is not UTF-8"},  // GBK
    };
    for (const auto& [table, why] : failures) {
        const std::string message = run(table);
        EXPECT_NE(message.find(why), std::string::npos) << table << ": " << message;
        EXPECT_FALSE(fs::exists(dir / "out")) << table;
    }
    ASSERT_EQ(run("load=Load\nsave=保存 {{load}}\ntitle=T\n"), "");
    // Every placeholder is replaced; a text is put in as it is, not expanded again.
    EXPECT_NE(ReadFile(dir / "out" / "a.xml").find(R"(text="Load, 保存 {{load}}Load { }}")"),
              std::string::npos);
}

}  // namespace
