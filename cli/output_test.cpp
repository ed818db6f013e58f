// What dtucfg prints and records: the texts are the interface scripts read, so they are
// compared byte for byte.
#include "cli/output.h"

#include <gtest/gtest.h>

#include <random>
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

TEST(Printable, EscapesControlBytesButTabsAndLineEnds) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x1b]0;PWNED\x07\x1b[2J", "\\x1b]0;PWNED\\x07\\x1b[2J"},
        {"a\tb\r\nc", "a\tb\r\nc"},
        {std::string("\0\x01\x1f\x7f ~", 6), "\\x00\\x01\\x1f\\x7f ~"},
        {"中文 é \xb9\xfa\x80\xff", "中文 é \xb9\xfa\x80\xff"},  // UTF-8, GBK and stray bytes
        {"C:\\x1b", "C:\\x1b"},                                  // a backslash stays
    };
    for (const auto& [text, shown] : cases) EXPECT_EQ(Printable(text), shown) << shown;
}

/// `shown` with every "\xHH" turned back into its byte.
std::string Unescape(const std::string& shown) {
    std::string text;
    for (size_t i = 0; i < shown.size(); ++i) {
        if (shown.compare(i, 2, "\\x") == 0 && i + 3 < shown.size()) {
            text += static_cast<char>(std::stoi(shown.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            text += shown[i];
        }
    }
    return text;
}

// Over random bytes (no backslash, which stays as it is): nothing a terminal obeys is left
// but TAB, CR and LF, and the escapes give the bytes back.
TEST(Printable, LeavesNoControlByteAndLosesNothing) {
    std::mt19937 random(20240501);
    for (int run = 0; run < 500; ++run) {
        std::string text(random() % 40, '\0');
        for (char& c : text) {
            do c = static_cast<char>(random() % 256);
            while (c == '\\');
        }
        const std::string shown = Printable(text);
        for (const char c : shown) {
            const auto byte = static_cast<unsigned char>(c);
            EXPECT_TRUE(byte >= 0x20 || c == '\t' || c == '\r' || c == '\n') << run;
            EXPECT_NE(byte, 0x7F) << run;
        }
        EXPECT_EQ(Unescape(shown), text) << run;
    }
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
