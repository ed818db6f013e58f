#include "model/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace model {
namespace {

using Snapshot = std::vector<
    std::tuple<std::string, std::string, std::string, std::string, bool, std::string, int>>;

// Every field of every row, in walk order.
Snapshot TakeSnapshot(const ParamCatalogue& catalogue) {
    Snapshot rows;
    for (const auto& [name, row] : catalogue) {
        rows.emplace_back(name, row.command, row.value, row.label, row.shown, row.kind, row.page);
    }
    return rows;
}

std::vector<std::string> Keys(const ParamCatalogue& catalogue) {
    std::vector<std::string> keys;
    for (const auto& entry : catalogue) keys.push_back(entry.first);
    return keys;
}

class CatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override { InitParamCatalogue(catalogue_); }
    ParamCatalogue catalogue_;
};

// ---- ParamCatalogue on its own ---------------------------------------------------------------

TEST(ParamCatalogue, AddParamStoresAllFieldsShownAndEmptyValue) {
    ParamCatalogue catalogue;
    catalogue.AddParam(6, "Edit", "LORA ID", "\r\nLORA ID:", "AT+LID");
    ASSERT_EQ(catalogue.Size(), 1u);
    const ParamEntry* row = catalogue.Find("LORA ID");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->page, 6);
    EXPECT_EQ(row->kind, "Edit");
    EXPECT_EQ(row->label, "\r\nLORA ID:");
    EXPECT_EQ(row->command, "AT+LID");
    EXPECT_EQ(row->value, "");
    EXPECT_TRUE(row->shown);
}

TEST(ParamCatalogue, AddParamKeepsTheFirstRowOfAName) {
    ParamCatalogue catalogue;
    catalogue.AddParam(1, "Edit", "X", "\r\nX:", "AT+X");
    catalogue.SetValue("X", "7");
    catalogue.SetShown("X", false);
    catalogue.AddParam(2, "Combobox", "X", "other", "AT+Y");
    ASSERT_EQ(catalogue.Size(), 1u);
    const ParamEntry* row = catalogue.Find("X");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->page, 1);
    EXPECT_EQ(row->kind, "Edit");
    EXPECT_EQ(row->label, "\r\nX:");
    EXPECT_EQ(row->command, "AT+X");
    EXPECT_EQ(row->value, "7");
    EXPECT_FALSE(row->shown);
}

TEST(ParamCatalogue, KeysOrderByteWiseUnsignedShorterPrefixFirst) {
    ParamCatalogue catalogue;
    for (std::string_view name : {"z", "\xC3\xA9", "ab", "a", "B", "1", "a b"}) {
        catalogue.AddParam(0, "Edit", name, "", "");
    }
    EXPECT_EQ(Keys(catalogue),
              (std::vector<std::string>{"1", "B", "a", "a b", "ab", "z", "\xC3\xA9"}));
}

TEST(ParamCatalogue, FindIsExactAndNeverCreates) {
    ParamCatalogue catalogue;
    catalogue.AddParam(0, "Edit", "Name", "\r\nName:", "AT+N");
    EXPECT_EQ(catalogue.Find("name"), nullptr);
    EXPECT_EQ(catalogue.Find("Name "), nullptr);
    EXPECT_EQ(catalogue.Find("Nam"), nullptr);
    EXPECT_EQ(catalogue.Find(""), nullptr);
    const ParamCatalogue& const_catalogue = catalogue;
    EXPECT_EQ(const_catalogue.Find("nothing"), nullptr);
    EXPECT_NE(const_catalogue.Find("Name"), nullptr);
    EXPECT_EQ(catalogue.Size(), 1u);
}

TEST(ParamCatalogue, SettersChangeOnlyTheirRow) {
    ParamCatalogue catalogue;
    catalogue.AddParam(0, "Edit", "A", "\r\nA:", "AT+A");
    catalogue.AddParam(0, "Edit", "B", "\r\nB:", "AT+B");
    catalogue.SetValue("A", "1");
    catalogue.SetShown("A", false);
    EXPECT_EQ(catalogue.Find("A")->value, "1");
    EXPECT_FALSE(catalogue.Find("A")->shown);
    EXPECT_EQ(catalogue.Find("B")->value, "");
    EXPECT_TRUE(catalogue.Find("B")->shown);
    catalogue.SetShown("A", true);
    catalogue.SetValue("A", "");
    EXPECT_TRUE(catalogue.Find("A")->shown);
    EXPECT_EQ(catalogue.Find("A")->value, "");
}

