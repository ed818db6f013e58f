// dtucfg's commands against a simulated unit, run in this process on a manual clock: what the
// unit receives, what is printed, and the exit codes.
#include <fstream>
#include <thread>

#include "cli/dtucfg_fixture_for_test.h"
#include "model/config_file.h"

namespace cli::testing {
namespace {

TEST_F(Dtucfg, EachOperationSendsItsLineAndPrintsTheAnswer) {
    // The command, the line the unit must receive once, part of the printed answer.
    const std::tuple<std::vector<std::string>, const char*, const char*> cases[] = {
        {{"version"}, "At+VER", "+VER: 7315_"},
        {{"csq"}, "At+CSQ", "+CSQ: 23,99"},
        {{"sim"}, "AT+CPIN?", "+CPIN: READY"},
        {{"netmode"}, "AT+FINDNETMODE", "+FINDNETMODE: LTE"},
        {{"readlog"}, "at+READFILELOG", "PPP link up"},
        {{"factory"}, "AT+FACTORY", "\nOK\n"},
        {{"send", "AT+TESTCMD"}, "AT+TESTCMD", "\nOK\n"},
        {{"quit"}, "at+quit", "\nOK\n"},
    };
    for (const auto& [args, line, answer] : cases) {
        StartUnit();
        const RunResult r = Run(args);
        EXPECT_EQ(r.code, 0) << line << "\n" << Show(r);
        EXPECT_EQ(Count(line), 1u) << line;
        EXPECT_TRUE(Has(r.out, std::string("> ") + line + "\n")) << r.out;
        EXPECT_TRUE(Has(r.out, answer)) << r.out;
    }
    StartUnit();
    const RunResult r = Run({"--json", "time"});
    ASSERT_EQ(r.code, 0) << Show(r);
    const std::string clock = unit->ClockText();
    ASSERT_EQ(clock.size(), 19u);
    EXPECT_TRUE(Has(
        r.out, R"({"line":"AT+EXCCLK=\")" + clock + R"(\",5","answer":["OK"],"answered":true})"))
        << r.out;
}

TEST_F(Dtucfg, ReadPrintsEveryParameterTheUnitHolds) {
    StartUnit().SetValue("AT+PORT", "6123");
    RunResult r = Run({"read"});
    ASSERT_EQ(r.code, 0) << Show(r);
    EXPECT_EQ(r.out.rfind("1RegisterIsHex\t", 0), 0u);  // the catalogue's order
    EXPECT_TRUE(Has(r.out, "\nServer's Port\t6123\n")) << r.out;
    r = Run({"--json", "read"});
    EXPECT_EQ(r.out.rfind(R"({"device_type":"7315","rf_model":"BG96","params":[)", 0), 0u) << r.out;
    r = Run({"--lang", "zh", "read"});  // the form's text where it differs from the value
    EXPECT_TRUE(Has(r.out, "\nDeviceModel\tCLI\t客户端\n")) << r.out;
    const std::string file = Path("read.cfg");
    ASSERT_EQ(Run({"read", "-o", file}).code, 0);
    EXPECT_TRUE(Has(model::ReadConfigFile(file).value_or(""), "\r\nServer's Port: 6123\r\n"));
}

TEST_F(Dtucfg, SetWritesOnlyWhatItChangesAndNamesWhatTheUnitRefuses) {
    StartUnit();
    RunResult r = Run({"set", "Server's Port=6000", "Access Point Name=internet", "Debug Level=#2",
                       "ThePPPauthentication=2"});
    ASSERT_EQ(r.code, 0) << Show(r);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"AT+APN=internet", "AT+DEBUG=2", "AT+PORT=6000",
                                                  "AT+SVRCNT=2"}));
    EXPECT_TRUE(Has(r.out, "Server's Port\t6000\tok\n")) << r.out;
    r = Run({"set", "Server's Port=6000"});
    EXPECT_EQ(r.code, 0) << Show(r);
    EXPECT_TRUE(Has(r.err, "holds these values already; nothing written")) << r.err;
    EXPECT_EQ(Writes().size(), 4u);
    unit->Refuse("AT+PORT");  // a refused write is named, the others go on, and the run ends with 6
    r = Run({"set", "Server's Port=7000", "Access Point Name=web"});
    EXPECT_EQ(r.code, 6) << Show(r);
    EXPECT_TRUE(Has(r.err, "dtucfg: not written: AT+PORT=7000 -> ERROR")) << r.err;
    EXPECT_TRUE(Has(r.err, "dtucfg: 1 of 2 writes acknowledged; answered ERROR: Server's Port\n"))
        << r.err;
}

