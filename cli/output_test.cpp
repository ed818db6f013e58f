#include "cli/output.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/json_for_test.h"
#include "cli/progress.h"

namespace cli {
namespace {

using testing::JsonValue;
using testing::ParseJson;

struct EscapeCase {
    std::string text;
    std::string json;
};

TEST(JsonString, EscapesWhatJsonRequiresAndKeepsUtf8) {
    const EscapeCase cases[] = {
        {"", "\"\""},
        {"plain 1.2.3.4", "\"plain 1.2.3.4\""},
        {"Server's \"Ip\"", "\"Server's \\\"Ip\\\"\""},
        {"a\\b", "\"a\\\\b\""},
        {"\r\n\t", "\"\\r\\n\\t\""},
        {std::string("\0\x01\x1f\x7f", 4), "\"\\u0000\\u0001\\u001f\\u007f\""},
        {"串口 ✓", "\"串口 ✓\""},
        {"\xF0\x9F\x93\xA1", "\"\xF0\x9F\x93\xA1\""},   // four bytes, kept
        {"\xFF", "\"\\u00ff\""},                        // never valid
        {"a\xC3", "\"a\\u00c3\""},                      // cut sequence
        {"\xC0\x80", "\"\\u00c0\\u0080\""},             // overlong NUL
        {"\xED\xA0\x80", "\"\\u00ed\\u00a0\\u0080\""},  // a surrogate
        {"\xE4\xB8", "\"\\u00e4\\u00b8\""},
    };
    for (const EscapeCase& c : cases) {
        const std::string json = JsonString(c.text);
        EXPECT_EQ(json, c.json);
        const std::optional<JsonValue> back = ParseJson(json);
        ASSERT_TRUE(back) << json;
        EXPECT_EQ(back->type, JsonValue::Type::kString);
    }
    // Valid input comes back unchanged.
    EXPECT_EQ(ParseJson(JsonString("x\"\\\n串"))->text, "x\"\\\n串");
}

TEST(JsonReaderForTests, RefusesWhatIsNotJson) {
    for (const char* bad : {"", "{", "[1,]", "{\"a\":1,}", "\"\x01\"", "\"\xFF\"", "01", "1.",
                            "tru", "\"\\x\"", "\"\\ud800\"", "{} {}", "{'a':1}"}) {
        EXPECT_FALSE(ParseJson(bad)) << bad;
    }
    const std::optional<JsonValue> v =
        ParseJson(" {\"a\":[1,-2.5e3,true,false,null,\"\\u00e9\"]} ");
    ASSERT_TRUE(v);
    const JsonValue* a = v->Get("a");
    ASSERT_TRUE(a);
    ASSERT_EQ(a->items.size(), 6u);
    EXPECT_EQ(a->items[1].number, -2500);
    EXPECT_TRUE(a->items[2].boolean);
    EXPECT_FALSE(a->items[3].boolean);
    EXPECT_EQ(a->items[4].type, JsonValue::Type::kNull);
    EXPECT_EQ(a->items[5].text, "é");
}

std::vector<ParamLine> SomeParams() {
    return {
        {"DeviceModel", "AT+DEVMODE", 0, "CLI", "Client", true},
        {"Device Type", "", 6, "7315", "", false},
        {"Server's Port", "AT+PORT", 1, "5001", "5001", true},
        {"Odd \"one\"", "AT+ODD", 2, "a\tb", "a\tb", true},
    };
}

TEST(FormatParamsText, NameValueAndTheFormOnlyWhereItDiffers) {
    EXPECT_EQ(FormatParamsText(SomeParams()),
              "DeviceModel\tCLI\tClient\n"
              "Device Type\t7315\t\n"
              "Server's Port\t5001\n"
              "Odd \"one\"\ta\tb\n");
    EXPECT_EQ(FormatParamsText({}), "");
}

TEST(FormatParamsJson, OneObjectWithEveryField) {
    const std::string json = FormatParamsJson("7315-L", "BG96", SomeParams());
    ASSERT_EQ(json.back(), '\n');
    const std::optional<JsonValue> v = ParseJson(json);
    ASSERT_TRUE(v) << json;
    EXPECT_EQ(v->Get("device_type")->text, "7315-L");
    EXPECT_EQ(v->Get("rf_model")->text, "BG96");
    const JsonValue* params = v->Get("params");
    ASSERT_TRUE(params);
    ASSERT_EQ(params->items.size(), 4u);
    const JsonValue& first = params->items[0];
    EXPECT_EQ(first.Get("name")->text, "DeviceModel");
    EXPECT_EQ(first.Get("command")->text, "AT+DEVMODE");
    EXPECT_EQ(first.Get("page")->number, 0);
    EXPECT_EQ(first.Get("value")->text, "CLI");
    EXPECT_EQ(first.Get("form")->text, "Client");
    EXPECT_TRUE(first.Get("shown")->boolean);
    EXPECT_FALSE(params->items[1].Get("shown")->boolean);
    EXPECT_EQ(params->items[1].Get("page")->number, 6);
    EXPECT_EQ(params->items[3].Get("name")->text, "Odd \"one\"");
    EXPECT_EQ(params->items[3].Get("value")->text, "a\tb");
}

TEST(ReplyLines, KeepsTheLinesThatSaySomething) {
    EXPECT_EQ(ReplyLines("\r\n+VER: 7315_V3\r\nOK\r\n"),
              (std::vector<std::string>{"+VER: 7315_V3", "OK"}));
    EXPECT_EQ(ReplyLines("a\n\n  \r\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(ReplyLines("").empty());
    EXPECT_TRUE(ReplyLines("\r\n\r\n").empty());
}

TEST(WithoutLineEnds, CutsCrAndLfAtBothEnds) {
    EXPECT_EQ(WithoutLineEnds("\r\nAT+SHOW\r\n"), "AT+SHOW");
    EXPECT_EQ(WithoutLineEnds("AT+PORT=6000\r\n"), "AT+PORT=6000");
    EXPECT_EQ(WithoutLineEnds("a\r\nb"), "a\r\nb");
    EXPECT_EQ(WithoutLineEnds("\r\n"), "");
}

TEST(Progress, OneLineInPlaceAndNothingWhenSwitchedOff) {
    std::ostringstream shown, silent;
    Progress on(shown, true), off(silent, false);
    for (Progress* p : {&on, &off}) {
        p->Show("waiting");
        p->Show("waiting");  // unchanged: not written again
        p->Show("receiving the report: 10 bytes");
        p->Clear();
        p->Clear();  // nothing shown any more
    }
    EXPECT_EQ(shown.str(), "\rwaiting\x1b[K\rreceiving the report: 10 bytes\x1b[K\r\x1b[K");
    EXPECT_EQ(silent.str(), "");
}

}  // namespace
}  // namespace cli
