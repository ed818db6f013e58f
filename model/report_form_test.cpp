#include <gtest/gtest.h>

#include "model/report_parser.h"
#include "model/test_form.h"

namespace model {
namespace {

using Calls = std::vector<std::string>;

class RecordingHooks : public FormHooks {
  public:
    void SetLayoutVisible(std::string_view name, bool visible) override {
        layouts.emplace_back(std::string(name), visible);
    }
    void RefreshTitle() override { calls.push_back("title"); }
    void UpdatePageTabs(int mode) override { calls.push_back("tabs" + std::to_string(mode)); }
    void PostAdaptForm(AdaptCase adaptCase, int param) override {
        calls.push_back("adapt" + std::to_string(static_cast<int>(adaptCase)) + "," +
                        std::to_string(param));
    }

    std::vector<std::pair<std::string, bool>> layouts;
    Calls calls;
};

class ApplyTest : public testing::FormTest {
  protected:
    void Apply() {
        ReportContext ctx{pm, catalogue, pages, rfModel, baseModel, hooks};
        ApplyReportToForm(ctx);
    }
    std::string Shown() const {
        std::string s;
        for (const PageRecord& p : pages) s += p.shown ? '1' : '0';
        return s;
    }

    std::string rfModel;
    bool baseModel = false;
    RecordingHooks hooks;
};

// Only the modules with bands show the network settings.
TEST_F(ApplyTest, PagesFollowTheDeviceTypeAndTheModuleThenTheFormAdapts) {
    // The device type, the module, the pages shown after, baseModel after, the network settings.
    const std::tuple<const char*, const char*, const char*, bool, bool> cases[] = {
        {"7315", "BG96", "1111110001", true, false},
        {"7315-L", "BG96", "1111111001", true, false},
        {"7315-L", "BG36", "1111111011", true, true},
        {"7315_E-Z", "BG96", "1111110101", true, false},  // "-Z" wins before "7315_E" is looked at
        {"7315_E", "SIM7000", "1111110001", false, true},
        {"K8x30", "", "1111110011", true, false},
        {"7315", "BG36-A", "1111110011", true, true},
    };
    for (const auto& [type, rf, shown, base, bands] : cases) {
        for (PageRecord& p : pages) p.shown = true;
        pages[kWirelessPage].shown = false;
        catalogue.SetValue("Device Type", type);
        rfModel = rf;
        hooks.calls.clear();
        Apply();
        EXPECT_EQ(Shown(), shown) << type << " " << rf;
        EXPECT_EQ(baseModel, base) << type;
        EXPECT_EQ(hooks.calls, (Calls{"title", "tabs0", "adapt1,0", "adapt17,0"}));
        EXPECT_EQ(hooks.layouts.back(), std::pair(std::string("NetWorkSettingsLayout"), bands))
            << rf;
    }
}

struct RuleCase {
    const char* list;
    std::vector<std::pair<const char*, int>> items;  // the unit's value, the item shown (-1 none)
    const char* rf = "BG96";
};

// A value the tool would not write back the same ("05", "x", "") selects no item, so that a
// "Save" never overwrites it with a stale or guessed one.
TEST_F(ApplyTest, EveryDropDownRuleAndItsAwkwardValues) {
    const RuleCase cases[] = {
        // The first item that reads TRNS in any letter case stands for the unit's CUST.
        {"Protocolmodel", {{"CUST", 1}, {"MODBUS", 0}, {"TRNS", -1}, {"", -1}}},
        // The module's transfer protocols: UDP, TCP; BC35 adds COAP; others UDP, COAP.
        {"Transferprotocol", {{"TCP", 1}, {"COAP", -1}}},
        {"Transferprotocol", {{"TCP", 1}}, "BG36"},
        {"Transferprotocol", {{"TCP", 1}}, "K-M301"},
        {"Transferprotocol", {{"TCP", 1}}, "K-M400"},
        {"Transferprotocol", {{"TCP", 1}}, "SIM7000"},
        {"Transferprotocol", {{"TCP", 2}, {"COAP", 1}}, "BC35"},
        {"Transferprotocol", {{"COAP", 1}, {"TCP", -1}}, ""},
        {"EXFUN", {{"0", 0}, {"3", 1}, {"2", -1}, {"x", -1}}},
        {"net mode", {{"0", 0}, {"5", 2}, {"2", -1}, {"9", -1}, {"05", -1}}},
        {"DeviceModel", {{"SVR", 1}, {"CLI", 0}, {"svr", -1}, {"-1", -1}}},
        {"ActivateMethod", {{"AUTO", 0}, {"DATA", 1}, {"DIO", 2}, {"ALARM", 3}, {"SMSD", -1}}},
        {"A serial port binding center", {{"0", 0}, {"16", 5}, {"255", 6}, {"3", -1}, {"016", -1}}},
        // The analog input, 6, is the seventh item.
        {"DIO3 workmode", {{"6", 6}, {"3", 3}, {"0", 0}, {"9", -1}, {"05", -1}, {"", -1}}},
        {"ZigBee_RFchannel", {{"11", 0}, {"13", 2}, {"3", -1}}},
        {"LORA Rate", {{"1", 0}, {"3", 2}, {"0", -1}}},
        // Item 0 stands for every mode but these two.
        {"I/O1 Mode", {{"4", 1}, {"5", 2}, {"7", 0}, {"04", 0}}},
        {"Serial Baudrate", {{"115200", 1}, {" 9600", -1}}},
        {"Debug Level", {{"2", 2}, {"0", 0}, {"x", -1}, {"", -1}}},
        // The module's bands; another module's list keeps its items.
        {"NBNetBANDCombo", {{"42", 42}, {"43", -1}, {"05", -1}}, "SIM7000"},
        {"NBNetBANDCombo", {{"28", 28}, {"29", -1}}, "BG36"},
        {"NBNetBANDCombo", {{"28", 28}}, "BG96"},
    };
    for (const RuleCase& c : cases) {
        for (const auto& [value, item] : c.items) {
            List(c.list)->SelectItem(item == 1 ? 0 : 1);
            catalogue.SetValue(c.list, value);
            rfModel = c.rf;
            Apply();
            EXPECT_EQ(List(c.list)->GetCurSel(), item)
                << c.list << " = \"" << value << "\" " << c.rf;
        }
    }
}

TEST_F(ApplyTest, IoSelectionShowsTheFirstChannelInIoActivationMode) {
    const std::pair<std::vector<const char*>, int> cases[] = {{{"0", "1", "4", "4", "0"}, 2},
                                                              {{"4", "1", "4", "0", "0"}, 0},
                                                              {{"0", "5", "1", "", "04"}, -1}};
    for (const auto& [modes, item] : cases) {
        List("I/O selection")->SelectItem(4);
        for (int n = 1; n <= 5; ++n) {
            catalogue.SetValue("DIO" + std::to_string(n) + " workmode", modes[n - 1]);
        }
        Apply();
        EXPECT_EQ(List("I/O selection")->GetCurSel(), item) << item;
    }
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