// ---- The unit's 185 rows ---------------------------------------------------------------------

TEST_F(CatalogueTest, HoldsExactly185Rows) {
    EXPECT_EQ(catalogue_.Size(), 185u);
    EXPECT_EQ(static_cast<std::size_t>(std::distance(catalogue_.begin(), catalogue_.end())), 185u);
}

TEST_F(CatalogueTest, InitTwiceAddsNothing) {
    const Snapshot before = TakeSnapshot(catalogue_);
    InitParamCatalogue(catalogue_);
    EXPECT_EQ(TakeSnapshot(catalogue_), before);
}

TEST_F(CatalogueTest, WalkBeginsAndEndsWithTheDocumentedKeys) {
    const std::vector<std::string> keys = Keys(catalogue_);
    ASSERT_GE(keys.size(), 7u);
    const std::vector<std::string> first(keys.begin(), keys.begin() + 7);
    EXPECT_EQ(first, (std::vector<std::string>{"1RegisterIsHex", "A serial 2 port binding center",
                                               "A serial port binding center", "ALARM Act Time",
                                               "ALARM Inact Time", "Access Point Name",
                                               "ActivateMethod"}));
    const std::vector<std::string> last(keys.end() - 5, keys.end());
    EXPECT_EQ(last, (std::vector<std::string>{
                        "ZigBee_WorkMode", "dtu is connect to dtu manage platform",
                        "dtu manage server's Ip", "dtu manage server's Port", "net mode"}));
}

TEST_F(CatalogueTest, RowsPerPage) {
    std::vector<int> per_page(10, 0);
    for (const auto& [name, row] : catalogue_) {
        ASSERT_GE(row.page, 0) << name;
        ASSERT_LE(row.page, 9) << name;
        ++per_page[static_cast<std::size_t>(row.page)];
    }
    EXPECT_EQ(per_page, (std::vector<int>{33, 16, 6, 71, 10, 17, 7, 5, 12, 8}));
}

TEST_F(CatalogueTest, AllRowsStartShownWithEmptyValue) {
    for (const auto& [name, row] : catalogue_) {
        EXPECT_TRUE(row.shown) << name;
        EXPECT_EQ(row.value, "") << name;
    }
}

TEST_F(CatalogueTest, KindsAreEditComboboxOrTheOneLine) {
    for (const auto& [name, row] : catalogue_) {
        if (name == "Device Type") {
            EXPECT_EQ(row.kind, "Line");
        } else {
            EXPECT_TRUE(row.kind == "Edit" || row.kind == "Combobox") << name << ": " << row.kind;
        }
    }
}

TEST_F(CatalogueTest, KindsPerPage) {
    // {Edit, Combobox, Line} rows on each page 0-9, counted from the design tables.
    const std::vector<std::vector<int>> expected = {
        {15, 18, 0}, {14, 2, 0}, {0, 6, 0}, {41, 30, 0}, {8, 2, 0},
        {12, 5, 0},  {4, 2, 1},  {2, 3, 0}, {4, 8, 0},   {5, 3, 0},
    };
    std::vector<std::vector<int>> actual(10, std::vector<int>(3, 0));
    for (const auto& [name, row] : catalogue_) {
        ASSERT_GE(row.page, 0) << name;
        ASSERT_LE(row.page, 9) << name;
        const std::size_t column = row.kind == "Edit" ? 0 : row.kind == "Combobox" ? 1 : 2;
        ++actual[static_cast<std::size_t>(row.page)][column];
    }
    EXPECT_EQ(actual, expected);
}

struct SpotCheck {
    const char* name;
    int page;
    const char* kind;
    const char* command;
    const char* label;
};

