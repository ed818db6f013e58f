// Test support: a window that owns a link as the main window does, with a small form of the
// controls the link looks up and a language file whose every text is its own key (the log then
// reads "OpenNotice\r\n"; "PortGone" is followed by its port). Used by the link's tests and by
// the receive handler's fuzz target.
#pragma once

#include <string>
#include <vector>

#include "link/link.h"
#include "link/messages.h"
#include "ui/controls.h"

namespace devlink {

/// The link's inner state, for tests and fuzz targets only.
struct LinkTestAccess {
    static serial::PortIo& Port(Link& link) { return link.serialPort_; }
    static ReceiveText& Received(Link& link) { return link.rxBuffer_; }
    /// The exchange state as a number: -1 idle, 0 the handshake, else the job kind awaited.
    static int ExchangeState(const Link& link) {
        const ExpectedReply& state = link.expectedReply_;
        if (state.exchange == Exchange::kReply) return static_cast<int>(state.job);
        return state.exchange == Exchange::kHandshake ? 0 : -1;
    }
    static void SetExchangeState(Link& link, int state) {
        link.expectedReply_ = state < 0    ? kNoReply
                              : state == 0 ? kHandshakeReply
                                           : ReplyTo(static_cast<model::JobKind>(state));
    }
    static bool& LoggedIn(Link& link) { return link.loggedIn_; }
    static ui::Event& ReplyEvent(Link& link) { return link.replyEvent_; }
};

}  // namespace devlink

namespace devlink::testing {

/// What the link tells its observers, and when on the window's clock.
struct Events : LinkObserver {
    explicit Events(ui::Clock& c) : clock(c) {}
    void JobStarted(const model::WorkerJob&) override { started.push_back(clock.Now()); }
    void JobEnded(const model::WorkerJob& job, JobOutcome outcome, std::string_view) override {
        if (outcome == JobOutcome::kTimedOut) unanswered.push_back(job.line);
        outcomes.push_back(outcome);
        ended.push_back(clock.Now());
    }
    void WritesDone(const WriteTally& tally) override { tallies.push_back(tally); }
    void WorkerIdle() override { ++idle; }
    void PortLost(const std::vector<model::WorkerJob>& gone) override {
        ++lost;
        dropped = gone;
    }
    void ProgressChanged(const JobProgress& p) override { progress.push_back(p); }
    std::vector<ui::Millis> started, ended;  // when each job started and ended
    std::vector<std::string> unanswered;     // the lines of the jobs that timed out
    std::vector<JobOutcome> outcomes;
    std::vector<model::WorkerJob> dropped;
    std::vector<JobProgress> progress;
    std::vector<WriteTally> tallies;
    int idle = 0, lost = 0;
    ui::Clock& clock;
};

class HostWindow : public ui::Window, public LinkHost {
  public:
    explicit HostWindow(ui::Clock& clock);
    ~HostWindow() override {
        EndLoop();
        link.ShutDown();
    }

    std::intptr_t HandleMessage(const ui::Message& msg, bool& handled) override;
    void OnTimer(int id) override {
        if (id == kHandshakeTimer) link.OnHandshakeTimer();
        if (id == kReconnectTimer) link.OnReconnectTimer();
        if (id == kNoAnswerTimer) link.OnNoAnswerTimer();
    }

    ui::PaintManager& Form() override { return form; }
    const platform::LanguageTexts& Texts() const override { return texts_; }
    void AppendLog(std::string_view text) override { log.append(text); }
    void PostLogText(std::string_view text) override { LogTextMsg::Post(*this, text); }
    void ShowBox(const std::string&, const std::string&, platform::BoxIcon) override {}
    std::string ModelText() const override { return "7315"; }
    const std::string& RfModel() const override { return rfModel; }
    void RecordWrittenValue(const std::string& name, const std::string& value) override {
        written.emplace_back(name, value);
    }
    void SaveReportFile(std::string_view report) override {
        handedReports.push_back(savedReport = report);
    }
    void WriteLoadedConfiguration(std::string_view report) override {
        handedReports.push_back(loadedReport = report);
    }

    ui::Control* Find(std::string_view name) { return form.FindControl(name); }

    std::string log;
    std::vector<std::pair<std::string, std::string>> written;
    int reportsParsed = 0;
    /// The reports handed on: parsed, saved to a file or compared with a loaded one.
    std::vector<std::string> handedReports;
    std::string rfModel;
    std::string savedReport, loadedReport;  // what the finishing steps of the file jobs got
    /// While set, the port-lost notices wait here instead of reaching the link: a notice
    /// still on its way while the user closes the port and opens another.
    bool holdPortLost = false;
    std::vector<ui::Message> heldPortLost;
    ui::PaintManager form;
    Link link{*this, *this};

  private:
    platform::LanguageTexts texts_;
};

}  // namespace devlink::testing
