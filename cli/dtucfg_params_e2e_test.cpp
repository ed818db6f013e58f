// dtucfg against a simulated unit: reading, changing, saving and applying parameters.
#include <filesystem>
#include <fstream>
#include <map>

#include "cli/dtucfg_fixture_for_test.h"
#include "link/port_list.h"
#include "model/catalogue.h"
#include "model/config_file.h"
#include "model/report_parser.h"

namespace cli::testing {
namespace {

using namespace std::chrono_literals;

TEST_F(Dtucfg, ReadPrintsEveryRowInKeyOrderAndLeavesTheUnitInConfigurationMode) {
    StartUnit();
    const ChildResult r = Run({"read"});
    ASSERT_EQ(r.exitCode, 0) << Show(r);
    const std::vector<std::string> lines = Lines(r.out);
    model::ParamCatalogue catalogue;
    model::InitParamCatalogue(catalogue);
    ASSERT_EQ(lines.size(), catalogue.Size());
    size_t i = 0;
    for (const auto& [name, row] : catalogue) {
        EXPECT_EQ(lines[i].substr(0, lines[i].find('\t')), name) << i;
        ++i;
    }
    // The value, and the drop-down's text where it differs; an edit field shows its value.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "DeviceModel\tCLI\tClient"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Server's Port\t5001"), lines.end());
    EXPECT_EQ(Count("AT+SHOW"), 1u);
    EXPECT_EQ(Count("at+quit"), 0u);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(unit->InConfigMode());
    EXPECT_EQ(r.err, "");
}

TEST_F(Dtucfg, ReadJsonIsOneJsonObjectWithEveryParameter) {
    StartUnit("lora");
    const ChildResult r = Run({"read", "--json"});
    ASSERT_EQ(r.exitCode, 0) << Show(r);
    const std::optional<JsonValue> v = ParseJson(r.out);
    ASSERT_TRUE(v) << r.out;
    EXPECT_EQ(v->Get("device_type")->text, "7315-L");
    EXPECT_EQ(v->Get("rf_model")->text, "BG96");
    const auto& params = v->Get("params")->items;
    ASSERT_EQ(params.size(), 185u);
    std::map<std::string, const JsonValue*> byName;
    for (const JsonValue& p : params) byName[p.Get("name")->text] = &p;
    EXPECT_EQ(byName.size(), 185u);
    const JsonValue& port = *byName.at("Server's Port");
    EXPECT_EQ(port.Get("command")->text, "AT+PORT");
    EXPECT_EQ(port.Get("value")->text, "5001");
    EXPECT_EQ(port.Get("form")->text, "5001");
    EXPECT_TRUE(port.Get("shown")->boolean);
    // The LoRa page exists for this unit; a field the rules hide is marked so.
    EXPECT_TRUE(byName.at("LORA freq")->Get("shown")->boolean);
    EXPECT_FALSE(byName.at("ListenPort")->Get("shown")->boolean);
    EXPECT_EQ(byName.at("DeviceModel")->Get("form")->text, "Client");
}

TEST_F(Dtucfg, ReadInChineseShowsTheChineseItems) {
    StartUnit();
    const ChildResult r = Run({"--lang", "zh", "read", "--json"});
    ASSERT_EQ(r.exitCode, 0) << Show(r);
    const std::optional<JsonValue> v = ParseJson(r.out);
    ASSERT_TRUE(v) << r.out;
    ASSERT_EQ(v->Get("params")->items.size(), 185u);
    for (const JsonValue& p : v->Get("params")->items) {
        if (p.Get("name")->text != "DeviceModel") continue;
        EXPECT_EQ(p.Get("value")->text, "CLI");
        EXPECT_NE(p.Get("form")->text, "Client");
        EXPECT_FALSE(p.Get("form")->text.empty());
    }
}

TEST_F(Dtucfg, ReadWithAnOutputFileSavesTheReport) {
    StartUnit();
    const std::string file = Path("unit.cfg");
    const ChildResult r = Run({"read", "-o", file});
    ASSERT_EQ(r.exitCode, 0) << Show(r);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Count("AT+SHOW"), 1u);
    const std::optional<std::string> text = model::ReadConfigFile(file);
    ASSERT_TRUE(text);
    model::ParamCatalogue values;
    model::InitParamCatalogue(values);
    std::string rf;
    ASSERT_EQ(model::ExtractReportValues(*text, values, rf), 0);
    EXPECT_EQ(values.Find("Server's Port")->value, "5001");
    EXPECT_EQ(rf, "BG96");
}

TEST_F(Dtucfg, SetWritesOnlyTheChangedFieldsAndTheUnitKeepsThem) {
    StartUnit();
    const ChildResult r = Run({"set", "Server's Port=6000", "Access Point Name=internet"});
    ASSERT_EQ(r.exitCode, 0) << Show(r);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"AT+APN=internet", "AT+PORT=6000"}));
    EXPECT_EQ(Value("AT+PORT"), "6000");
    EXPECT_EQ(Value("AT+APN"), "internet");
    EXPECT_EQ(r.out, "Access Point Name\tinternet\tok\nServer's Port\t6000\tok\n");
    EXPECT_EQ(Count("at+quit"), 0u);
}

