#include <gtest/gtest.h>

#include "model/report_parser.h"
#include "model/test_form.h"

namespace model {
namespace {

using testing::ComboSpec;

class ApplyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitParamCatalogue(catalogue);
        InitPageTable(pages);
        testing::MakeForm(pm, {"Server's Ip", "User Id"},
                          {{"Protocolmodel", {"MODBUS", "trns", "TRNS"}},
                           {"Transferprotocol", {"X"}},
                           {"NBNetBANDCombo", {"AUTO"}},
                           {"EXFUN", {"Off", "ICMP"}},
                           {"net mode", {"Auto", "2G", "3G", "4G"}},
                           {"DeviceModel", {"Client", "Server"}},
                           {"ActivateMethod", {"AUTO", "DATA", "DIO", "ALARM"}},
                           {"A serial port binding center", {"0", "1", "2", "4", "8", "16", "255"}},
                           {"DIO2 workmode", {"m0", "m1", "m2", "m3", "m4", "m5", "m6"}},
                           {"ZigBee_RFchannel", {"11", "12", "13"}},
                           {"LORA Rate", {"1", "2", "3"}},
                           {"I/O selection", {"DIO1", "DIO2", "DIO3", "DIO4", "DIO5"}},
                           {"I/O1 Mode", {"Other", "Act", "Ctl"}},
                           {"Serial Baudrate", {"9600", "115200"}},
                           {"Debug Level", {"Off", "Errors", "All"}}});
    }
    ui::Combo* List(const char* name) { return pm.Find<ui::Combo>(name); }
    void Apply() {
        ReportContext ctx{pm, catalogue, pages, rfModel, baseModel, hooks};
        ApplyReportToForm(ctx);
    }
    std::string Shown() const {
        std::string s;
        for (const PageRecord& p : pages) s += p.shown ? '1' : '0';
        return s;
    }

    ui::PaintManager pm;
    ParamCatalogue catalogue;
    PageTable pages;
    std::string rfModel;
    bool baseModel = false;
    testing::RecordingHooks hooks;
};

struct PageCase {
    const char* deviceType;
    const char* rf;
    const char* pages;  // shown flags 0-9 after applying
    bool base;
};

TEST_F(ApplyTest, PagesFollowTheDeviceTypeAndTheModule) {
    const PageCase cases[] = {
        {"7315", "BG96", "1111110001", true},
        {"7315-L", "BG96", "1111111001", true},
        {"7315-L", "BG36", "1111111011", true},
        {"7315_E-Z", "BG96", "1111110101", true},  // "-Z" wins before "7315_E" is looked at
        {"7315_E", "BG96", "1111110001", false},
        {"K8x30", "", "1111110011", true},
        {"7315", "BG36-A", "1111110011", true},
    };
    for (const PageCase& c : cases) {
        for (PageRecord& p : pages) p.shown = true;
        pages[kWirelessPage].shown = false;
        catalogue.SetValue("Device Type", c.deviceType);
        rfModel = c.rf;
        Apply();
        EXPECT_EQ(Shown(), c.pages) << c.deviceType << " " << c.rf;
        EXPECT_EQ(baseModel, c.base) << c.deviceType;
    }
}

TEST_F(ApplyTest, TitleTabsThenTheAdaptationCases) {
    Apply();
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"title", "tabs0"}));
    EXPECT_EQ(hooks.posted, (std::vector<std::pair<int, int>>{{1, 0}, {17, 0}}));
}

struct RuleCase {
    const char* list;
    const char* value;
    int before;  // selection before the report
    int after;   // -1: no item
};