// Exact bytes of the irregular rows and of a few rows given by rule A or rule B.
const SpotCheck kSpotChecks[] = {
    {"1RegisterIsHex", 0, "Combobox", "AT+HEXLOGIN", "\r\nRegister And Keep Online Info Is Hex:"},
    {"Protocolmodel", 0, "Combobox", "At+PROMODE", "\r\nProtocol model:"},
    {"RegistrationAndHeart", 0, "Combobox", "At+ENHRT", "\r\nRegistration and heart function:"},
    {"Modem'sID number", 0, "Edit", "AT+IDNT", "\r\nModem's ID number:"},
    {"HeartbeatPacketReplyInfo", 0, "Edit", "AT+LINKRGSTREP", "\r\nCustom Keep Onlinereply Info:"},
    {"PrefixCombo", 0, "Combobox", "AT+PREFIX", "Packet Prefix Mode:"},
    {"PrefixDataEdit", 0, "Edit", "AT+PRFXDATA", "Packet Prefix Data:"},
    {"IO activation methods", 0, "Combobox", "AT+IOACTMTH", "\r\nIO activation methods:"},
    {"I/O selection", 0, "Combobox", "", ""},
    {"I/O1 Mode", 0, "Combobox", "AT+DIOWORKMODE1", "\r\nDIO1 workmode:"},
    {"I/O2 Mode", 0, "Combobox", "AT+DIOWORKMODE2", "\r\nDIO2 workmode:"},
    {"I/O3 control", 0, "Combobox", "AT+DIOMAPC3", "\r\nDIO3 and mapping center:"},
    {"ALARM Act Time", 0, "Edit", "AT+ACTTIME", "\r\nALARM Act Time:"},
    {"Debug Level", 0, "Combobox", "AT+DEBUG", "\r\nDebug Level :"},
    {"Debugging  port", 0, "Combobox", "AT+DEBUGPORT", "\r\nDebugging information out port:"},
    {"ThePPPauthentication", 1, "Combobox", "AT+SVRCNT", "\r\nTotal Servers:"},
    {"Server's Ip", 1, "Edit", "AT+IPAD", "\r\nServer's Ip:"},
    {"Server2's Ip", 1, "Edit", "AT+IPAD1", "\r\nServer1's Ip:"},
    {"Server3's Port", 1, "Edit", "AT+PORT2", "\r\nServer2's Port:"},
    {"Server5's Ip", 1, "Edit", "AT+IPAD4", "\r\nServer4's Ip:"},
    {"Server5's Port", 1, "Edit", "AT+PORT4", "\r\nServer4's Port:"},
    {"A serial 2 port binding center", 2, "Combobox", "AT+SERBINDCNT2",
     "\r\nA serial 2 port binding center:"},
    {"Serial 2 Baudrate", 2, "Combobox", "AT+SETIPR2", "\r\nSerial 2 Baudrate:"},
    {"Mobus address", 3, "Edit", "AT+MBADDRESS", "Mobus address:"},
    {"DIO1 workmode", 3, "Combobox", "AT+DIOWORKMODE1", "DIO1 workmode:"},
    {"DIO3 workmode", 3, "Combobox", "AT+DIOWORKMODE3", "DIO3 workmode:"},
    {"DIO2 lower threshold", 3, "Edit", "AT+DIOADCLOWTHR2", "DIO2 lower threshold:"},
    {"DIO4 output control result", 3, "Edit", "AT+DIOOUTPUTRSP4", "DIO4 output control result:"},
    {"The DIO5 data format", 3, "Combobox", "AT+DIODATAFMT5", "The DIO5 data format:"},
    {"DIO5 interface", 3, "Combobox", "AT+DIOINTFACE5", "DIO5 interface:"},
    {"Access Point Name", 4, "Edit", "AT+APN", "Access Point Name:"},
    {"User Id", 4, "Edit", "AT+USERNAME", "\r\nPPP Authentication User Id:"},
    {"The PPP authentication", 4, "Combobox", "AT+PAUTH", "\r\nThe PPP authentication:"},
    {"net mode", 4, "Combobox", "AT+NETMODE", "\r\nnet mode:"},
    {"Sms Center", 5, "Edit", "AT+SMSC", "\r\nSms Center :"},
    {"Resend wating", 5, "Edit", "AT+RESWAIT", "\r\nResend wating:"},
    {"NBBand", 5, "Edit", "AT+NBIOTNBAND", "\r\nnb iot nband:"},
    {"NBNetModeCombo", 5, "Combobox", "AT+NETMODE", "\r\nModel Net Mode:"},
    {"LORA ID", 6, "Edit", "AT+LID", "\r\nLORA ID:"},
    {"Device Type", 6, "Line", "", "\r\nDevice Type:"},
    {"ZigBee_WorkMode", 7, "Combobox", "AT+ZTXTYPE", "\r\nZigBee_WorkMode :"},
    {"ZigBee_RFchannel", 7, "Combobox", "AT+CHA", "\r\nZigBee_RFchannel :"},
    {"ZigBee_NetworkID", 7, "Edit", "AT+PID", "\r\nZigBee_NetworkID :"},
    {"ZigBee_TransAddr", 7, "Edit", "AT+TAD", "\r\nZigBee_TransAddr :"},
    {"ZigBee_Type", 7, "Combobox", "AT+TYP", "\r\nZigBee_Type :"},
    {"GPS euipment ID", 8, "Edit", "AT+GPSID", "\r\nGPS euipment ID:"},
    {"Dtumanagetransferprotocol", 9, "Combobox", "AT+MANAPRO", "\r\nDtu manage transfer protocol:"},
    {"dtu is connect to dtu manage platform", 9, "Combobox", "AT+CONNTOMANA",
     "\r\ndtu is connect to dtu manage platform:"},
};

