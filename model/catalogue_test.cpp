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

// The other way round: a row that lost its command would never be written. And what the unit's
// data cannot tell: the DIO channel rows and four others are found wherever they occur.
TEST_F(CatalogueTest, EveryCommandOfTheUnitIsARowsCommandAndSomeRowsNeedNoLineStart) {
    std::set<std::string> asked;
    for (const auto& [name, row] : catalogue_) {
        asked.insert(sim::UpperCase(row.command));
        const bool anywhere = (row.page == 3 && name.find("DIO") != std::string::npos) ||
                              name.starts_with("Prefix") || name == "Mobus address" ||
                              name == "Access Point Name";
        EXPECT_FALSE(anywhere && row.label.starts_with("\r\n")) << name;
    }
    for (const sim::UnitCommand& command : sim::UnitCommands()) {
        EXPECT_EQ(asked.count(sim::UpperCase(command.command)), 1u) << command.command;
    }
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