TEST_F(Dtucfg, SetChoosesItemsByTextOrNumberAndTheFormShowsWhatTheyNeed) {
    StartUnit();
    // "ListenPort" is hidden for a client; choosing "Server" shows it.
    const ChildResult r = Run({"set", "DeviceModel=Server", "ListenPort=6100", "Debug Level=#2"});
    ASSERT_EQ(r.exitCode, 0) << Show(r);
    EXPECT_EQ(Value("AT+DEVMODE"), "SVR");
    EXPECT_EQ(Value("AT+LPORT"), "6100");
    EXPECT_EQ(Value("AT+DEBUG"), "2");
}

TEST_F(Dtucfg, SetOfWhatTheUnitHoldsWritesNothing) {
    StartUnit();
    const ChildResult r = Run({"set", "Server's Port=5001"});
    ASSERT_EQ(r.exitCode, 0) << Show(r);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(Has(r.err, "nothing written")) << r.err;
}

struct Refusal {
    std::vector<std::string> assignments;
    const char* message;  // part of standard error
    bool portOpened;      // refused after the report was read, or before the port was opened
};

TEST_F(Dtucfg, SetRefusesBadNamesItemsHiddenFieldsAndBadValuesBeforeWritingAnything) {
    const Refusal cases[] = {
        {{"Nope=1"}, "unknown parameter \"Nope\"", false},
        {{"Server's Port=6000", "Device Type=x"}, "Device Type is read from the unit", false},
        {{"1RegisterIsHex=Bogus"},
         "1RegisterIsHex has no item \"Bogus\"; its items: \"ASCII\"",
         true},
        {{"1RegisterIsHex=#7"}, "has no item \"#7\"", true},
        {{"ListenPort=6000"}, "ListenPort is hidden by the form", true},
        {{"Server's Port=6000", "ListenPort=6000"}, "ListenPort is hidden by the form", true},
        // A server registers nothing: the choice hides the field named after it.
        {{"DeviceModel=Server", "1RegisterIsHex=#1"}, "1RegisterIsHex is hidden by the form", true},
        {{"Server's Port=6000", "NBBand=0"}, "The NB band is out of range.", true},
        {{"Server's Port=6000", "RegisterInfo=a\nb"}, "must not contain a line break", true},
    };
    for (const Refusal& c : cases) {
        StartUnit();
        std::vector<std::string> args = {"set"};
        args.insert(args.end(), c.assignments.begin(), c.assignments.end());
        const ChildResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << c.message << "\n" << Show(r);
        EXPECT_TRUE(Has(r.err, c.message)) << Show(r);
        EXPECT_TRUE(Writes().empty()) << c.message;
        EXPECT_EQ(Count("AT+SHOW"), c.portOpened ? 1u : 0u) << c.message;
        EXPECT_EQ(Value("AT+PORT"), "5001");
    }
}

