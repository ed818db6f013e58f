// The exchange with a unit, end to end below the window: the link, its worker and its port
// against a simulated unit on a pseudo-terminal, on a manual clock; and the operations' lines.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cstring>

#include <algorithm>

#include "link/link_fixture_for_test.h"
#include "model/unit_lines.h"
#include "sim/command_table.h"
#include "sim/unit_state.h"

namespace devlink::testing {
namespace {

// A report ends only on the "OK" line after its listing: values that hold the result words
// neither end it early nor make it refused, for every job that reads one.
TEST_F(LinkTest, AReportWhoseValuesHoldResultWordsIsTakenWhole) {
    StartUnit({.chunked = true, .chunkSeed = 5});
    OpenAndLogIn();
    for (const char* value : {"OK", "ERROR", "OK\r\nERROR"}) {
        ASSERT_TRUE(unit->SetValue("Custom Register reply Info", value));
        ASSERT_TRUE(unit->SetValue("Access Point Name", value));
        for (const model::JobKind kind : {model::JobKind::kReadReport, model::JobKind::kSaveToFile,
                                          model::JobKind::kLoadFromFile}) {
            window.handedReports.clear();
            ASSERT_TRUE(Run(kind, model::kReportLine)) << value;
            ASSERT_EQ(window.handedReports.size(), 1u) << static_cast<int>(kind) << " " << value;
            const std::string& report = window.handedReports[0];
            // The sim's last row, then its closing line.
            EXPECT_EQ(
                Occurrences(report, "DTU SMS administrator number: 13900000000\r\n\r\nOK\r\n"), 1u)
                << static_cast<int>(kind) << " " << value;
            EXPECT_EQ(events.outcomes.back(), JobOutcome::kAcknowledged);
        }
    }
}

// A "Load" answered by a listing too short to be a whole report takes nothing and says so.
TEST_F(LinkTest, AReportTooShortIsNotTakenAndTheLogSaysSo) {
    StartUnit();
    for (const sim::UnitCommand& command : sim::UnitCommands()) {
        for (const std::string& label : command.labels) {
            if (label != "Access Point Name:") unit->DropLine(label.substr(0, label.size() - 1));
        }
    }
    OpenAndLogIn();
    ASSERT_TRUE(Run(model::JobKind::kReadReport, model::kReportLine));
    EXPECT_EQ(events.outcomes.back(), JobOutcome::kIncomplete);
    EXPECT_EQ(window.reportsParsed, 0);
    // Nor does the bar show it complete.
    const auto last = std::find_if(events.progress.rbegin(), events.progress.rend(),
                                   [](const JobProgress& p) { return p.active; });
    ASSERT_NE(last, events.progress.rend());
    EXPECT_LT(last->value, last->maximum);
    EXPECT_EQ(Logged("ReportIncomplete\r\n"), 1u);
}

// The adapter vanishes at the third of four writes: the link closes as the "Open" button would
// and says why, and the summary counts and names each write by what became of it, the one never
// sent included.
TEST_F(LinkTest, TheSummaryOfWritesCutByALostPortNamesTheOnesNeverSent) {
    StartUnit({.unplugAfterWrites = 3});
    OpenAndLogIn();
    const int idleBefore = events.idle;
    const size_t startedBefore = events.started.size();
    for (const char* name : {"a", "b", "c", "d"}) {
        window.link.QueueJob(model::JobKind::kWriteParam, std::string("AT+PORT=") + name + "\r\n",
                             name, name);
    }
    ASSERT_TRUE(Until([&] { return events.idle > idleBefore && !events.tallies.empty(); }));
    const WriteTally& tally = events.tallies.back();
    EXPECT_EQ(tally.acknowledged, 2);
    EXPECT_EQ(tally.notAnswered, std::vector<std::string>{"c"});
    EXPECT_EQ(tally.notSent, std::vector<std::string>{"d"});
    // The dropped write leaves the queue: nothing of it starts later.
    EXPECT_EQ(events.started.size() - startedBefore, 3u);
    EXPECT_EQ(window.link.QueuedJobs(), 0u);
    EXPECT_TRUE(Logged("2/4 silent: c unsent: d\r\n")) << window.log;
    EXPECT_EQ(events.lost, 1);
    EXPECT_TRUE(Logged("PortLost\r\nCloseNotice\r\n"));
    ASSERT_EQ(events.dropped.size(), 1u);
    EXPECT_EQ(events.dropped[0].paramName, "d");
    EXPECT_EQ(window.Find("Open")->GetText(), "Open");
    EXPECT_TRUE(Enabled("SerialPort"));
    EXPECT_FALSE(Enabled("Load"));
    EXPECT_EQ(window.Find("DeviceState")->GetText(), "closed");
}

// Each kind of job is answered, and finished: the clock reaches the unit as it reads it, the
// net mode reaches its field, the factory restore's OK reads the report again, a refused signal
// query is asked once more. The unit prints each result and its line end in two writes, as
// units often do: the job waits for the line end.
TEST_F(LinkTest, OperationsAreAnsweredAndFinishedWhenTheResultsLineEndComesLate) {
    StartUnit({.lateLineEndMs = 30});
    OpenAndLogIn();
    const struct {
        model::JobKind kind;
        std::string line;
        const char* notice;  // what the log says once it is answered, if anything
    } cases[] = {
        {model::JobKind::kVersion, std::string(model::kVersionLine), ""},
        {model::JobKind::kSim, std::string(model::kPinLine), ""},
        {model::JobKind::kReadLog, std::string(model::kReadLogLine), ""},
        {model::JobKind::kCommandButton, "AT+CSQ\r\n", ""},
        {model::JobKind::kNetMode, std::string(model::kNetModeLine), ""},
        {model::JobKind::kWriteParam, model::ClockLine("2027/03/01,07:05:09"), "SaveSuccess"},
        {model::JobKind::kFactory, std::string(model::kFactoryLine), "FactorySuccess"},
    };
    for (const auto& c : cases) {
        const size_t logBefore = window.log.size();
        ASSERT_TRUE(Run(c.kind, c.line)) << c.line;
        EXPECT_TRUE(!*c.notice || Occurrences(window.log.substr(logBefore), c.notice)) << c.line;
    }
    EXPECT_EQ(unit->ClockText(), "2027/03/01,07:05:09");
    EXPECT_EQ(window.reportsParsed, 1);
    unit->Refuse("AT+CSQ");
    ASSERT_TRUE(Run(model::JobKind::kSignal, model::kSignalLine));
    EXPECT_EQ(Occurrences(unit->Received(), model::kSignalLine), 2u);
    EXPECT_TRUE(events.unanswered.empty());
}

// The field takes at most 39 bytes after "+FINDNETMODE:" up to the line end, and only from an
// answer of at most 100 bytes.
TEST(NetModeAnswer, FillsTheFieldOnlyFromAShortAnswerWithItsMarkerAndLineEnd) {
    const struct {
        std::string reply;
        const char* field;  // what the field shows afterwards
    } cases[] = {
        {"\r\n+FINDNETMODE: LTE\r\nOK\r\n", " LTE"},
        {"\r\n+FINDNETMODE:" + std::string(45, 'x') + "\r\nOK\r\n", ""},
        {"\r\n+FINDNETMODE: LTE\r\n" + std::string(80, ' ') + "OK\r\n", "before"},
        {"\r\nNETMODE: LTE\r\nOK\r\n", "before"},
        {"\r\n+FINDNETMODE: LTE OK", "before"},
    };
    for (const auto& c : cases) {
        ui::ManualClock clock;
        HostWindow window(clock);
        ui::Control* field = window.Find("FINDNETMODE");
        field->SetText("before");
        const model::WorkerJob job{
            model::JobKind::kNetMode, std::string(model::kNetModeLine), {}, {}};
        JobStartMsg::Send(window, job);
        window.link.OnReceived(c.reply);
        JobFinishMsg::Send(window, job, true);
        const std::string expected = std::string(c.field).empty() ? std::string(39, 'x') : c.field;
        EXPECT_EQ(field->GetText(), expected) << c.reply;
    }
}

// The report that "SaveToFile" and "LoadFromFile" ask for is complete at its "OK", whichever
// chunk brings the listing's first label: the chunks before it are no answer yet.
TEST(FileReport, IsCompleteAtItsOkAlsoWhenTheFirstChunkEndsBeforeTheFirstLabel) {
    const std::string report = sim::UnitState(*sim::FindProfile("base")).Report();
    const size_t label = report.find("Access Point Name:");
    const size_t ok = report.find("OK");
    ASSERT_NE(label, std::string::npos);
    ASSERT_GT(ok, label);
    for (const model::JobKind kind : {model::JobKind::kSaveToFile, model::JobKind::kLoadFromFile}) {
        // Where the first chunk ends: after the first byte, before the label, inside it.
        for (const size_t cut : {size_t{1}, label, label + 6}) {
            ui::ManualClock clock;
            HostWindow window(clock);
            const model::WorkerJob job{kind, std::string(model::kReportLine), {}, {}};
            JobStartMsg::Send(window, job);
            const ui::Event& answered = LinkTestAccess::ReplyEvent(window.link);
            window.link.OnReceived(report.substr(0, cut));
            window.link.OnReceived(report.substr(cut, ok - cut));
            EXPECT_FALSE(answered.IsSet()) << static_cast<int>(kind) << " cut at " << cut;
            window.link.OnReceived(report.substr(ok));
            ASSERT_TRUE(answered.IsSet()) << static_cast<int>(kind) << " cut at " << cut;
            JobFinishMsg::Send(window, job, true);
            const std::string& handed =
                kind == model::JobKind::kSaveToFile ? window.savedReport : window.loadedReport;
            EXPECT_EQ(handed, report) << static_cast<int>(kind) << " cut at " << cut;
        }
    }
}

// The handshake brings a starting unit into configuration mode. Quit logs out; a restarting
// unit's prompt while logged out starts the handshake again; a unit that leaves configuration
// mode by itself logs out too.
TEST_F(LinkTest, TheHandshakeLogsInAndQuitOrTheUnitLeavingLogsOut) {
    StartUnit();
    Open();
    EXPECT_TRUE(Logged("OpenNotice\r\n"));
    EXPECT_EQ(window.Find("Open")->GetText(), "Close");
    EXPECT_TRUE(Enabled("Login"));
    EXPECT_FALSE(Enabled("SerialPort"));
    ASSERT_TRUE(Until([&] { return window.link.LoggedIn(); }));
    EXPECT_FALSE(window.HasTimer(kHandshakeTimer));
    EXPECT_EQ(window.link.ReceivedText(), "");
    loop.RunUntilIdle();
    EXPECT_EQ(window.Find("DeviceState")->GetText(), "on");
    EXPECT_TRUE(Enabled("Load"));
    EXPECT_FALSE(Enabled("Login"));
    // The handshake is the single byte "s", nothing else.
    EXPECT_EQ(unit->Received().find_first_not_of('s'), std::string::npos) << unit->Received();
    ASSERT_TRUE(Run(model::JobKind::kQuit, model::kQuitLine));
    EXPECT_FALSE(window.link.LoggedIn());
    EXPECT_FALSE(Enabled("Load"));
    EXPECT_TRUE(Enabled("Login"));
    EXPECT_EQ(window.Find("DeviceState")->GetText(), "off");
    unit->Restart();
    ASSERT_TRUE(Until([&] { return window.link.LoggedIn(); }));
    unit->SetIdleTimeout(std::chrono::milliseconds(0));  // from its next line on
    ASSERT_TRUE(Run(model::JobKind::kVersion, model::kVersionLine));
    EXPECT_TRUE(Until([&] { return !window.link.LoggedIn(); }));
    loop.RunUntilIdle();
    EXPECT_EQ(Logged("IdleLogout\r\n"), 1u) << window.log;  // why the buttons went grey
}

TEST_F(LinkTest, PortsThatCannotBeOpenedSayWhyAndStayClosed) {
    StartUnit();
    const int holder = ::open(unit->DevicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    Open();
    // The system's reason, then what it means here.
    EXPECT_EQ(window.log, "OpenError\r\n" + unit->DevicePath() + ": " + std::strerror(EAGAIN) +
                              "\r\nPortBusy\r\n");
    ::close(holder);
    window.log.clear();
    window.form.Find<ui::Combo>("BaudRate1")->AddItem("fast");
    Open("fast");
    EXPECT_EQ(window.log, "OpenError\r\nBadSettings\r\n");
    EXPECT_FALSE(window.link.PortOpen());
    EXPECT_EQ(window.Find("Open")->GetText(), "");
    EXPECT_FALSE(window.HasTimer(kHandshakeTimer));
}

// Time-outs on the manual clock: a silent unit answers nothing. The reads of a report wait
// 24 s, other jobs 5 s, both times 9600 divided by the speed (at least 1).
TEST_F(LinkTest, AJobTimesOutAfterItsLimitTimesTheFactorOfTheSpeed) {
    StartUnit({.silent = true});
    const struct {
        const char* baud;
        model::JobKind kind;
        std::string_view line;
        ui::Millis limit;
    } cases[] = {
        {"115200", model::JobKind::kSignal, model::kSignalLine, 5000},
        {"1200", model::JobKind::kSignal, model::kSignalLine, 40000},
        {"9600", model::JobKind::kReadReport, model::kReportLine, 24000},
        {"115200", model::JobKind::kReadLog, model::kReadLogLine, 24000},
    };
    for (const auto& c : cases) {
        Open(c.baud);
        window.link.QueueJob(c.kind, c.line);
        ASSERT_TRUE(Until([&] { return events.started.size() == 1; }));
        EXPECT_FALSE(window.HasTimer(kHandshakeTimer));  // the job stopped it
        // The worker waits for the reply, and the silent unit sends nothing: time may pass.
        ASSERT_TRUE(UntilWithoutTime([&] { return clock.Waiters() == 1; }));
        clock.Advance(c.limit - 100);
        ASSERT_TRUE(Until([&] { return !events.unanswered.empty(); }, 5000)) << c.line;
        const ui::Millis waited = events.ended.back() - events.started.back();
        EXPECT_GE(waited, c.limit) << c.line;
        EXPECT_LT(waited, c.limit + 2000) << c.line;  // not another kind's limit
        EXPECT_TRUE(Logged("OutTime\r\n"));
        EXPECT_FALSE(Enabled("Load"));  // never logged in
        Open();                         // closes
        events.started.clear();
        events.unanswered.clear();
    }
}

// Nothing answers the handshake or the login: when its time limit has passed (the login's,
// times the factor of the speed), the log says once what to check.
TEST_F(LinkTest, AHandshakeOrLoginWithoutAnswerIsLoggedAfterItsLimit) {
    StartUnit({.silent = true});
    const std::tuple<const char*, std::string_view, ui::Millis> cases[] = {
        {"115200", "NoAnswerOpen\r\n", 5000},
        {"1200", "NoAnswerOpen\r\n", 40000},
        {"115200", "NoAnswerLogin\r\n", 5000}};
    for (const auto& [baud, notice, limit] : cases) {
        Open(baud);
        if (notice.starts_with("NoAnswerLogin")) window.link.Login();
        window.log.clear();
        for (const auto& [wait, times] : {std::pair{limit - 1, 0u}, {1, 1u}, {limit * 2, 1u}}) {
            clock.Advance(wait);
            loop.RunUntilIdle();
            EXPECT_EQ(Logged(notice), times) << baud << window.log;  // once, when it is due
        }
        Open();  // closes
    }
}

TEST_F(LinkTest, NothingIsWrittenOnceTheWindowHasBegunToClose) {
    StartUnit();
    OpenAndLogIn();
    const size_t before = unit->Received().size();
    window.EndLoop();  // the window's destruction has begun
    window.link.QueueJob(model::JobKind::kVersion, model::kVersionLine);
    for (int step = 0; step < 2000 && window.link.QueuedJobs() != 0; ++step) {
        clock.Advance(5);
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    window.link.StopWorker();
    EXPECT_EQ(window.link.QueuedJobs(), 0u);
    EXPECT_EQ(unit->Received().substr(before).find("At+VER"), std::string::npos);
}

// At 9600 baud a report takes five seconds: the bar follows its bytes, passes its estimate
// if the report is longer, and completes with the report's "OK" also when it is shorter; idle,
// it is hidden.
TEST_F(LinkTest, TheProgressOfAReportReadFollowsItsBytes) {
    StartUnit({}, "base", /*paced=*/true);
    Open("9600");
    ASSERT_TRUE(Until([&] { return window.link.LoggedIn(); }));
    ASSERT_TRUE(unit->DropLine("Firmware version"));  // the report a little below the estimate
    for (const bool longer : {false, true}) {
        if (longer) {
            ASSERT_TRUE(unit->SetValue("AT+APN", std::string(90, 'a')));
        }
        loop.RunUntilIdle();
        events.progress.clear();
        const int idle = events.idle;
        window.link.QueueJob(model::JobKind::kReadReport, model::kReportLine);
        // No virtual time passes while the report streams in real time: no time-out.
        ASSERT_TRUE(UntilWithoutTime([&] { return events.idle > idle; }));
        const std::vector<JobProgress>& p = events.progress;
        ASSERT_GT(p.size(), 20u);  // it moves while the report comes
        EXPECT_EQ(p.front(), (JobProgress{true, 0, kReportSizeEstimate}));
        for (size_t i = 1; i + 1 < p.size(); ++i) {
            EXPECT_TRUE(p[i].active);
            EXPECT_GE(p[i].value, p[i - 1].value);
            EXPECT_LE(p[i].value, p[i].maximum);
            EXPECT_GE(p[i].maximum, kReportSizeEstimate);
        }
        const int size = static_cast<int>(window.link.ReceivedText().size());
        EXPECT_EQ(size > kReportSizeEstimate, longer) << size;
        EXPECT_EQ(p[p.size() - 2], (JobProgress{true, std::max(kReportSizeEstimate, size),
                                                std::max(kReportSizeEstimate, size)}));
        EXPECT_FALSE(p.back().active);
    }
    EXPECT_TRUE(Logged("send:\r\nAT+SHOW\r\n"));  // the line sent, in the log
}

// Writes, two of them refused: the bar counts the writes done of those queued, only the
// acknowledged ones are recorded, and one line sums them up when the worker is idle. The worker
// sleeps on the queue: a job queued while it is idle starts at once, and each job that follows
// another keeps the unit's gap of 100 ms.
// The unit's replies, the handshake's too, come in chunks of at most three bytes: an "OK" is
// often seen before its line end, and the summary comes after the last reply in the log.
TEST_F(LinkTest, WritesAreCountedAndSummedUp) {
    StartUnit({.chunked = true, .maxChunkBytes = 3});
    OpenAndLogIn();
    unit->Refuse("AT+PORT");
    loop.RunFor(1000);
    events.progress.clear();
    const int idle = events.idle;
    const ui::Millis queued = clock.Now();
    window.link.QueueJob(model::JobKind::kWriteParam, "AT+APN=internet\r\n", "Access Point Name",
                         "x");
    window.link.QueueJob(model::JobKind::kWriteParam, "AT+PORT=6000\r\n", "Server's Port", "6000");
    // Two rows asking for one line: both take the value the unit acknowledged.
    model::WorkerJob merged{model::JobKind::kWriteParam, "AT+IPAD=1.2.3.4\r\n", "Server's Ip",
                            "1.2.3.4"};
    merged.sameLineRows = {"Secondary Server's Ip"};
    window.link.QueueJob(merged);
    window.link.QueueJob(model::JobKind::kWriteParam, "AT+NOSUCH=1\r\n", "No such", "1");
    ASSERT_TRUE(UntilWithoutTime([&] { return events.started.size() == 1; }));
    EXPECT_EQ(events.started[0], queued);
    ASSERT_TRUE(Until([&] { return events.idle > idle; }));
    ASSERT_EQ(events.started.size(), 4u);
    for (size_t i = 1; i < 4; ++i) EXPECT_GE(events.started[i] - events.ended[i - 1], 100);
    std::vector<std::pair<int, int>> counts;
    for (const JobProgress& p : events.progress) {
        if (p.active) counts.emplace_back(p.value, p.maximum);
    }
    EXPECT_EQ(counts, (std::vector<std::pair<int, int>>{{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}}));
    EXPECT_FALSE(events.progress.back().active);
    loop.RunUntilIdle();
    using Written = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(window.written, (Written{{"Access Point Name", "x"},
                                       {"Server's Ip", "1.2.3.4"},
                                       {"Secondary Server's Ip", "1.2.3.4"}}));
    EXPECT_TRUE(Logged("ERROR\r\nSaveError\r\n\r\n2/4 refused: Server's Port, No such\r\n"))
        << window.log;
}

}  // namespace
}  // namespace devlink::testing