TEST_F(Dtucfg, SetRefusesBeforeWritingAnything) {
    const std::pair<const char*, const char*> cases[] = {
        {"No such=1", "unknown parameter \"No such\""},
        {"Device Type=x", "read from the unit, never written"},
        {"DeviceModel=Moon", "DeviceModel has no item \"Moon\""},
        {"ListenPort=99", "ListenPort is hidden by the form for this unit"},
        {"ThePPPauthentication=0", "was changed by the form"},
        // A line break would end the line early and send the rest as a command of its own.
        {"Access Point Name=a\r\nAT+FACTORY", "must not contain a line break"},
        // Values the unit will likely refuse; --force sends them.
        {"Server's Ip=256.1.1.1", "neither an IPv4 address"},
        {"Server's Port=0", "give --force"},
    };
    StartUnit();
    for (const auto& [assignment, message] : cases) {
        const RunResult r = Run({"set", assignment});
        EXPECT_EQ(r.code, 2) << assignment << "\n" << Show(r);
        EXPECT_TRUE(Has(r.err, message)) << assignment << ": " << r.err;
    }
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Count("AT+FACTORY"), 0u);
    const RunResult forced = Run({"set", "--force", "Server's Port=0"});
    EXPECT_EQ(forced.code, 0) << Show(forced);
    EXPECT_EQ(Writes(), std::vector<std::string>{"AT+PORT=0"});
}

// Choosing an item can make the form change rows that were not named: a new DIO data format
// empties the channel's texts, the register format the registration texts. Those writes are
// listed and refused unless asked for.
TEST_F(Dtucfg, SetWritesRowsTheFormChangedOnlyWhenAskedTo) {
    const std::vector<std::string> dio = {"set", "DIO1 workmode=#6", "DIO1 protocol=#1",
                                          "The DIO1 data format=#1"};
    const std::vector<std::string> hex = {"set", "1RegisterIsHex=#1"};
    const auto linked = [](std::vector<std::string> args) {
        args.push_back("--with-linked");
        return args;
    };
    // The command, its exit code, what the unit receives in order, part of standard error.
    const std::tuple<std::vector<std::string>, int, std::vector<std::string>, const char*> cases[] =
        {
            {dio,
             2,
             {},
             "\ndtucfg:   DIO1 query command: AT+DIOQUERYCMD1=\ndtucfg: nothing written"},
            {linked(dio),
             0,
             {"AT+DIOPRO1=1", "AT+DIOQUERYCMD1=", "AT+DIOWORKMODE1=6", "AT+DIODATAFMT1=1"},
             "4 of 4 writes acknowledged"},
            {hex, 2, {}, "\ndtucfg:   RegisterInfo: AT+CONNRGST=\n"},
            {linked(hex), 0, {"AT+HEXLOGIN=1", "AT+CONNRGST="}, "2 of 2 writes acknowledged"},
        };
    for (const auto& [args, code, writes, err] : cases) {
        StartUnit().SetValue("AT+CONNRGST", "REG");
        const RunResult r = Run(args);
        EXPECT_EQ(r.code, code) << Show(r);
        EXPECT_EQ(Writes(), writes) << Show(r);
        EXPECT_TRUE(Has(r.err, err)) << r.err;
        if (code == 0) continue;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(unit->Value("AT+DIOQUERYCMD1"), "QUERY1");
        EXPECT_EQ(unit->Value("AT+CONNRGST"), "REG");
    }
}

TEST_F(Dtucfg, ApplyWritesTheFilesValuesAndVerifiesThem) {
    StartUnit("lora");
    unit->SetValue("AT+LFR", "433");
    unit->SetValue("AT+PORT", "7000");
    const std::string lora = Path("lora.cfg");
    ASSERT_EQ(Run({"save", lora}).code, 0);
    StartUnit("base");
    RunResult r = Run({"apply", lora, "--verify"});
    ASSERT_EQ(r.code, 0) << Show(r);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"AT+LFR=433", "AT+PORT=7000"}));
    EXPECT_EQ(Count("AT+SHOW"), 2u);  // the unit's values before the writes, and the check
    r = Run({"apply", lora});
    EXPECT_TRUE(Has(r.err, "the unit holds the file's values already")) << r.err;

    // A unit that does not report a row back fails the check; a row the file lacks stays.
    StartUnit("cdma");
    const std::string cdma = Path("cdma.cfg");
    ASSERT_EQ(Run({"save", cdma}).code, 0);
    r = Run({"apply", lora, "--verify"});
    EXPECT_EQ(r.code, 8) << Show(r);
    EXPECT_TRUE(Has(r.err, "differs: Access Point Name: the unit holds \"\", the file \"cmnet\""));
    StartUnit("base");
    r = Run({"apply", cdma});
    EXPECT_EQ(r.code, 0) << Show(r);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(Has(r.err, "the file has no Access Point Name; the unit keeps \"cmnet\""));
}