TEST_F(Dtucfg, AWriteTheUnitRefusesIsNamedAndEndsWithSix) {
    StartUnit().Refuse("AT+PORT");
    const ChildResult r = Run({"set", "Server's Port=6000", "Access Point Name=internet"});
    EXPECT_EQ(r.exitCode, 6) << Show(r);
    EXPECT_TRUE(Has(r.err, "dtucfg: not written: AT+PORT=6000 -> ERROR")) << r.err;
    EXPECT_TRUE(Has(r.out, "Server's Port\t6000\terror\n")) << r.out;
    EXPECT_TRUE(Has(r.out, "Access Point Name\tinternet\tok\n")) << r.out;
    EXPECT_EQ(Value("AT+PORT"), "5001");
    EXPECT_EQ(Value("AT+APN"), "internet");
}

TEST_F(Dtucfg, SaveOnOneModelAndApplyOnAnotherWritesTheFilesValues) {
    StartUnit("lora");
    unit->SetValue("AT+LFR", "433");
    unit->SetValue("AT+PORT", "7000");
    const std::string file = Path("lora.cfg");
    const ChildResult saved = Run({"save", file});
    ASSERT_EQ(saved.exitCode, 0) << Show(saved);
    ASSERT_TRUE(std::filesystem::exists(file));

    StartUnit("base");
    const ChildResult r = Run({"apply", file, "--verify"});
    ASSERT_EQ(r.exitCode, 0) << Show(r);
    EXPECT_EQ(Value("AT+LFR"), "433");
    EXPECT_EQ(Value("AT+PORT"), "7000");
    EXPECT_EQ(Writes(), (std::vector<std::string>{"AT+LFR=433", "AT+PORT=7000"}));
    EXPECT_TRUE(Has(r.out, "Server's Port\t7000\tok\n")) << r.out;
    EXPECT_EQ(Count("AT+SHOW"), 2u);  // the unit's values before the writes, and the check
}

TEST_F(Dtucfg, VerifyFindsAValueTheUnitDoesNotReportBack) {
    StartUnit("base");
    unit->SetValue("AT+APN", "internet");
    const std::string file = Path("base.cfg");
    ASSERT_EQ(Run({"save", file}).exitCode, 0);

    StartUnit("cdma");  // a CDMA unit has no access point name in its report
    const ChildResult r = Run({"apply", file, "--verify", "--json"});
    EXPECT_EQ(r.exitCode, 8) << Show(r);
    const std::string difference = "Access Point Name: the unit holds \"\", the file \"internet\"";
    EXPECT_TRUE(Has(r.err, "dtucfg: differs: " + difference)) << r.err;
    const std::optional<JsonValue> v = ParseJson(r.out);
    ASSERT_TRUE(v) << r.out;
    const auto& writes = v->Get("writes")->items;
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].Get("name")->text, "Access Point Name");
    EXPECT_EQ(writes[0].Get("value")->text, "internet");
    EXPECT_EQ(writes[0].Get("result")->text, "ok");
    ASSERT_EQ(v->Get("differences")->items.size(), 1u);
    EXPECT_EQ(v->Get("differences")->items[0].text, difference);
}

TEST_F(Dtucfg, ApplyingAFileWithoutARowLeavesTheUnitsValueAndSaysSo) {
    StartUnit("cdma");
    const std::string file = Path("cdma.cfg");
    ASSERT_EQ(Run({"save", file}).exitCode, 0);

    StartUnit("base");
    const ChildResult r = Run({"apply", file});
    EXPECT_EQ(r.exitCode, 0) << Show(r);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Value("AT+APN"), "cmnet");
    EXPECT_TRUE(Has(r.err, "warning: the file has no Access Point Name; the unit keeps \"cmnet\""))
        << r.err;
}

TEST_F(Dtucfg, ApplyingWhatTheUnitHoldsWritesNothing) {
    StartUnit();
    const std::string file = Path("same.cfg");
    ASSERT_EQ(Run({"save", file}).exitCode, 0);
    unit->Restart();
    const ChildResult r = Run({"apply", file});
    EXPECT_EQ(r.exitCode, 0) << Show(r);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Has(r.err, "nothing written")) << r.err;
}

}  // namespace
}  // namespace cli::testing
