#include "cli/options.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/exit_codes.h"
#include "cli/run.h"

namespace cli {
namespace {

std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::istringstream in{std::string(line)};
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

struct GoodLine {
    const char* args;
    const char* command;
    size_t argumentCount;
};

TEST(ParseCommandLine, AcceptsEveryCommandInItsForm) {
    const GoodLine cases[] = {
        {"ports", "ports", 0},
        {"ports --json", "ports", 0},
        {"--port /dev/ttyUSB0 read", "read", 0},
        {"--simulate read -o out.cfg", "read", 0},
        {"--port /dev/ttyUSB0 set A=1 B=two C=", "set", 3},
        {"--port /dev/ttyUSB0 apply site.cfg --verify", "apply", 1},
        {"--port=/dev/ttyUSB0 save site.cfg", "save", 1},
        {"--simulate=lora factory", "factory", 0},
        {"--simulate time", "time", 0},
        {"--simulate version", "version", 0},
        {"--simulate sim", "sim", 0},
        {"--simulate csq", "csq", 0},
        {"--simulate netmode", "netmode", 0},
        {"--simulate readlog", "readlog", 0},
        {"--simulate quit", "quit", 0},
        {"--simulate send AT+CSQ", "send", 1},
        {"read --simulate --json --verbose --record runs.jsonl", "read", 0},
    };
    for (const GoodLine& c : cases) {
        const ParseResult r = ParseCommandLine(Words(c.args));
        ASSERT_TRUE(r.options) << c.args << ": " << r.error;
        EXPECT_EQ(r.options->command, c.command) << c.args;
        EXPECT_EQ(r.options->arguments.size(), c.argumentCount) << c.args;
    }
}

TEST(ParseCommandLine, ReadsEveryOptionValue) {
    const ParseResult r = ParseCommandLine(
        Words("--port /dev/ttyS1 --baud 9600 --format 7E1 --lang zh --login-wait 0.5 --json "
              "--verbose --record r.jsonl apply f.cfg --verify"));
    ASSERT_TRUE(r.options) << r.error;
    const Options& o = *r.options;
    EXPECT_EQ(o.port, "/dev/ttyS1");
    EXPECT_EQ(o.baud, 9600);
    EXPECT_EQ(o.format, "7E1");
    EXPECT_EQ(o.languageCode, 1);
    EXPECT_DOUBLE_EQ(o.loginWaitSeconds, 0.5);
    EXPECT_TRUE(o.json);
    EXPECT_TRUE(o.verbose);
    EXPECT_EQ(o.recordPath, "r.jsonl");
    EXPECT_TRUE(o.verify);
    EXPECT_EQ(o.arguments, std::vector<std::string>{"f.cfg"});
    EXPECT_FALSE(o.simulate);
}

TEST(ParseCommandLine, DefaultsAndTheSimulatedProfile) {
    const ParseResult r = ParseCommandLine(Words("--simulate read"));
    ASSERT_TRUE(r.options) << r.error;
    EXPECT_EQ(r.options->baud, 115200);
    EXPECT_EQ(r.options->format, "8N1");
    EXPECT_EQ(r.options->languageCode, -1);
    EXPECT_DOUBLE_EQ(r.options->loginWaitSeconds, 3.0);
    EXPECT_EQ(r.options->simulateProfile, "base");
    EXPECT_EQ(ParseCommandLine(Words("--simulate=cdma read")).options->simulateProfile, "cdma");
}

TEST(ParseCommandLine, DoubleDashEndsTheOptions) {
    const ParseResult r = ParseCommandLine({"--simulate", "set", "--", "-x=1"});
    // "-x=1" is an argument after "--", and a NAME=VALUE with the name "-x".
    ASSERT_TRUE(r.options) << r.error;
    EXPECT_EQ(r.options->arguments, std::vector<std::string>{"-x=1"});
}

struct BadLine {
    std::vector<std::string> args;
    const char* message;  // part of the error text
};

TEST(ParseCommandLine, RefusesBadLinesWithAReason) {
    const BadLine cases[] = {
        {{}, "no command"},
        {{"--simulate"}, "no command"},
        {{"frobnicate"}, "unknown command \"frobnicate\""},
        {{"--bogus", "ports"}, "unknown option \"--bogus\""},
        {{"read"}, "no port"},
        {{"--port", "/dev/x", "--simulate", "read"}, "not both"},
        {{"--port"}, "--port needs a value"},
        {{"--port=", "read"}, "--port needs a value"},
        {{"--simulate", "--baud", "fast", "read"}, "--baud needs a positive whole number"},
        {{"--simulate", "--baud", "0", "read"}, "--baud needs a positive whole number"},
        {{"--simulate", "--baud", "-9600", "read"}, "--baud needs a positive whole number"},
        {{"--simulate", "--baud", "9600x", "read"}, "--baud needs a positive whole number"},
        {{"--simulate", "--lang", "fr", "read"}, "--lang is en or zh"},
        {{"--simulate", "--login-wait", "-1", "read"}, "--login-wait needs"},
        {{"--simulate", "--login-wait", "nan", "read"}, "--login-wait needs"},
        {{"--simulate", "--login-wait", "5000", "read"}, "--login-wait needs"},
        {{"--simulate=nokia", "read"}, "no simulated unit called \"nokia\""},
        {{"--simulate=", "read"}, "no simulated unit called \"\""},
        {{"--simulate", "read", "extra"}, "usage: dtucfg [options] read"},
        {{"--simulate", "set"}, "usage: dtucfg [options] set"},
        {{"--simulate", "set", "NoEquals"}, "set takes NAME=VALUE"},
        {{"--simulate", "set", "=5"}, "set takes NAME=VALUE"},
        {{"--simulate", "apply"}, "usage: dtucfg [options] apply"},
        {{"--simulate", "apply", "a.cfg", "b.cfg"}, "usage: dtucfg [options] apply"},
        {{"--simulate", "apply", ""}, "must not be empty"},
        {{"--simulate", "save"}, "usage: dtucfg [options] save"},
        {{"--simulate", "version", "now"}, "usage: dtucfg [options] version"},
        {{"--simulate", "send"}, "usage: dtucfg [options] send"},
        {{"--simulate", "send", "ATI"}, "contains \"AT+\""},
        {{"--simulate", "send", "AT+A\r\nAT+B"}, "one line"},
        {{"--simulate", "version", "-o", "x.cfg"}, "-o belongs to read"},
        {{"--simulate", "read", "--verify"}, "--verify belongs to apply"},
        {{"--port", "/dev/x", "ports"}, "ports opens no port"},
    };
    for (const BadLine& c : cases) {
        const ParseResult r = ParseCommandLine(c.args);
        std::string line;
        for (const std::string& a : c.args) line += a + " ";
        EXPECT_FALSE(r.options) << line;
        EXPECT_NE(r.error.find(c.message), std::string::npos) << line << "-> " << r.error;
    }
}

TEST(RunDtucfg, ABadLineExitsWithTwoAndSaysWhy) {
    std::ostringstream out, err;
    const int code =
        RunDtucfg({"--simulate", "send", "ATI"}, Environment{"/nonexistent/", false}, out, err);
    EXPECT_EQ(code, kExitUsage);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(),
              "dtucfg: send takes a command that contains \"AT+\", not \"ATI\"\n"
              "Try \"dtucfg --help\".\n");
}

TEST(RunDtucfg, HelpListsEveryCommandAndExitsWithZero) {
    std::ostringstream out, err;
    EXPECT_EQ(RunDtucfg({"--help"}, Environment{"/nonexistent/", false}, out, err), kExitOk);
    EXPECT_EQ(err.str(), "");
    for (const char* command : {"ports", "read [-o FILE.cfg]", "set NAME=VALUE...",
                                "apply FILE.cfg [--verify]", "save FILE.cfg", "factory", "time",
                                "version", "sim", "csq", "netmode", "readlog", "quit", "send"}) {
        EXPECT_NE(out.str().find(std::string("\n  ") + command), std::string::npos) << command;
    }
}

TEST(RunDtucfg, AMissingSkinEndsWithOneBeforeAnyPortIsOpened) {
    std::ostringstream out, err;
    const int code = RunDtucfg({"--port", "/dev/null", "version"},
                               Environment{"/nonexistent/", false}, out, err);
    EXPECT_EQ(code, kExitInternal);
    EXPECT_NE(err.str().find("skin.xml"), std::string::npos) << err.str();
}

TEST(WorseExit, TheLowerFailureWins) {
    EXPECT_EQ(WorseExit(kExitOk, kExitOk), kExitOk);
    EXPECT_EQ(WorseExit(kExitOk, kExitVerify), kExitVerify);
    EXPECT_EQ(WorseExit(kExitRefused, kExitOk), kExitRefused);
    EXPECT_EQ(WorseExit(kExitVerify, kExitRefused), kExitRefused);
    EXPECT_EQ(WorseExit(kExitTimeout, kExitRefused), kExitTimeout);
}

}  // namespace
}  // namespace cli
