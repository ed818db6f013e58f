// dtucfg against a unit that goes away mid-write: the adapter pulled and plugged back behind
// the same link, the unit restarting, a different unit coming back, or nothing coming back.
// Each case runs on a steady line and on one that cuts every answer into random small chunks.
// The oracle is the simulated unit's own memory and the lines it received.
#include <unistd.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "cli/dtucfg_fixture_for_test.h"

namespace cli::testing {
namespace {

// Seven writes, in the order "set" sends them (the catalogue's order of the rows).
const std::pair<std::string, std::string> kNewValues[] = {
    {"AT+APN", "apn9"},    {"AT+CENT", "13900000009"}, {"AT+POLLTIME", "69"}, {"AT+RETRY", "9"},
    {"AT+TCPMTU", "1409"}, {"AT+IPAD", "10.0.0.9"},    {"AT+PORT", "6009"},
};
constexpr size_t kVanishAt = 4;  // the unit goes away as this write arrives

enum class Comeback { kSameUnit, kRestart, kOtherUnit, kNever };

struct Case {
    const char* name;
    Comeback comeback;
    const char* reconnectSeconds;
    int exitCode;
};

class Reconnect : public Dtucfg {
  protected:
    std::string link = Path("unit");

    std::vector<std::string> SetArgs(const char* reconnectSeconds) const {
        std::vector<std::string> args = {"--reconnect", reconnectSeconds, "set"};
        for (const auto& [command, value] : kNewValues) args.push_back(command + "=" + value);
        return args;
    }
    /// Every write line the unit received, each with how often.
    std::map<std::string, int> WriteCounts(size_t fromLine = 0) const {
        std::map<std::string, int> counts;
        const std::vector<std::string> lines = unit->ReceivedLines();
        for (size_t i = fromLine; i < lines.size(); ++i) {
            const size_t at = lines[i].find("AT+");  // after handshake bytes or "+++"
            if (at != std::string::npos && lines[i].find('=') != std::string::npos) {
                ++counts[lines[i].substr(at)];
            }
        }
        return counts;
    }
};

// Waits (an upper bound only) until the unit's line is gone, then changes it and plugs it back.
std::thread ReplugAsAnotherUnit(sim::SimulatedUnit& unit, const std::string& link,
                                size_t& linesBefore) {
    return std::thread([&unit, link, &linesBefore] {
        for (int tries = 0; tries < 4000 && access(link.c_str(), F_OK) == 0; ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        unit.SetValue("AT+IDNT", "13900000999");
        linesBefore = unit.ReceivedLines().size();
        unit.Replug();
    });
}

TEST_F(Reconnect, WritesResumeOnlyOnTheSameUnitAndEachIsTakenOnce) {
    const Case cases[] = {
        {"pulled, back in time", Comeback::kSameUnit, "20", 0},
        {"restarts mid-write", Comeback::kRestart, "0", 0},
        {"another unit comes back", Comeback::kOtherUnit, "20", 3},
        {"nothing comes back", Comeback::kNever, "1", 3},
    };
    for (const Case& c : cases) {
        for (const bool chunked : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (chunked ? ", chunked" : ""));
            sim::UnitOptions options{.chunked = chunked, .maxChunkBytes = 16, .linkPath = link};
            options.chunkSeed = static_cast<std::uint32_t>(c.comeback) + 11;
            if (c.comeback == Comeback::kRestart) {
                options.restartAfterWrites = kVanishAt;
            } else {
                options.unplugAfterWrites = kVanishAt;
            }
            if (c.comeback == Comeback::kSameUnit) options.returnAfterMs = 300;
            StartUnit("base", options);
            port = link;
            size_t linesBefore = 0;
            std::thread other;
            if (c.comeback == Comeback::kOtherUnit) {
                other = ReplugAsAnotherUnit(*unit, link, linesBefore);
            }
            const RunResult r = Run(SetArgs(c.reconnectSeconds));
            if (other.joinable()) other.join();
            ASSERT_EQ(r.code, c.exitCode) << Show(r);

            const std::map<std::string, int> counts = WriteCounts();
            size_t index = 0;
            for (const auto& [command, value] : kNewValues) {
                ++index;
                const bool before = index < kVanishAt;
                const bool stored = c.exitCode == 0 || before;
                EXPECT_EQ(unit->Value(command) == value, stored) << command;
                // Each line went out once; the one the unit went away at, at most twice.
                const auto found = counts.find(command + "=" + value);
                const int sent = found == counts.end() ? 0 : found->second;
                const int most = index == kVanishAt && c.exitCode == 0 ? 2 : 1;
                EXPECT_LE(sent, most) << command;
                EXPECT_GE(sent, stored ? 1 : 0) << command;
                if (c.exitCode != 0 && index > kVanishAt) {
                    EXPECT_TRUE(Has(r.err, "not sent: " + command + "=" + value)) << Show(r);
                }
            }
            if (c.comeback == Comeback::kOtherUnit) {
                EXPECT_TRUE(WriteCounts(linesBefore).empty()) << "written to another unit";
            }
            unit.reset();
        }
    }
}

}  // namespace
}  // namespace cli::testing
