// The checks of addresses, ports and ranges, against cases written from the rules of host
// names and dotted quads, not from the code.
#include "model/value_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/catalogue.h"

namespace model {
namespace {

struct Case {
    const char* row;
    ValueProblem expected;
    std::vector<std::string> values;
};

using P = ValueProblem;
const std::string kLabel63 = std::string(63, 'a') + ".cn";
const std::string kLabel64 = std::string(64, 'a') + ".cn";

const Case kCases[] = {
    {"Server's Ip",
     P::kNone,
     {"192.168.1.10", "0.0.0.0", "255.255.255.255", "dtu.example.com", "example.com.", "localhost",
      "a-b.c1", "3com.net", kLabel63}},
    {"Server's Ip",
     P::kAddress,
     {kLabel64, "", " ", "1.2.3.4 ", "my host.com", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.1.1.300",
      "01.2.3.4", "1.2.3.04", "a..b", ".a.com", "-a.com", "a-.com", "a_b.com", "1.2.3.-4",
      "http://a.com"}},
    {"GPS Server's Ip", P::kAddress, {"1..2.3"}},
    {"dtu manage server's Ip", P::kNone, {"manage.example.org"}},
    // DNS servers are addresses only.
    {"Dns Server's Ip", P::kNone, {"8.8.8.8"}},
    {"Dns Server's Ip", P::kIpv4, {"dns.google"}},
    {"Server's Port", P::kNone, {"1", "65535", "502"}},
    {"Server's Port",
     P::kPort,
     {"0", "65536", "99999999999999999999", "abc", "", "80 ", "+80", "080", "-1"}},
    {"ListenPort", P::kPort, {"-1"}},
    {"Mobus address", P::kNone, {"1", "247"}},
    {"Mobus address", P::kRange, {"0", "248"}},
    {"NBBand", P::kRange, {"65536"}},
    // Fields of which nothing is known take anything.
    {"Access Point Name", P::kNone, {""}},
    {"HeartbeatTime", P::kNone, {"abc"}},
};

// A case that names no row would pass for a rule whose name has a typo.
TEST(ValueCheck, EachValueGetsTheProblemItsFieldHas) {
    ParamCatalogue catalogue;
    InitParamCatalogue(catalogue);
    for (const Case& c : kCases) {
        EXPECT_NE(catalogue.Find(c.row), nullptr) << c.row;
        for (const std::string& value : c.values) {
            EXPECT_EQ(CheckFieldValue(c.row, value).problem, c.expected)
                << c.row << " = \"" << value << "\"";
        }
    }
    const ValueCheck check = CheckFieldValue("Mobus address", "300");
    EXPECT_EQ(check.low, 1);
    EXPECT_EQ(check.high, 247);
    EXPECT_EQ(CheckFieldValue("Server's Port", "0").high, 65535);
}

}  // namespace
}  // namespace model
