// The catalogue against the simulated unit's own data (its command table and its report),
// which is written apart from the catalogue: a wrong command or label in either shows here.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "model/catalogue.h"
#include "sim/command_table.h"
#include "sim/unit_state.h"

namespace model {
namespace {

TEST(CatalogueAgainstUnit, EveryCommandIsPrintedUnderTheRowsLabelInTheUnitsReport) {
    ParamCatalogue catalogue;
    InitParamCatalogue(catalogue);
    const std::string report = sim::UnitState(sim::DefaultProfile()).Report();
    for (const auto& [name, row] : catalogue) {
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

}  // namespace
}  // namespace model
