// The plan before the writes (--dry-run), the comparison of configurations (diff), and the
// names a script may use: what is printed against what the unit then receives.
#include "cli/diff.h"
#include "cli/dtucfg_fixture_for_test.h"
#include "cli/output.h"
#include "model/config_file.h"
#include "sim/command_table.h"
#include "sim/random_state_for_test.h"

namespace cli::testing {
namespace {

/// Puts the random state of `seed` into the unit.
void Seed(sim::SimulatedUnit& u, const char* profile, std::uint32_t seed) {
    const sim::UnitState state = sim::testing::RandomUnitState(*sim::FindProfile(profile), seed);
    for (const sim::UnitCommand& command : sim::UnitCommands()) {
        if (const auto value = state.Value(command.command)) u.SetValue(command.command, *value);
    }
}

class Plan : public Dtucfg {
  protected:
    /// A unit of `profile` in the random state of `seed`.
    void StartSeeded(const char* profile, std::uint32_t seed, sim::UnitOptions options = {}) {
        Seed(StartUnit(profile, options), profile, seed);
    }
    /// Every parameter write the unit received, "At+PROMODE=" too.
    std::vector<std::string> AllWrites() const {
        std::vector<std::string> writes;
        std::ranges::copy_if(Lines(), std::back_inserter(writes), [](const std::string& line) {
            return line.size() > 3 && (line[0] | 0x20) == 'a' && (line[1] | 0x20) == 't' &&
                   line[2] == '+' && line.find('=') != std::string::npos;
        });
        return writes;
    }
    /// dtucfg without the unit's port.
    RunResult RunWithoutPort(std::vector<std::string> args) {
        std::unique_ptr<sim::SimulatedUnit> parked = std::move(unit);
        RunResult r = Run(std::move(args));
        unit = std::move(parked);
        return r;
    }
};

/// The lines a dry run printed: the last field of each line of its plan.
std::vector<std::string> PlannedLines(const std::string& out) {
    std::vector<std::string> lines;
    for (const std::string& line : ReplyLines(out)) {
        const size_t fields[] = {line.find('\t'), line.find('\t', line.find('\t') + 1)};
        const size_t last = line.find('\t', fields[1] + 1);
        lines.push_back(last == std::string::npos ? "(malformed) " + line : line.substr(last + 1));
    }
    return lines;
}

// Over random units of every model, some sending their answers in small pieces or the line
// ends of their OKs late: a unit's own file writes nothing back; another unit's file, and a
// field of the unit's own, are planned without a write, and the real run then sends exactly
// the lines the plan printed, one line for the field.
TEST_F(Plan, ADryRunWritesNothingAndPrintsWhatTheRealRunSends) {
    std::uint32_t seed = 70;
    for (const char* profile : {"base", "lora", "cdma", "bc35", "bg36", "7315_E"}) {
        ++seed;
        StartSeeded(profile, seed + 100);
        const std::string file = Path(std::string(profile) + ".cfg");
        ASSERT_EQ(Run({"save", file}).code, 0) << profile;
        EXPECT_EQ(Run({"apply", file}).code, 0) << profile;
        EXPECT_EQ(AllWrites(), std::vector<std::string>{}) << profile;
        const RunResult self = RunWithoutPort({"diff", file, file});
        EXPECT_EQ(std::make_pair(self.code, self.out), std::make_pair(0, std::string()));
        const std::string id = "1390000" + std::to_string(seed);
        const std::vector<std::vector<std::string>> commands = {
            {"apply", file}, {"set", "Modem'sID number=" + id, "--with-linked"}};
        for (std::vector<std::string> args : commands) {
            StartSeeded(profile, seed,
                        {.chunked = seed % 2 == 0,
                         .chunkSeed = seed,
                         .lateLineEndMs = seed % 3 == 0 ? 20 : 0});
            args.push_back("--dry-run");
            const RunResult dry = Run(args);
            EXPECT_TRUE(AllWrites().empty()) << profile << " " << args[0] << "\n" << Show(dry);
            args.pop_back();
            const RunResult real = Run(args);
            // A write the unit answers ERROR is beyond any plan; the rules' refusals are not.
            if (real.code != 6) {
                EXPECT_EQ(dry.code, real.code) << profile << "\n" << Show(real);
            }
            EXPECT_EQ(PlannedLines(dry.out), AllWrites()) << profile << " " << args[0];
            if (args[0] == "set") {
                EXPECT_EQ(AllWrites(), std::vector<std::string>{"AT+IDNT=" + id}) << profile;
            }
        }
    }
}

TEST_F(Dtucfg, ADryRunShowsTheUnitsValueTheNewOneAndTheLine) {
    StartUnit().SetValue("AT+PORT", "5001");
    RunResult r = Run({"set", "Server's Port=6000", "AT+APN=a\x1b[2Jb", "--dry-run"});
    ASSERT_EQ(r.code, 0) << Show(r);
    EXPECT_EQ(r.out,
              "Access Point Name\tcmnet\ta\\x1b[2Jb\tAT+APN=a\\x1b[2Jb\n"
              "Server's Port\t5001\t6000\tAT+PORT=6000\n");
    r = Run({"--json", "set", "Server's Port=6000", "--dry-run"});
    EXPECT_EQ(r.out, R"([{"name":"Server's Port","label":"Server's Port","old":"5001",)"
                     R"("new":"6000","line":"AT+PORT=6000"}])"
                     "\n");
    // The changes are reported; the same run again is a visible no-op.
    for (const char* changed : {"true", "false"}) {
        r = Run({"--json", "set", "Server's Port=6000"});
        EXPECT_TRUE(Has(r.out, std::string(R"("changed":)") + changed + "}")) << r.out;
    }
    StartUnit("bc35");  // refused as the real run refuses it
    r = Run({"set", "NBBand=70000", "Server's Ip=198.51.100.8", "--dry-run"});
    EXPECT_EQ(r.code, 2) << Show(r);
    EXPECT_TRUE(Has(r.err, "NB band is out of range")) << r.err;
    EXPECT_TRUE(Writes().empty());
}

// The names a script uses do not depend on the skin: an AT command stands for its row unless
// two rows send it, and a list item is named by its text in either language or its number.
TEST_F(Dtucfg, NamesAndItemsAreTakenInEitherSkin) {
    // The command line, its exit code, the writes the unit has received so far, part of err.
    const std::tuple<std::vector<std::string>, int, std::vector<std::string>, const char*> cases[] =
        {
            {{"set", "AT+APN=x.y"}, 0, {"AT+APN=x.y"}, ""},
            {{"set", "at+netmode=#1"}, 2, {"AT+APN=x.y"}, R"("NBNetModeCombo", "net mode")"},
            {{"--lang", "zh", "set", "Debug Level=All"}, 0, {"AT+APN=x.y", "AT+DEBUG=2"}, ""},
            {{"--lang", "en", "set", "Debug Level=关闭"},
             0,
             {"AT+APN=x.y", "AT+DEBUG=2", "AT+DEBUG=0"},
             ""},
        };
    StartUnit();
    for (const auto& [args, code, writes, err] : cases) {
        const RunResult r = Run(args);
        EXPECT_EQ(r.code, code) << Show(r);
        EXPECT_EQ(Writes(), writes) << Show(r);
        EXPECT_TRUE(Has(r.err, err)) << r.err;
    }
}

// A site's file and a unit's own identity in one login, one plan and one record; the named
// value wins over the file's.
TEST_F(Dtucfg, ApplyWithNamedValuesWritesBothInOnePlan) {
    StartUnit().SetValue("AT+PORT", "7000");
    const std::string site = Path("site.cfg");
    ASSERT_EQ(Run({"save", site}).code, 0);
    StartUnit();
    const std::string record = Path("runs.jsonl");
    const RunResult r = Run({"--record", record, "apply", site, "--set",
                             "Modem'sID number=13900000123", "--set", "AT+PORT=7001"});
    ASSERT_EQ(r.code, 0) << Show(r);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"AT+IDNT=13900000123", "AT+PORT=7001"}));
    EXPECT_EQ(Count("AT+SHOW"), 1u);
    const std::string lines = ReadFile(record);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines;
    EXPECT_TRUE(Has(lines, R"("line":"AT+IDNT=13900000123")") && Has(lines, "AT+PORT=7001"));
}

