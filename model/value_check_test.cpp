// The checks of addresses, ports and ranges, against cases written from the rules of host
// names and dotted quads, not from the code.
#include "model/value_check.h"

#include "model/catalogue.h"

#include <gtest/gtest.h>

#include <string>

namespace model {
namespace {

struct Case {
    const char* row;
    std::string value;
    ValueProblem expected;
};

const Case kCases[] = {
    // Server addresses: a dotted quad or a host name.
    {"Server's Ip", "192.168.1.10", ValueProblem::kNone},
    {"Server's Ip", "0.0.0.0", ValueProblem::kNone},
    {"Server's Ip", "255.255.255.255", ValueProblem::kNone},
    {"Server's Ip", "dtu.example.com", ValueProblem::kNone},
    {"Server's Ip", "example.com.", ValueProblem::kNone},
    {"Server's Ip", "localhost", ValueProblem::kNone},
    {"Server's Ip", "a-b.c1", ValueProblem::kNone},
    {"Server's Ip", "3com.net", ValueProblem::kNone},
    {"Server's Ip", std::string(63, 'a') + ".cn", ValueProblem::kNone},
    {"Server's Ip", std::string(64, 'a') + ".cn", ValueProblem::kAddress},
    {"Server's Ip", "", ValueProblem::kAddress},
    {"Server's Ip", " ", ValueProblem::kAddress},
    {"Server's Ip", "1.2.3.4 ", ValueProblem::kAddress},
    {"Server's Ip", "my host.com", ValueProblem::kAddress},
    {"Server's Ip", "1.2.3", ValueProblem::kAddress},
    {"Server's Ip", "1.2.3.4.5", ValueProblem::kAddress},
    {"Server's Ip", "256.1.1.1", ValueProblem::kAddress},
    {"Server's Ip", "1.1.1.300", ValueProblem::kAddress},
    {"Server's Ip", "01.2.3.4", ValueProblem::kAddress},
    {"Server's Ip", "1.2.3.04", ValueProblem::kAddress},
    {"Server's Ip", "a..b", ValueProblem::kAddress},
    {"Server's Ip", ".a.com", ValueProblem::kAddress},
    {"Server's Ip", "-a.com", ValueProblem::kAddress},
    {"Server's Ip", "a-.com", ValueProblem::kAddress},
    {"Server's Ip", "a_b.com", ValueProblem::kAddress},
    {"Server's Ip", "1.2.3.-4", ValueProblem::kAddress},
    {"Server's Ip", "http://a.com", ValueProblem::kAddress},
    {"GPS Server's Ip", "1..2.3", ValueProblem::kAddress},
    {"dtu manage server's Ip", "manage.example.org", ValueProblem::kNone},
    // DNS servers are addresses only.
    {"Dns Server's Ip", "8.8.8.8", ValueProblem::kNone},
    {"Dns Server's Ip", "dns.google", ValueProblem::kIpv4},
    // Ports.
    {"Server's Port", "1", ValueProblem::kNone},
    {"Server's Port", "65535", ValueProblem::kNone},
    {"Server5's Port", "502", ValueProblem::kNone},
    {"Server's Port", "0", ValueProblem::kPort},
    {"Server's Port", "65536", ValueProblem::kPort},
    {"Server's Port", "99999999999999999999", ValueProblem::kPort},
    {"Server's Port", "abc", ValueProblem::kPort},
    {"Server's Port", "", ValueProblem::kPort},
    {"Server's Port", "80 ", ValueProblem::kPort},
    {"Server's Port", "+80", ValueProblem::kPort},
    {"Server's Port", "080", ValueProblem::kPort},
    {"ListenPort", "-1", ValueProblem::kPort},
    // Numbers with a range.
    {"Mobus address", "247", ValueProblem::kNone},
    {"Mobus address", "248", ValueProblem::kRange},
    {"Mobus address", "0", ValueProblem::kRange},
    {"NBBand", "65536", ValueProblem::kRange},
    // Fields of which nothing is known take anything.
    {"Access Point Name", "", ValueProblem::kNone},
    {"HeartbeatTime", "abc", ValueProblem::kNone},
};

TEST(ValueCheck, EachValueGetsTheProblemItsFieldHas) {
    for (const Case& c : kCases) {
        EXPECT_EQ(CheckFieldValue(c.row, c.value).problem, c.expected)
            << c.row << " = \"" << c.value << "\"";
    }
}

// A case that names no row would pass for a rule whose name has a typo.
TEST(ValueCheck, EveryFieldOfTheCasesIsARow) {
    ParamCatalogue catalogue;
    InitParamCatalogue(catalogue);
    for (const Case& c : kCases) EXPECT_NE(catalogue.Find(c.row), nullptr) << c.row;
}

TEST(ValueCheck, ARangeProblemNamesTheRange) {
    const ValueCheck check = CheckFieldValue("Mobus address", "300");
    EXPECT_EQ(check.low, 1);
    EXPECT_EQ(check.high, 247);
    EXPECT_EQ(CheckFieldValue("Server's Port", "0").high, 65535);
}

}  // namespace
}  // namespace model
