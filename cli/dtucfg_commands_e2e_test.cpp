// dtucfg against a simulated unit: the operation buttons, the ports, the failures of the
// line (exit codes 3, 4, 5), files that cannot be used (7), --verbose and --record.
#include <fcntl.h>
#include <sys/file.h>

#include <filesystem>
#include <fstream>

#include "cli/dtucfg_fixture_for_test.h"
#include "link/port_list.h"

namespace cli::testing {
namespace {

using namespace std::chrono_literals;

TEST_F(Dtucfg, PortsListsWhatTheSystemHas) {
    const ChildResult text = testing::RunChild(kProgram, {"ports"}, 30s);
    const ChildResult json = testing::RunChild(kProgram, {"ports", "--json"}, 30s);
    ASSERT_EQ(text.exitCode, 0) << Show(text);
    ASSERT_EQ(json.exitCode, 0) << Show(json);
    const std::vector<devlink::SerialDevice> ports = devlink::DiscoverSerialPorts();
    const std::optional<JsonValue> v = ParseJson(json.out);
    ASSERT_TRUE(v) << json.out;
    ASSERT_EQ(v->items.size(), ports.size());
    const std::vector<std::string> lines = Lines(text.out);
    ASSERT_EQ(lines.size(), ports.size());
    for (size_t i = 0; i < ports.size(); ++i) {
        const JsonValue& port = v->items[i];
        EXPECT_EQ(port.Get("path")->text, ports[i].path);
        EXPECT_EQ(port.Get("byId")->text, ports[i].byIdPath);
        EXPECT_EQ(port.Get("vendorId")->text, ports[i].vendorId);
        EXPECT_EQ(port.Get("modemManagerIgnore")->boolean, ports[i].mmIgnore);
        EXPECT_EQ(lines[i],
                  ports[i].path + "\t" + port.Get("description")->text + "\t" + ports[i].byIdPath);
    }
}

// A by-id path is a link to the device node; the port opens through it.
TEST_F(Dtucfg, APortGivenAsALinkOpensTheDeviceItNames) {
    StartUnit();
    const std::string link = Path("usb-QinHeng_USB_Serial-if00-port0");
    std::filesystem::create_symlink(unit->DevicePath(), link);
    const ChildResult r = testing::RunChild(kProgram, {"--port", link, "version"}, 90s);
    EXPECT_EQ(r.exitCode, 0) << Show(r);
    EXPECT_EQ(Count("At+VER"), 1u);
}

struct FileCase {
    std::vector<std::string> args;  // "FILE" stands for a file of the test's folder
    const char* content;            // written to FILE first; null: no file
    const char* message;
    size_t reportsRead;  // "AT+SHOW" lines the unit received
};

TEST_F(Dtucfg, FilesThatCannotBeReadOrWrittenEndWithSeven) {
    const FileCase cases[] = {
        {{"apply", "FILE"}, nullptr, "cannot be read", 0},
        {{"apply", "FILE"}, "hello\n", "holds no parameter listing", 0},
        {{"save", "FILE/missing-folder/x.cfg"}, nullptr, "could not be created", 1},
    };
    for (const FileCase& c : cases) {
        StartUnit();
        const std::string file = Path("input.cfg");
        std::filesystem::remove(file);
        if (c.content) std::ofstream(file) << c.content;
        std::vector<std::string> args;
        for (std::string arg : c.args)
            args.push_back(arg.rfind("FILE", 0) == 0 ? file + arg.substr(4) : arg);
        const ChildResult r = Run(args);
        EXPECT_EQ(r.exitCode, 7) << Show(r);
        EXPECT_TRUE(Has(r.err, c.message)) << Show(r);
        EXPECT_EQ(Count("AT+SHOW"), c.reportsRead) << c.message;
        EXPECT_TRUE(Writes().empty());
    }
}

TEST_F(Dtucfg, ASilentUnitIsAskedWithPlusesAndEndsWithFour) {
    StartUnit().SetSilent(true);
    const ChildResult r = Run({"--login-wait", "0.5", "read"});
    EXPECT_EQ(r.exitCode, 4) << Show(r);
    EXPECT_TRUE(Has(r.err, "did not enter configuration mode")) << r.err;
    EXPECT_TRUE(Has(unit->Received(), "s+++")) << unit->Received();
    EXPECT_EQ(Count("AT+SHOW"), 0u);
}

TEST_F(Dtucfg, AJobWithoutTheReplyItWaitsForTimesOutWithFive) {
    StartUnit().Refuse("AT+FINDNETMODE");  // it waits for OK; ERROR is not its answer
    const ChildResult r = Run({"netmode"});
    EXPECT_EQ(r.exitCode, 5) << Show(r);
    EXPECT_TRUE(Has(r.err, "dtucfg: no answer to: AT+FINDNETMODE")) << r.err;
    EXPECT_GE(r.seconds, 4.5);  // the worker's limit of 5 s for the job
}

TEST_F(Dtucfg, APortThatCannotBeOpenedEndsWithThreeAndTheReason) {
    const ChildResult missing =
        testing::RunChild(kProgram, {"--port", "/dev/nonexistent-tty", "read"}, 60s);
    EXPECT_EQ(missing.exitCode, 3) << Show(missing);
    EXPECT_TRUE(Has(missing.err, "The serial port could not be opened.")) << missing.err;
    EXPECT_TRUE(Has(missing.err, "No such file or directory")) << missing.err;

    StartUnit();
    const int holder = ::open(unit->DevicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    const ChildResult busy = Run({"version"});
    ::close(holder);
    EXPECT_EQ(busy.exitCode, 3) << Show(busy);
    EXPECT_TRUE(Has(busy.err, "Another program is using the serial port.")) << busy.err;
    EXPECT_TRUE(unit->Received().empty());
}

struct SimpleCase {
    std::vector<std::string> args;
    const char* profile;
    const char* line;    // what the unit must receive once
    const char* answer;  // part of the printed answer
};

TEST_F(Dtucfg, EachOperationSendsItsLineAndPrintsTheAnswer) {
    const SimpleCase cases[] = {
        {{"version"}, "base", "At+VER", "+VER: 7315_"},
        {{"csq"}, "base", "At+CSQ", "+CSQ: 23,99"},
        {{"sim"}, "base", "AT+CPIN?", "+CPIN: READY"},
        {{"sim"}, "cdma", "AT+CIMI", "460001234567890"},
        {{"netmode"}, "base", "AT+FINDNETMODE", "+FINDNETMODE: LTE"},
        {{"readlog"}, "base", "at+READFILELOG", "PPP link up"},
        {{"send", "AT+TESTCMD"}, "base", "AT+TESTCMD", "\nOK\n"},
        {{"factory"}, "base", "AT+FACTORY", "\nOK\n"},
    };
    for (const SimpleCase& c : cases) {
        StartUnit(c.profile);
        const ChildResult r = Run(c.args);
        EXPECT_EQ(r.exitCode, 0) << c.line << "\n" << Show(r);
        EXPECT_EQ(Count(c.line), 1u) << c.line;
        EXPECT_TRUE(Has(r.out, std::string("> ") + c.line + "\n")) << r.out;
        EXPECT_TRUE(Has(r.out, c.answer)) << r.out;
        EXPECT_EQ(Count("at+quit"), 0u) << c.line;
    }
}

TEST_F(Dtucfg, ASecondRunOnAUnitStillInConfigurationModeGetsInWithPluses) {
    StartUnit();
    const ChildResult first = Run({"version"});
    ASSERT_EQ(first.exitCode, 0) << Show(first);
    ASSERT_TRUE(unit->InConfigMode());
    const ChildResult second = Run({"--login-wait", "0.5", "csq"});
    EXPECT_EQ(second.exitCode, 0) << Show(second);
    const std::string received = unit->Received();
    EXPECT_NE(received.find("+++"), std::string::npos);
    EXPECT_NE(received.find("At+CSQ\r\n"), std::string::npos);
    EXPECT_TRUE(Has(second.out, "+CSQ: 23,99")) << second.out;
}

TEST_F(Dtucfg, FactoryRestoresTheDefaultsAndReadsTheReportAgain) {
    StartUnit().SetValue("AT+PORT", "7000");
    const ChildResult r = Run({"factory"});
    ASSERT_EQ(r.exitCode, 0) << Show(r);
    EXPECT_EQ(Value("AT+PORT"), "5001");
    EXPECT_EQ(Count("AT+SHOW"), 1u);
}

TEST_F(Dtucfg, TimeSetsTheUnitsClock) {
    StartUnit();
    const ChildResult r = Run({"--json", "time"});
    ASSERT_EQ(r.exitCode, 0) << Show(r);
    const std::string clock = unit->ClockText();
    ASSERT_EQ(clock.size(), 19u);
    const std::optional<JsonValue> v = ParseJson(r.out);
    ASSERT_TRUE(v) << r.out;
    const JsonValue& exchange = v->Get("exchanges")->items.at(0);
    EXPECT_EQ(exchange.Get("line")->text, "AT+EXCCLK=\"" + clock + "\",5");
    EXPECT_EQ(exchange.Get("answer")->items.at(0).text, "OK");
    EXPECT_TRUE(exchange.Get("answered")->boolean);
}

TEST_F(Dtucfg, QuitLeavesConfigurationMode) {
    StartUnit();
    const ChildResult r = Run({"quit"});
    ASSERT_EQ(r.exitCode, 0) << Show(r);
    EXPECT_EQ(Count("at+quit"), 1u);
    EXPECT_FALSE(unit->InConfigMode());
}

TEST_F(Dtucfg, VerboseShowsTheExchangeOnStandardError) {
    StartUnit();
    const ChildResult r = Run({"--verbose", "version"});
    ASSERT_EQ(r.exitCode, 0) << Show(r);
    EXPECT_TRUE(Has(r.err, "send:At+VER\n")) << r.err;
    EXPECT_TRUE(Has(r.err, "+VER: 7315_")) << r.err;
    EXPECT_FALSE(Has(r.err, "\r"));
}

TEST_F(Dtucfg, RecordAppendsOneLinePerRun) {
    const std::string record = Path("runs.jsonl");
    StartUnit();
    const ChildResult first = Run({"--record", record, "set", "Server's Port=6000"});
    ASSERT_EQ(first.exitCode, 0) << Show(first);
    unit->Restart();  // the next unit on the bench
    const ChildResult second = Run({"--record", record, "read"});
    ASSERT_EQ(second.exitCode, 0) << Show(second);
    std::ifstream in(record);
    std::stringstream text;
    text << in.rdbuf();
    const std::vector<std::string> lines = Lines(text.str());
    ASSERT_EQ(lines.size(), 2u) << text.str();
    const std::optional<JsonValue> a = ParseJson(lines[0]);
    const std::optional<JsonValue> b = ParseJson(lines[1]);
    ASSERT_TRUE(a && b) << text.str();
    for (const JsonValue* v : {&*a, &*b}) {
        EXPECT_EQ(v->Get("port")->text, unit->DevicePath());
        EXPECT_EQ(v->Get("device_type")->text, "7315");
        EXPECT_EQ(v->Get("rf_model")->text, "BG96");
        EXPECT_EQ(v->Get("report_fnv1a64")->text.size(), 16u);
        EXPECT_EQ(v->Get("exit")->number, 0);
        EXPECT_FALSE(v->Get("time")->text.empty());
    }
    EXPECT_EQ(a->Get("command")->text, "set");
    const auto& writes = a->Get("writes")->items;
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].Get("name")->text, "Server's Port");
    EXPECT_EQ(writes[0].Get("line")->text, "AT+PORT=6000");
    EXPECT_EQ(writes[0].Get("result")->text, "ok");
    EXPECT_TRUE(b->Get("writes")->items.empty());
    // The second report holds the new port: another hash.
    EXPECT_NE(a->Get("report_fnv1a64")->text, b->Get("report_fnv1a64")->text);
}

}  // namespace
}  // namespace cli::testing