TEST_F(ApplyTest, EveryDropDownRuleAndItsNoMatchCase) {
    rfModel = "BG96";
    const RuleCase cases[] = {
        {"Protocolmodel", "CUST", -1, 1},  // the first item that reads TRNS in any case
        {"Protocolmodel", "MODBUS", 1, 0},
        {"Protocolmodel", "TRNS", 0, -1},
        {"Transferprotocol", "TCP", -1, 1},
        {"Transferprotocol", "COAP", 0, -1},
        {"EXFUN", "0", 1, 0},
        {"EXFUN", "3", 0, 1},
        {"EXFUN", "2", 1, -1},
        {"net mode", "0", 2, 0},
        {"net mode", "5", 0, 2},
        {"net mode", "2", 1, -1},
        {"net mode", "9", 1, -1},  // beyond the list
        {"DeviceModel", "SVR", 0, 1},
        {"DeviceModel", "CLI", 1, 0},
        {"DeviceModel", "-1", 1, -1},
        {"DeviceModel", "XYZ", 1, -1},
        {"ActivateMethod", "ALARM", 0, 3},
        {"ActivateMethod", "SMSD", 2, -1},
        {"A serial port binding center", "16", 0, 5},
        {"A serial port binding center", "255", 0, 6},
        {"A serial port binding center", "3", 2, -1},
        {"DIO2 workmode", "6", 0, 6},
        {"DIO2 workmode", "5", 0, 5},
        {"DIO2 workmode", "", 3, -1},
        {"DIO2 workmode", "3", 0, 3},
        {"DIO2 workmode", "9", 2, -1},
        {"ZigBee_RFchannel", "11", 2, 0},
        {"ZigBee_RFchannel", "3", 1, -1},
        {"LORA Rate", "1", 2, 0},
        {"I/O1 Mode", "4", 0, 1},
        {"I/O1 Mode", "5", 0, 2},
        {"I/O1 Mode", "7", 2, 0},
        {"Serial Baudrate", "115200", 0, 1},
        {"Serial Baudrate", "4800", 1, -1},
        {"Debug Level", "2", 0, 2},
        {"Debug Level", "", 1, -1},  // an empty value leaves no stale item
    };
    for (const RuleCase& c : cases) {
        List(c.list)->SelectItem(c.before);
        catalogue.SetValue(c.list, c.value);
        Apply();
        EXPECT_EQ(List(c.list)->GetCurSel(), c.after) << c.list << " = \"" << c.value << "\"";
    }
}

TEST_F(ApplyTest, IoSelectionFindsTheChannelInIoActivationMode) {
    List("I/O selection")->SelectItem(4);
    catalogue.SetValue("DIO3 workmode", "4");
    Apply();
    EXPECT_EQ(List("I/O selection")->GetCurSel(), 2);
    catalogue.SetValue("DIO3 workmode", "1");
    Apply();
    EXPECT_EQ(List("I/O selection")->GetCurSel(), -1);
}

TEST_F(ApplyTest, TransferProtocolListFollowsTheModule) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"BG96", {"UDP", "TCP"}}, {"K-M400", {"UDP", "TCP"}},  {"BC35", {"UDP", "COAP", "TCP"}},
        {"", {"UDP", "COAP"}},    {"SIM7000", {"UDP", "TCP"}},
    };
    for (const auto& [rf, items] : cases) {
        rfModel = rf;
        Apply();
        std::vector<std::string> got;
        for (int i = 0; i < List("Transferprotocol")->GetCount(); ++i) {
            got.push_back(List("Transferprotocol")->GetItemText(i));
        }
        EXPECT_EQ(got, items) << rf;
    }
}

TEST_F(ApplyTest, BandListAndNetworkSettingsFollowTheModule) {
    catalogue.SetValue("NBNetBANDCombo", "42");
    rfModel = "SIM7000";
    Apply();
    EXPECT_EQ(List("NBNetBANDCombo")->GetCount(), 43);
    EXPECT_EQ(List("NBNetBANDCombo")->GetItemText(42), "b42");
    EXPECT_EQ(List("NBNetBANDCombo")->GetCurSel(), 42);
    EXPECT_EQ(hooks.layouts.back(), std::make_pair(std::string("NetWorkSettingsLayout"), true));
    rfModel = "BG36";
    Apply();
    EXPECT_EQ(List("NBNetBANDCombo")->GetCount(), 29);
    EXPECT_EQ(List("NBNetBANDCombo")->GetCurSel(), -1);  // band 42 is not a BG36 band
    rfModel = "BG96";
    Apply();
    EXPECT_EQ(List("NBNetBANDCombo")->GetCount(), 29);  // the list keeps its items
    EXPECT_EQ(hooks.layouts.back(), std::make_pair(std::string("NetWorkSettingsLayout"), false));
}

TEST_F(ApplyTest, EditFieldsTakeTheirValuesEmptyOnesIncluded) {
    pm.FindControl("User Id")->SetText("stale");
    catalogue.SetValue("Server's Ip", "10.0.0.1");
    Apply();
    EXPECT_EQ(pm.FindControl("Server's Ip")->GetText(), "10.0.0.1");
    EXPECT_EQ(pm.FindControl("User Id")->GetText(), "");
}

}  // namespace
}  // namespace model