TEST_F(CatalogueTest, SpotChecksOfExactBytes) {
    for (const SpotCheck& check : kSpotChecks) {
        SCOPED_TRACE(check.name);
        const ParamEntry* row = catalogue_.Find(check.name);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->page, check.page);
        EXPECT_EQ(row->kind, check.kind);
        EXPECT_EQ(row->command, check.command);
        EXPECT_EQ(row->label, check.label);
    }
}

TEST_F(CatalogueTest, LeadingLineBreakIsTheBytesCrLf) {
    const ParamEntry* row = catalogue_.Find("LORA ID");
    ASSERT_NE(row, nullptr);
    ASSERT_GE(row->label.size(), 2u);
    EXPECT_EQ(static_cast<int>(row->label[0]), 13);
    EXPECT_EQ(static_cast<int>(row->label[1]), 10);
    EXPECT_EQ(row->label.find('\\'), std::string::npos);
}

TEST_F(CatalogueTest, IrregularNamesAreSpelledAsTheUnitSpellsThem) {
    for (const char* name :
         {"Debugging  port", "Mobus address", "GPS euipment ID", "Resend wating", "1RegisterIsHex",
          "ThePPPauthentication", "Modem'sID number", "Device Type", "I/O selection"}) {
        EXPECT_NE(catalogue_.Find(name), nullptr) << name;
    }
    for (const char* name : {"Debugging port", "Modbus address", "GPS equipment ID",
                             "Resend waiting", "Server1's Ip", "Server1's Port", "Server6's Ip"}) {
        EXPECT_EQ(catalogue_.Find(name), nullptr) << name;
    }
}

TEST_F(CatalogueTest, DioChannelRowsFollowRuleB) {
    const std::vector<std::tuple<std::string, std::string, std::string>> channel_one = {
        {"DIO1 workmode", "AT+DIOWORKMODE1", "Combobox"},
        {"DIO1 SMS number", "AT+DIOSMSNO1", "Edit"},
        {"DIO1 high level information", "AT+DIOHIGHINFO1", "Edit"},
        {"DIO1 low level information", "AT+DIOLOWINFO1", "Edit"},
        {"DIO1 upper threshold", "AT+DIOADCUPTHR1", "Edit"},
        {"DIO1 lower threshold", "AT+DIOADCLOWTHR1", "Edit"},
        {"DIO1 and mapping center", "AT+DIOMAPC1", "Combobox"},
        {"DIO1 reported methods", "AT+DIOREPMETHOD1", "Combobox"},
        {"DIO1 query command", "AT+DIOQUERYCMD1", "Edit"},
        {"DIO1 reported times", "AT+DIOREPTIMES1", "Edit"},
        {"The DIO1 data format", "AT+DIODATAFMT1", "Combobox"},
        {"DIO1 protocol", "AT+DIOPRO1", "Combobox"},
        {"DIO1 interface", "AT+DIOINTFACE1", "Combobox"},
        {"DIO1 output control result", "AT+DIOOUTPUTRSP1", "Edit"},
    };
    std::set<std::string> expected_names;
    for (char digit = '1'; digit <= '5'; ++digit) {
        for (auto [name, command, kind] : channel_one) {
            std::replace(name.begin(), name.end(), '1', digit);
            std::replace(command.begin(), command.end(), '1', digit);
            SCOPED_TRACE(name);
            const ParamEntry* row = catalogue_.Find(name);
            ASSERT_NE(row, nullptr);
            EXPECT_EQ(row->page, 3);
            EXPECT_EQ(row->kind, kind);
            EXPECT_EQ(row->command, command);
            EXPECT_EQ(row->label, name + ":");
            expected_names.insert(name);
        }
    }
    EXPECT_EQ(expected_names.size(), 70u);
    // Page 3 holds exactly these 70 rows and "Mobus address".
    expected_names.insert("Mobus address");
    std::set<std::string> page_three;
    for (const auto& [name, row] : catalogue_) {
        if (row.page == 3) page_three.insert(name);
    }
    EXPECT_EQ(page_three, expected_names);
}

