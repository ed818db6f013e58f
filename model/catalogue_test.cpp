// The catalogue against the simulated unit's own data (its command table and its report),
// written apart from the catalogue: a wrong command or label in either shows here. The other
// tests check what that data cannot tell.
#include "model/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "sim/command_table.h"
#include "sim/unit_state.h"

namespace model {
namespace {

class CatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override { InitParamCatalogue(catalogue_); }
    std::string Dump() const {
        std::string text;
        for (const auto& [name, r] : catalogue_) {
            text += name + "|" + r.command + "|" + r.value + "|" + r.label + "|" + r.kind +
                    std::to_string(r.page) + (r.shown ? "+\n" : "-\n");
        }
        return text;
    }
    ParamCatalogue catalogue_;
};

TEST_F(CatalogueTest, EveryCommandIsPrintedUnderTheRowsLabelInTheUnitsReport) {
    const std::string report = sim::UnitState(sim::DefaultProfile()).Report();
    for (const auto& [name, row] : catalogue_) {
        std::string_view label = row.label;
        if (label.starts_with("\r\n")) label.remove_prefix(2);
        if (!row.command.empty()) {
            const sim::UnitCommand* command = sim::FindUnitCommand(row.command);
            ASSERT_NE(command, nullptr) << name << ": the unit knows no " << row.command;
            const auto& labels = command->labels;
            EXPECT_TRUE(std::find(labels.begin(), labels.end(), label) != labels.end())
                << name << ": the unit prints " << row.command << " as \"" << labels.front()
                << "\", not \"" << label << "\"";
        }
        if (!row.label.empty()) {
            EXPECT_NE(report.find(row.label), std::string::npos) << name << ": " << label;
        }
    }
}

// What the unit's data cannot tell. A label led by CR LF matches only at a line start:
// "\r\nServer's Ip:" is not found inside "Secondary Server's Ip:"; the channel rows and five
// others are found wherever they occur. The check above passes over rows without a command
// or a label.
TEST_F(CatalogueTest, LineStartsAndRowsWithoutACommandOrALabel) {
    std::set<std::string> withoutLineBreak;
    std::set<std::string> expected = {"PrefixCombo", "PrefixDataEdit", "Mobus address",
                                      "Access Point Name", "I/O selection"};
    std::set<std::string> noCommand;
    std::set<std::string> noLabel;
    for (const auto& [name, row] : catalogue_) {
        if (!row.label.starts_with("\r\n")) withoutLineBreak.insert(name);
        if (row.page == 3 && name.find("DIO") != std::string::npos) expected.insert(name);
        if (row.command.empty()) noCommand.insert(name);
        if (row.label.empty()) noLabel.insert(name);
    }
    EXPECT_EQ(expected.size(), 75u);
    EXPECT_EQ(withoutLineBreak, expected);
    EXPECT_EQ(noCommand, (std::set<std::string>{"Device Type", "I/O selection"}));
    EXPECT_EQ(noLabel, (std::set<std::string>{"I/O selection"}));
}

// A second row of a name changes nothing; a name without a row (the layout rules name some,
// a clock write's acknowledgement names none) is neither found nor created.
TEST_F(CatalogueTest, RowsAreNeitherReplacedNorCreatedByName) {
    catalogue_.SetValue("LORA ID", "7");
    catalogue_.SetShown("LORA ID", false);
    const std::string before = Dump();
    catalogue_.AddParam(2, "Combobox", "LORA ID", "\r\nOther:", "AT+OTHER");
    InitParamCatalogue(catalogue_);
    catalogue_.SetShown("RS485 port binding center", false);
    catalogue_.SetValue("", "x");
    catalogue_.SetValue("lora id", "x");
    EXPECT_EQ(catalogue_.Find("LORA ID "), nullptr);
    EXPECT_EQ(Dump(), before);
}

}  // namespace
}  // namespace model
