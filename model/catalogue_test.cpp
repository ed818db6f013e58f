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

// The text of every command and label is checked against the simulated unit's data
// (catalogue_unit_test.cpp); what the unit cannot tell is which labels the tool looks for
// only at a line start.
TEST_F(CatalogueTest, OnlyTheChannelRowsAndFiveOthersLackTheLeadingLineBreak) {
    std::set<std::string> without;
    std::set<std::string> expected = {"PrefixCombo", "PrefixDataEdit", "Mobus address",
                                      "Access Point Name", "I/O selection"};
    for (const auto& [name, row] : catalogue_) {
        if (!row.label.starts_with("\r\n")) without.insert(name);
        if (row.page == 3 && name.find("DIO") != std::string::npos) expected.insert(name);
    }
    EXPECT_EQ(expected.size(), 75u);
    EXPECT_EQ(without, expected);
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
        } else if (name == "Protocolmodel" || name == "RegistrationAndHeart") {
            EXPECT_EQ(row.command.rfind("At+", 0), 0u) << name << ": " << row.command;
        } else {
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