TEST_F(CatalogueTest, RuleALabelsHoldForExactlyTheDocumentedRows) {
    const std::set<std::string> rule_a = {
        // Page 0
        "IO activation methods",
        "Sms Daemon Password",
        "ALARM Inact Time",
        "ALARM Act Time",
        // Page 1
        "Server's Ip",
        "Server's Port",
        "Secondary Server's Ip",
        "Secondary Server's Port",
        "Wait Time Between Dial Failures",
        "Link Fail Retry Times",
        "Should Return To Main Server",
        // Page 2
        "Serial Baudrate",
        "Serial port commu mode",
        "A serial port binding center",
        "Serial 2 Baudrate",
        "Serial 2 port commu mode",
        "A serial 2 port binding center",
        // Page 4
        "Center call number",
        "The PPP authentication",
        "net mode",
        "PPP Wait Time Between Dial Failures",
        "PPP Link Fail Retry Times",
        "Dns Server's Ip",
        "Second Dns Server's Ip",
        // Page 5
        "LCP ECHO",
        "Lcp echo interval",
        "Lcp echo testing number",
        "EXFUN",
        "ICMP Ip",
        "ICMP interval",
        "ICMP testing number",
        "Send group package waiting for",
        "Max Tcp Frame Len",
        "Resend wating",
        "Maximum retransmission times",
        "After a failed action",
        "Waiting for the failure",
        // Page 6
        "LORA ID",
        "LORA Rate",
        "LORA Mode",
        "LORA TAddr",
        "Device Type",
        "LORA Power",
        "LORA freq",
        // Page 8
        "GPS Server's Ip",
        "GPS Server's Port",
        "GPS work mode",
        "GPS euipment ID",
        "GPS transmit interval",
        "GPS transmit channel",
        "GPS GPRMC",
        "GPS GPVTG",
        "GPS GPGGA",
        "GPS GPGSA",
        "GPS GPGSV",
        "GPS GPGNS",
        // Page 9
        "dtu is connect to dtu manage platform",
        "Dtu manage id",
        "dtu manage server's Ip",
        "dtu manage server's Port",
        "DTU SMS configure fun",
        "DTU SMS configure password",
        "DTU SMS administrator number",
    };
    ASSERT_EQ(rule_a.size(), 63u);
    std::set<std::string> actual;
    for (const auto& [name, row] : catalogue_) {
        if (row.label == "\r\n" + name + ":") actual.insert(name);
    }
    EXPECT_EQ(actual, rule_a);
}

TEST_F(CatalogueTest, EveryLabelButIoSelectionEndsWithColon) {
    for (const auto& [name, row] : catalogue_) {
        if (name == "I/O selection") {
            EXPECT_EQ(row.label, "");
            continue;
        }
        ASSERT_FALSE(row.label.empty()) << name;
        EXPECT_EQ(row.label.back(), ':') << name;
    }
}

TEST_F(CatalogueTest, LabelsAreUnique) {
    std::map<std::string, std::string> owner;  // label -> control name
    for (const auto& [name, row] : catalogue_) {
        auto [it, inserted] = owner.emplace(row.label, name);
        EXPECT_TRUE(inserted) << "label of \"" << name << "\" is also the label of \"" << it->second
                              << "\"";
    }
    EXPECT_EQ(owner.size(), 185u);
}

