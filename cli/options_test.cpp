#include "cli/options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "cli/exit_codes.h"
#include "cli/run.h"

namespace cli {
namespace {

TEST(ParseCommandLine, ReadsEveryOptionAndTheCommandsArguments) {
    const Options o =
        ParseCommandLine({"--port=/dev/ttyS1", "--baud", "9600", "--format", "7E1", "--lang", "zh",
                          "--login-wait", "0.5", "--json", "--verbose", "--record", "r.jsonl",
                          "apply", "f.cfg", "--verify"})
            .options.value();
    EXPECT_EQ(std::tie(o.port, o.baud, o.format, o.languageCode, o.recordPath, o.command),
              std::make_tuple(std::string("/dev/ttyS1"), 9600, std::string("7E1"), 1,
                              std::string("r.jsonl"), std::string("apply")));
    EXPECT_EQ(o.arguments, std::vector<std::string>{"f.cfg"});
    EXPECT_DOUBLE_EQ(o.loginWaitSeconds, 0.5);
    EXPECT_TRUE(o.json && o.verbose && o.verify && !o.simulate);
    EXPECT_TRUE(
        ParseCommandLine({"--simulate", "set", "A=1", "--with-linked"}).options.value().withLinked);
    const Options d =
        ParseCommandLine({"read", "-o", "out.cfg", "--simulate=cdma"}).options.value();
    EXPECT_EQ(std::tie(d.baud, d.format, d.languageCode, d.simulateProfile, d.outputPath),
              std::make_tuple(115200, std::string("8N1"), -1, std::string("cdma"),
                              std::string("out.cfg")));
    // "-x=1" after "--" is an argument: a NAME=VALUE with the name "-x".
    EXPECT_EQ(ParseCommandLine({"--port", "/dev/x", "set", "A=1", "C=", "--", "-x=1"})
                  .options.value()
                  .arguments,
              (std::vector<std::string>{"A=1", "C=", "-x=1"}));
}

// One line per way of failing: the refusals of one check are not repeated.
TEST(ParseCommandLine, RefusesBadLinesWithAReason) {
    // The command line, part of the error text.
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--simulate"}, "no command"},
        {{"--bogus", "ports"}, "unknown option \"--bogus\""},
        {{"read"}, "no port"},
        {{"--port", "/dev/x", "--simulate", "read"}, "not both"},
        {{"--port"}, "--port needs a value"},
        {{"--port=", "read"}, "--port needs a value"},
        {{"--simulate", "--baud", "9600x", "read"}, "--baud needs a positive whole number"},
        {{"--simulate", "--baud", "0", "read"}, "--baud needs a positive whole number"},
        {{"--simulate", "--lang", "fr", "read"}, "--lang is en or zh"},
        {{"--simulate", "--login-wait", "nan", "read"}, "--login-wait needs"},
        {{"--simulate", "--login-wait", "5000", "read"}, "--login-wait needs"},
        {{"--simulate=nokia", "read"}, "no simulated unit called \"nokia\""},
        {{"--simulate", "set"}, "usage: dtucfg [options] set"},
        {{"--simulate", "apply", "a.cfg", "b.cfg"}, "usage: dtucfg [options] apply"},
        {{"--simulate", "set", "NoEquals"}, "set takes NAME=VALUE"},
        {{"--simulate", "set", "=5"}, "set takes NAME=VALUE"},
        {{"--simulate", "apply", ""}, "must not be empty"},
        {{"--simulate", "send", "ATI"}, "contains \"AT+\""},
        {{"--simulate", "send", "AT+A\r\nAT+B"}, "one line"},
        {{"--simulate", "version", "-o", "x.cfg"}, "-o belongs to read"},
        {{"--simulate", "read", "--verify"}, "--verify belongs to apply"},
        {{"--simulate", "apply", "a.cfg", "--with-linked"}, "--with-linked belongs to set"},
        {{"--simulate", "apply", "a.cfg", "--force"}, "--force belongs to set"},
        {{"--port", "/dev/x", "ports"}, "ports opens no port"},
        {{"--simulate", "read", "--dry-run"}, "--dry-run belongs to set and apply"},
        {{"--simulate", "set", "A=1", "--set", "B=2"}, "--set belongs to apply"},
        {{"--simulate", "apply", "a.cfg", "--set", "B"}, "set takes NAME=VALUE"},
        {{"--simulate", "diff", "a.cfg", "b.cfg"}, "diff of two files opens no port"},
        {{"diff", "a.cfg"}, "no port"},
    };
    for (const auto& [args, message] : cases) {
        const ParseResult r = ParseCommandLine(args);
        EXPECT_FALSE(r.options) << ::testing::PrintToString(args);
        EXPECT_NE(r.error.find(message), std::string::npos) << message << " -> " << r.error;
    }
}

// Help needs no skin; a command that needs one fails before it opens a port.
TEST(RunDtucfg, HelpNeedsNoSkinAndAMissingSkinEndsWithOne) {
    const Environment noSkin{"/nonexistent/", false};
    std::ostringstream out, err, out2, err2;
    EXPECT_EQ(RunDtucfg({"--help"}, noSkin, out, err), kExitOk);
    EXPECT_EQ(out.str(), UsageText());
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(RunDtucfg({"--port", "/dev/null", "version"}, noSkin, out2, err2), kExitInternal);
    EXPECT_NE(err2.str().find("skin.xml"), std::string::npos) << err2.str();
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