TEST(Diff, NamesEachRowThatDiffersAndMarksRowsOneSideLacks) {
    const std::string apn = "Access Point Name: cmnet\r\n";
    const std::string port = "\r\nServer's Port: 5001\r\n";
    // File A, file B, the lines of "diff A B".
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {apn + port, apn + port, ""},
        {apn + port, "Access Point Name: web\r\n" + port, "Access Point Name: cmnet -> web\n"},
        {apn + port, apn, "Server's Port: 5001 -> (none)\n"},
        {apn, apn + "\r\nModem's ID number: 1390\r\n", "Modem's ID number: (none) -> 1390\n"},
        {apn + "\r\nServer's Port: \r\n", apn + port, "Server's Port: \"\" -> 5001\n"},
        {"Access Point Name: a\r\n" + port, "Access Point Name: b\r\n",
         "Access Point Name: a -> b\nServer's Port: 5001 -> (none)\n"},
        // A bare line feed keeps the next row inside the value: still one line per difference.
        {apn + port, apn + "\r\nServer's Port: 5001\nX: 1\r\n",
         "Server's Port: 5001 -> 5001\\x0aX: 1\n"},
    };
    for (const auto& [a, b, expected] : cases) {
        EXPECT_EQ(FormatDiffText(DiffReports(*ReportRows(a), *ReportRows(b))), expected) << a << b;
    }
    EXPECT_FALSE(ReportRows("no listing\r\n"));
}

TEST_F(Dtucfg, DiffExitsAsDiffDoes) {
    ASSERT_TRUE(model::WriteConfigFile(Path("a.cfg"), "Access Point Name: a\r\n"));
    ASSERT_TRUE(model::WriteConfigFile(Path("b.cfg"), "Access Point Name: b\r\n"));
    RunResult r = Run({"--json", "diff", Path("a.cfg"), Path("b.cfg")});
    EXPECT_EQ(r.code, 1) << Show(r);
    EXPECT_EQ(r.out, R"([{"name":"Access Point Name","label":"Access Point Name","a":"a","b":"b"}])"
                     "\n");
    EXPECT_EQ(Run({"diff", Path("a.cfg"), Path("none.cfg")}).code, 7);
    StartUnit();  // the unit against its own file, then against another
    ASSERT_EQ(Run({"save", Path("unit.cfg")}).code, 0);
    r = Run({"diff", Path("unit.cfg")});
    EXPECT_EQ(std::make_pair(r.code, r.out), std::make_pair(0, std::string())) << Show(r);
    r = Run({"diff", Path("a.cfg")});
    EXPECT_EQ(r.code, 1) << Show(r);
    EXPECT_TRUE(Has(r.out, "Access Point Name: cmnet -> a\n")) << r.out;
    EXPECT_TRUE(Writes().empty());
}

}  // namespace
}  // namespace cli::testing
