#include "model/report_parser.h"

#include <gtest/gtest.h>

namespace model {
namespace {

const std::string kStart = "Access Point Name: x\r\n";
const std::string kUser = "\r\nPPP Authentication User Id:";

class ExtractTest : public ::testing::Test {
  protected:
    void SetUp() override { InitParamCatalogue(catalogue); }
    std::string Value(const char* name) const { return catalogue.Find(name)->value; }
    int Extract(const std::string& text) { return ExtractReportValues(text, catalogue, rfModel); }

    ParamCatalogue catalogue;
    std::string rfModel = "before";
};

TEST_F(ExtractTest, ValuesAreTheTrimmedRestOfTheirLineUnder100Bytes) {
    // The listing after its start line, a row, its value.
    const std::tuple<std::string, const char*, std::string> cases[] = {
        {"\r\nServer's Ip:   10.0.0.1  \r\n", "Server's Ip", "10.0.0.1"},
        {"\r\nServer's Ip:\r\n", "Server's Ip", ""},
        {"\r\nServer's Ip:    \r\n", "Server's Ip", ""},
        {"\r\nServer's Ip: a b \r\n", "Server's Ip", "a b"},
        // CR bytes go at the end of a value only, and a value that starts with one is empty.
        {"\r\nServer's Ip: a\r \r\r\n", "Server's Ip", "a"},
        {"\r\nServer's Ip:  \r a\r\n", "Server's Ip", ""},
        {"\r\nServer's Ip: \ta\t \r\n", "Server's Ip", "\ta\t"},
        {"\r\nServer's Ip: x", "Server's Ip", ""},  // no line end after the label
        // The line break in front of the label keeps it from matching inside another label.
        {"\r\nSecondary Server's Ip: 10.0.0.2\r\n", "Server's Ip", ""},
        {"\r\nSecondary Server's Ip: 10.0.0.2\r\n", "Secondary Server's Ip", "10.0.0.2"},
        // Labels without a leading line break are found anywhere.
        {"\r\nxx Mobus address: 7\r\n", "Mobus address", "7"},
        {"\r\nThe DIO3 data format: 1\r\n", "The DIO3 data format", "1"},
        // A row without a label takes the first line of the listing.
        {"", "I/O selection", "Access Point Name: x"},
        {kUser + " " + std::string(99, 'u') + "\r\n", "User Id", std::string(99, 'u')},
        {kUser + " " + std::string(100, 'u') + "\r\n", "User Id", ""},
    };
    for (const auto& [listing, row, value] : cases) {
        ASSERT_EQ(Extract(kStart + listing), 0);
        EXPECT_EQ(Value(row), value) << listing;
    }
}

// The labels are searched from "Access Point Name:" on, or on a CDMA unit from its own first
// line; the radio module anywhere. A text without a listing changes nothing.
TEST_F(ExtractTest, TheListingStartsAtItsFirstLineAndTheModuleIsFoundAnywhere) {
    const std::string cdma = "Whether module using CDMA mode: 1\r\n";
    // The text, the result, then "User Id" ("old" before) and the module ("before" before).
    const std::tuple<std::string, int, const char*, const char*> cases[] = {
        {"RF MODEL: BG96\r\n" + kUser + " card\r\nOK\r\n", 1, "old", "before"},
        {kUser + " early\r\nRF MODEL:  BG96 \r\n" + kStart, 0, "", "BG96"},
        {kStart + "RF MODEL: BC35\r\n" + kUser + " card\r\n", 0, "card", "BC35"},
        {cdma + kUser + " card\r\n", 0, "card", ""},
        {cdma + kUser + " card\r\n" + kStart, 0, "", ""},
        {kStart + "RF MODEL:BG96", 0, "", ""},
        {kStart + "RF MODEL:\r\n", 0, "", ""},
    };
    for (const auto& [text, result, user, rf] : cases) {
        catalogue.SetValue("User Id", "old");
        rfModel = "before";
        EXPECT_EQ(Extract(text), result) << text;
        EXPECT_EQ(Value("User Id"), user) << text;
        EXPECT_EQ(rfModel, rf) << text;
    }
}

TEST_F(ExtractTest, AListingAsLongAsTheReceiveTextIsReadToItsEnd) {
    // The line of "User Id" ends exactly at byte 16000 of the listing: all the receive text
    // can hold. A listing of a report with long values is not cut short.
    const std::string inside = kUser + " abcdefg\r\n";
    std::string text = kStart;
    text.resize(16000 - inside.size(), '.');
    text += inside;
    Extract(text);
    EXPECT_EQ(Value("User Id"), "abcdefg");
    // One byte more in front of the listing's start line changes nothing: the copy starts there.
    Extract("." + text);
    EXPECT_EQ(Value("User Id"), "abcdefg");
}

// The rows that got a value are those a configuration file writes; the next report empties
// every row it does not hold.
TEST_F(ExtractTest, EveryReportNamesItsRowsAndEmptiesTheOthers) {
    std::set<std::string> reported;
    catalogue.SetValue("Password", "old");
    catalogue.SetValue("Server's Ip", "old");
    const std::string text = kStart + kUser +
                             " card\r\n\r\nPPP Authentication Password: " + std::string(100, 'p') +
                             "\r\n";
    EXPECT_EQ(ExtractReportValues(text, catalogue, rfModel, &reported), 0);
    EXPECT_EQ(reported, (std::set<std::string>{"Access Point Name", "I/O selection", "User Id"}));
    EXPECT_EQ(Value("Password"), "");
    EXPECT_EQ(Value("Server's Ip"), "");
}

// The band list: "AUTO", then "b1" up to the module's last band; any other module has "AUTO"
// alone. What the list held before goes.
TEST(FillBandList, AutoThenTheBandsOfTheModule) {
    // The module, how many items, the last.
    const std::tuple<const char*, int, const char*> cases[] = {{"BG36", 29, "b28"},
                                                               {"SIM7000", 43, "b42"},
                                                               {"BG96", 1, "AUTO"},
                                                               {"BC35", 1, "AUTO"},
                                                               {"", 1, "AUTO"}};
    for (const auto& [module, items, last] : cases) {
        ui::Combo list;
        list.AddItem("b99");
        FillBandList(list, module);
        ASSERT_EQ(list.GetCount(), items) << module;
        EXPECT_EQ(list.GetItemText(0), "AUTO") << module;
        EXPECT_EQ(list.GetItemText(1), items > 1 ? "b1" : "") << module;
        EXPECT_EQ(list.GetItemText(items - 1), last) << module;
    }
}

}  // namespace
}  // namespace model
