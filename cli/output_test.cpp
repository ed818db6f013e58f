// What dtucfg prints and records: the texts are the interface scripts read, so they are
// compared byte for byte.
#include "cli/output.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/progress.h"
#include "cli/record.h"

namespace cli {
namespace {

TEST(JsonString, EscapesWhatJsonRequiresAndKeepsUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", R"("plain")"},   {"a\"b\\c", R"("a\"b\\c")"},
        {"\r\n\t", R"("\r\n\t")"}, {std::string("\x01\x1f", 2), R"("\u0001\u001f")"},
        {"中文 é", "\"中文 é\""},
    };
    for (const auto& [text, json] : cases) EXPECT_EQ(JsonString(text), json) << text;
}

TEST(FormatParams, TextShowsTheFormOnlyWhereItDiffersAndJsonEveryField) {
    const std::vector<ParamLine> params = {
        {"DeviceModel", "AT+DEVMODE", 0, "CLI", "Client", true},
        {"Device Type", "", 6, "7315", "", false},
        {"Server's Port", "AT+PORT", 1, "5001", "5001", true},
    };
    EXPECT_EQ(FormatParamsText(params),
              "DeviceModel\tCLI\tClient\nDevice Type\t7315\t\nServer's Port\t5001\n");
    EXPECT_EQ(FormatParamsJson("7315-L", "BG96", {params[0], params[1]}),
              R"({"device_type":"7315-L","rf_model":"BG96","params":[{"name":"DeviceModel",)"
              R"("command":"AT+DEVMODE","page":0,"value":"CLI","form":"Client","shown":true},)"
              R"({"name":"Device Type","command":"","page":6,"value":"7315","form":"",)"
              R"("shown":false}]})"
              "\n");
}

TEST(ReplyLines, KeepTheLinesThatSaySomething) {
    EXPECT_EQ(ReplyLines("\r\na\n\n  \r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(WithoutLineEnds("\r\nAT+SHOW\r\n"), "AT+SHOW");
    EXPECT_EQ(WithoutLineEnds("a\r\nb"), "a\r\nb");
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

TEST(Record, OneJsonLinePerRunAndANamedFailure) {
    EXPECT_EQ(Hex64(Fnv1a64("")), "cbf29ce484222325");  // FNV-1a's published values
    EXPECT_EQ(Hex64(Fnv1a64("foobar")), "85944171f73967e8");
    RunRecord record{"set", "/dev/ttyUSB0", "7315", "BG96", "foobar", {}, 6};
    record.writes = {{"Server's Port", "AT+PORT=6000", "6000", "ok"},
                     {"Server's Ip", "AT+IPAD=a\"b", "a\"b", "error"}};
    const std::string line = FormatRecordLine(record, 1700000000);
    EXPECT_EQ(line, R"({"time":"2023-11-14T22:13:20Z","command":"set","port":"/dev/ttyUSB0",)"
                    R"("device_type":"7315","rf_model":"BG96","report_fnv1a64":"85944171f73967e8",)"
                    R"("writes":[{"name":"Server's Port","line":"AT+PORT=6000","value":"6000",)"
                    R"("result":"ok"},{"name":"Server's Ip","line":"AT+IPAD=a\"b","value":"a\"b",)"
                    R"("result":"error"}],"exit":6})"
                    "\n");
    std::string error;  // appending to a file is checked end to end, with two runs
    EXPECT_FALSE(AppendRecordLine("/nonexistent/dir/r.jsonl", line, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace cli
