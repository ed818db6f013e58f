#include "model/report_parser.h"

#include <gtest/gtest.h>

namespace model {
namespace {

class ExtractTest : public ::testing::Test {
  protected:
    void SetUp() override { InitParamCatalogue(catalogue); }
    std::string Value(const char* name) const { return catalogue.Find(name)->value; }
    int Extract(const std::string& text) { return ExtractReportValues(text, catalogue, rfModel); }

    ParamCatalogue catalogue;
    std::string rfModel = "before";
};

TEST_F(ExtractTest, TextWithoutAListingChangesNothing) {
    catalogue.SetValue("Server's Ip", "1.1.1.1");
    EXPECT_EQ(Extract("RF MODEL: BG96\r\n\r\nServer's Ip: 2.2.2.2\r\nOK\r\n"), 1);
    EXPECT_EQ(Value("Server's Ip"), "1.1.1.1");
    EXPECT_EQ(rfModel, "before");
}

struct LineCase {
    const char* listing;  // after "Access Point Name: x\r\n"
    const char* row;
    const char* value;
};

TEST_F(ExtractTest, ValuesAreTheTrimmedRestOfTheirLine) {
    const LineCase cases[] = {
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
        // The backup servers are numbered one lower in the report.
        {"\r\nServer1's Ip: 10.0.0.3\r\n", "Server2's Ip", "10.0.0.3"},
        {"\r\nServer4's Port: 5004\r\n", "Server5's Port", "5004"},
        // Labels without a leading line break are found anywhere.
        {"\r\nPacket Prefix Mode: 3\r\n", "PrefixCombo", "3"},
        {"\r\nxx Mobus address: 7\r\n", "Mobus address", "7"},
        {"\r\nDebug Level : 2\r\n", "Debug Level", "2"},
        {"\r\nCustom Keep Onlinereply Info: pong\r\n", "HeartbeatPacketReplyInfo", "pong"},
    };
    for (const LineCase& c : cases) {
        ASSERT_EQ(Extract(std::string("Access Point Name: x\r\n") + c.listing), 0);
        EXPECT_EQ(Value(c.row), c.value) << c.listing;
    }
}

TEST_F(ExtractTest, SharedCommandsFillBothRows) {
    Extract("Access Point Name: x\r\n\r\nDIO1 workmode: 4\r\n\r\nDIO2 and mapping center: 2\r\n");
    EXPECT_EQ(Value("DIO1 workmode"), "4");
    EXPECT_EQ(Value("I/O1 Mode"), "4");
    EXPECT_EQ(Value("DIO2 and mapping center"), "2");
    EXPECT_EQ(Value("I/O2 control"), "2");
}

TEST_F(ExtractTest, ValuesOf100BytesOrMoreAreDropped) {
    Extract("Access Point Name: x\r\n\r\nPPP Authentication User Id: " + std::string(99, 'u') +
            "\r\n\r\nPPP Authentication Password: " + std::string(100, 'p') + "\r\n");
    EXPECT_EQ(Value("User Id"), std::string(99, 'u'));
    EXPECT_EQ(Value("Password"), "");
}

TEST_F(ExtractTest, OnlyTheListingIsSearchedExceptForTheRadioModule) {
    Extract(
        "\r\nPPP Authentication User Id: early\r\nRF MODEL:  BG96 \r\nAccess Point Name: "
        "cmnet\r\n");
    EXPECT_EQ(Value("User Id"), "");
    EXPECT_EQ(Value("Access Point Name"), "cmnet");
    EXPECT_EQ(rfModel, "BG96");
}

TEST_F(ExtractTest, CdmaUnitsStartTheirListingElsewhere) {
    EXPECT_EQ(
        Extract("Whether module using CDMA mode: 1\r\n\r\nPPP Authentication User Id: card\r\n"),
        0);
    EXPECT_EQ(Value("User Id"), "card");
    EXPECT_EQ(Value("Access Point Name"), "");
    EXPECT_EQ(rfModel, "");
}

TEST_F(ExtractTest, AListingAsLongAsTheReceiveTextIsReadToItsEnd) {
    // The line of "User Id" ends exactly at byte 16000 of the listing: all the receive text
    // can hold. A listing of a report with long values is not cut short.
    const std::string inside = "\r\nPPP Authentication User Id: abcdefg\r\n";
    std::string text = "Access Point Name: x\r\n";
    text.resize(16000 - inside.size(), '.');
    text += inside;
    Extract(text);
    EXPECT_EQ(Value("User Id"), "abcdefg");
    // One byte more in front of the listing's start line changes nothing: the copy starts there.
    Extract("." + text);
    EXPECT_EQ(Value("User Id"), "abcdefg");
}

TEST_F(ExtractTest, TheRowsThatGotAValueAreNamed) {
    std::set<std::string> reported;
    catalogue.SetValue("Password", "old");
    EXPECT_EQ(model::ExtractReportValues("Access Point Name: x\r\n\r\nPPP Authentication User "
                                         "Id: card\r\n\r\nPPP Authentication Password: " +
                                             std::string(100, 'p') + "\r\n",
                                         catalogue, rfModel, &reported),
              0);
    EXPECT_EQ(reported, (std::set<std::string>{"Access Point Name", "I/O selection", "User Id"}));
}

TEST_F(ExtractTest, EveryRowIsEmptiedByTheNextReport) {
    Extract("Access Point Name: x\r\n\r\nPPP Authentication User Id: card\r\n");
    Extract("Access Point Name: y\r\n");
    EXPECT_EQ(Value("User Id"), "");
    EXPECT_EQ(Value("Access Point Name"), "y");
}

struct BetweenCase {
    const char* text;
    const char* start;
    const char* end;
    const char* result;
};

TEST(ExtractBetween, TrimsBlanksAndNeedsBothMarkers) {
    const BetweenCase cases[] = {
        {"RF MODEL:  BG96  \r\n", "RF MODEL:", "\r\n", "BG96"},
        {"RF MODEL:BG96", "RF MODEL:", "\r\n", ""},
        {"no marker\r\n", "RF MODEL:", "\r\n", ""},
        {"a[1]b[2]", "[", "]", "1"},
        {"RF MODEL:\r\n", "RF MODEL:", "\r\n", ""},
    };
    for (const BetweenCase& c : cases) {
        EXPECT_EQ(ExtractBetween(c.text, c.start, c.end), c.result) << c.text;
    }
}

}  // namespace
}  // namespace model