TEST_F(Dtucfg, FailuresEndWithTheirCodes) {
    std::ofstream(Path("hello.cfg")) << "hello\n";
    // The command, its exit code, part of standard error.
    const std::tuple<std::vector<std::string>, int, const char*> cases[] = {
        {{"apply", Path("in.cfg")}, 7, "cannot be read"},
        {{"apply", Path("hello.cfg")}, 7, "holds no parameter listing"},
        {{"save", Path("missing/x.cfg")}, 7, "could not be created"},
        {{"netmode"}, 5, "no answer to: AT+FINDNETMODE"},
        {{"--port", "/dev/nonexistent-tty", "read"}, 3, "No such file or directory"},
    };
    // The outcomes, not the log's wording, decide: the Chinese skin ends alike.
    for (const char* lang : {"en", "zh"}) {
        for (const auto& [command, code, message] : cases) {
            StartUnit().Refuse("AT+FINDNETMODE");  // ERROR is not the answer it waits for
            std::vector<std::string> args = {"--lang", lang};
            args.insert(args.end(), command.begin(), command.end());
            const RunResult r = Run(args);
            EXPECT_EQ(r.code, code) << lang << " " << message << "\n" << Show(r);
            EXPECT_TRUE(lang != std::string_view("en") || Has(r.err, message)) << r.err;
            EXPECT_TRUE(Writes().empty());
        }
    }
}

// A file whose NB band is out of range: the window's walk refuses it while writing.
TEST_F(Dtucfg, AFileWhoseBandIsOutOfRangeIsRefusedWhileWriting) {
    StartUnit("bc35").SetValue("AT+NBIOTNBAND", "0");
    ASSERT_EQ(Run({"save", Path("band.cfg")}).code, 0);
    std::string file = ReadFile(Path("band.cfg"));
    file.replace(file.find("nband: 0"), 8, "nband: 70000");
    std::ofstream(Path("band.cfg"), std::ios::binary) << file;
    const RunResult r = Run({"apply", Path("band.cfg")});
    EXPECT_EQ(r.code, 2) << Show(r);
    EXPECT_TRUE(Has(r.err, "the NB band is out of range, not written: NBBand")) << r.err;
}

// A unit still configuring from the run before is let in by "+++" (every test with two runs on a
// unit); one that answers neither the handshake nor "+++" is not.
TEST_F(Dtucfg, AUnitThatIgnoresTheHandshakeAndThePlusesIsNotLetIn) {
    StartUnit("base", {.silent = true});
    const RunResult r = Run({"--login-wait", "0.5", "read"});
    EXPECT_EQ(r.code, 4) << Show(r);
    EXPECT_TRUE(Has(r.err, "did not enter configuration mode")) << r.err;
    EXPECT_TRUE(unit->Received().ends_with("+++")) << unit->Received();
}

// The adapter is pulled while "Save" writes: the run ends with the port's exit code and names
// what was never sent, instead of waiting out the time limit of the write in progress.
TEST_F(Dtucfg, APortLostWhileWritingEndsTheRunAndNamesWhatWasNotSent) {
    StartUnit();
    std::thread puller([&] {
        if (unit->WaitForReceived("AT+APN=internet\r\n", std::chrono::seconds(60))) unit->Unplug();
    });
    const RunResult r =
        Run({"set", "Access Point Name=internet", "Server's Port=6000", "User Id=bob"});
    puller.join();
    EXPECT_EQ(r.code, 3) << Show(r);
    EXPECT_TRUE(Has(r.err, "not sent: AT+USERNAME=bob")) << r.err;
    EXPECT_FALSE(Has(r.err, "in time")) << r.err;
}

// A unit's text that a terminal would obey (retitle, clear the screen) is shown escaped; the
// unit and the record, a line per run, get the bytes as they are. Verbose shows the exchange.
TEST_F(Dtucfg, ControlBytesFromTheUnitReachNoTerminal) {
    StartUnit().SetValue("AT+APN", "\x1b]0;PWNED\x07\x1b[2J");
    RunResult r = Run({"--verbose", "read"});
    ASSERT_EQ(r.code, 0) << Show(r);
    EXPECT_TRUE(Has(r.out, "\nAccess Point Name\t\\x1b]0;PWNED\\x07\\x1b[2J\n")) << r.out;
    EXPECT_TRUE(Has(r.err, "Access Point Name: \\x1b]0;PWNED\\x07\\x1b[2J\n")) << r.err;
    EXPECT_TRUE(Has(r.err, "send:\nAT+SHOW\n")) << r.err;
    for (const std::string* text : {&r.out, &r.err}) {
        EXPECT_EQ(text->find_first_of("\x1b\x07\r"), std::string::npos) << *text;
    }
    const std::string record = Path("runs.jsonl");
    r = Run({"--json", "--record", record, "read"});
    EXPECT_TRUE(Has(r.out, R"("value":"\u001b]0;PWNED\u0007\u001b[2J")")) << r.out;
    r = Run({"--record", record, "set", "Access Point Name=a\x1b[2Jb"});
    ASSERT_EQ(r.code, 0) << Show(r);
    EXPECT_EQ(Writes(), std::vector<std::string>{"AT+APN=a\x1b[2Jb"});
    EXPECT_EQ(r.out, "Access Point Name\ta\\x1b[2Jb\tok\n");
    const std::string lines = ReadFile(record);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2) << lines;
    EXPECT_TRUE(Has(lines, R"("command":"set","port":")" + unit->DevicePath())) << lines;
    EXPECT_TRUE(Has(lines, R"("line":"AT+APN=a\u001b[2Jb","value":"a\u001b[2Jb","result":"ok")"))
        << lines;
}

}  // namespace
}  // namespace cli::testing
