#include "cli/record.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/json_for_test.h"

namespace cli {
namespace {

using testing::ParseJson;

TEST(Fnv1a64, KnownValues) {
    EXPECT_EQ(Hex64(Fnv1a64("")), "cbf29ce484222325");
    EXPECT_EQ(Hex64(Fnv1a64("a")), "af63dc4c8601ec8c");
    EXPECT_EQ(Hex64(Fnv1a64("foobar")), "85944171f73967e8");
    EXPECT_EQ(Hex64(0), "0000000000000000");
}

TEST(UtcTimeText, IsoInUtc) {
    EXPECT_EQ(UtcTimeText(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(UtcTimeText(1700000000), "2023-11-14T22:13:20Z");
}

TEST(FormatRecordLine, OneJsonLineWithTheRunsFacts) {
    RunRecord record;
    record.command = "set";
    record.port = "/dev/ttyUSB0";
    record.deviceType = "7315";
    record.rfModel = "BG96";
    record.report = "foobar";
    record.writes = {{"Server's Port", "AT+PORT=6000", "6000", "ok"},
                     {"Server's Ip", "AT+IPAD=a\"b", "a\"b", "error"}};
    record.exitCode = 6;
    const std::string line = FormatRecordLine(record, 1700000000);
    ASSERT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    const auto v = ParseJson(line);
    ASSERT_TRUE(v) << line;
    EXPECT_EQ(v->Get("time")->text, "2023-11-14T22:13:20Z");
    EXPECT_EQ(v->Get("command")->text, "set");
    EXPECT_EQ(v->Get("port")->text, "/dev/ttyUSB0");
    EXPECT_EQ(v->Get("device_type")->text, "7315");
    EXPECT_EQ(v->Get("rf_model")->text, "BG96");
    EXPECT_EQ(v->Get("report_fnv1a64")->text, "85944171f73967e8");
    EXPECT_EQ(v->Get("exit")->number, 6);
    const auto& writes = v->Get("writes")->items;
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].Get("name")->text, "Server's Port");
    EXPECT_EQ(writes[0].Get("line")->text, "AT+PORT=6000");
    EXPECT_EQ(writes[0].Get("value")->text, "6000");
    EXPECT_EQ(writes[0].Get("result")->text, "ok");
    EXPECT_EQ(writes[1].Get("value")->text, "a\"b");
    EXPECT_EQ(writes[1].Get("result")->text, "error");
}

TEST(FormatRecordLine, NoReportNoHash) {
    const auto v = ParseJson(FormatRecordLine(RunRecord{}, 0));
    ASSERT_TRUE(v);
    EXPECT_EQ(v->Get("report_fnv1a64")->text, "");
    EXPECT_TRUE(v->Get("writes")->items.empty());
}

TEST(AppendRecordLine, AppendsAndKeepsWhatWasThere) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("dtucfg-record-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "runs.jsonl").string();
    std::string error;
    ASSERT_TRUE(AppendRecordLine(path, "{\"n\":1}\n", error)) << error;
    ASSERT_TRUE(AppendRecordLine(path, "{\"n\":2}\n", error)) << error;
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "{\"n\":1}\n{\"n\":2}\n");
    // A folder cannot be appended to: false, with the path in the reason.
    EXPECT_FALSE(AppendRecordLine(dir.string(), "x\n", error));
    EXPECT_NE(error.find(dir.string()), std::string::npos);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace cli