TEST_F(CatalogueTest, OnlyDeviceTypeAndIoSelectionHaveNoCommand) {
    std::set<std::string> without;
    for (const auto& [name, row] : catalogue_) {
        if (row.command.empty()) {
            without.insert(name);
        } else if (row.command != "At+PROMODE" && row.command != "At+ENHRT") {
            EXPECT_EQ(row.command.rfind("AT+", 0), 0u) << name << ": " << row.command;
        }
    }
    EXPECT_EQ(without, (std::set<std::string>{"Device Type", "I/O selection"}));
}

TEST_F(CatalogueTest, SharedCommandsStandInExactlyTheListedRows) {
    const std::map<std::string, std::set<std::string>> shared = {
        {"AT+DIOWORKMODE1", {"I/O1 Mode", "DIO1 workmode"}},
        {"AT+DIOWORKMODE2", {"I/O2 Mode", "DIO2 workmode"}},
        {"AT+DIOMAPC1", {"I/O1 control", "DIO1 and mapping center"}},
        {"AT+DIOMAPC2", {"I/O2 control", "DIO2 and mapping center"}},
        {"AT+DIOMAPC3", {"I/O3 control", "DIO3 and mapping center"}},
        {"AT+NETMODE", {"net mode", "NBNetModeCombo"}},
    };
    std::map<std::string, std::set<std::string>> rows_of;  // command -> control names
    for (const auto& [name, row] : catalogue_) {
        if (!row.command.empty()) rows_of[row.command].insert(name);
    }
    for (const auto& [command, names] : shared) {
        EXPECT_EQ(rows_of[command], names) << command;
    }
    // Every other command stands in one row only.
    for (const auto& [command, names] : rows_of) {
        if (shared.count(command) == 0) {
            EXPECT_EQ(names.size(), 1u) << command;
        }
    }
    EXPECT_EQ(rows_of.size(), 185u - 2u - shared.size());
}

TEST_F(CatalogueTest, SecondAddParamOfANameChangesNothing) {
    const Snapshot before = TakeSnapshot(catalogue_);
    catalogue_.AddParam(2, "Combobox", "LORA ID", "\r\nOther:", "AT+OTHER");
    EXPECT_EQ(catalogue_.Size(), 185u);
    EXPECT_EQ(TakeSnapshot(catalogue_), before);
    const ParamEntry* row = catalogue_.Find("LORA ID");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->page, 6);
    EXPECT_EQ(row->kind, "Edit");
    EXPECT_EQ(row->label, "\r\nLORA ID:");
    EXPECT_EQ(row->command, "AT+LID");
}

TEST_F(CatalogueTest, SettersIgnoreUnknownNames) {
    const Snapshot before = TakeSnapshot(catalogue_);
    catalogue_.SetShown("RS485 port binding center", false);
    catalogue_.SetShown("DTU sms exception reporting", false);
    catalogue_.SetValue("", "x");
    catalogue_.SetValue("lora id", "x");
    EXPECT_EQ(TakeSnapshot(catalogue_), before);
}

TEST_F(CatalogueTest, FindOfUnknownNameReturnsNullAndAddsNoRow) {
    const Snapshot before = TakeSnapshot(catalogue_);
    EXPECT_EQ(catalogue_.Find("RS485 port binding center"), nullptr);
    EXPECT_EQ(catalogue_.Find(""), nullptr);
    const ParamCatalogue& const_catalogue = catalogue_;
    EXPECT_EQ(const_catalogue.Find("Server1's Ip"), nullptr);
    EXPECT_EQ(catalogue_.Size(), 185u);
    EXPECT_EQ(TakeSnapshot(catalogue_), before);
}

TEST_F(CatalogueTest, SettersReachTheNamedRowOnly) {
    Snapshot expected = TakeSnapshot(catalogue_);
    catalogue_.SetValue("net mode", "4G");
    catalogue_.SetShown("NBNetModeCombo", false);
    for (auto& row : expected) {
        if (std::get<0>(row) == "net mode") std::get<2>(row) = "4G";
        if (std::get<0>(row) == "NBNetModeCombo") std::get<4>(row) = false;
    }
    EXPECT_EQ(TakeSnapshot(catalogue_), expected);
}

}  // namespace
}  // namespace model
