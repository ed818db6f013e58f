// The link to the unit as the user-interface thread sees it: the port, the text received, the
// exchange in progress, the handshake, the job queue and its worker, and the operations the
// form's buttons start. Owned by the main window; everything here runs on the user-interface
// thread except QueueJob and what the worker does.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/button_state.h"
#include "link/job_queue.h"
#include "link/port_list.h"
#include "link/receive_text.h"
#include "model/unit_identity.h"
#include "model/worker_job.h"
#include "platform/dialogs.h"
#include "platform/language_texts.h"
#include "serial/line_settings.h"
#include "serial/port_io.h"
#include "ui/event.h"
#include "ui/paint_manager.h"
#include "ui/window.h"

namespace devlink {

class Worker;

/// How far the work in progress has come, for a progress bar: the bytes of a report received
/// of its expected size (passed when the report is longer, complete at its "OK"), or the
/// parameter writes done of those queued.
struct JobProgress {
    bool active = false;  ///< a report is read or parameters are written
    int value = 0;
    int maximum = 0;
    bool operator==(const JobProgress&) const = default;
};

/// The writes of one piece of work ("Save", "LoadFromFile", "RestoreFactory") from the first
/// job after the worker was idle to its next idleness, and how the unit answered them.
struct WriteTally {
    int acknowledged = 0;
    std::vector<std::string> refused;      ///< the names of the writes answered ERROR
    std::vector<std::string> notAnswered;  ///< the names of those without an answer
    std::vector<std::string> notSent;      ///< dropped unsent: the port was closed or lost
    int Total() const {
        return acknowledged +
               static_cast<int>(refused.size() + notAnswered.size() + notSent.size());
    }
};

/// How a job ended. Front ends act on this, never on the log's wording.
enum class JobOutcome {
    kAcknowledged,  ///< its result line was "OK" (a report: the listing up to its "OK" line)
    kRefused,       ///< its result line was "ERROR"
    kNoResult,      ///< the reply it waits for came without a result line
    kTimedOut,      ///< no reply it waits for within its time limit
    kIncomplete,    ///< a report too short to be one: not taken
};

/// What the link does when the port goes away, or the unit restarts, with writes not yet
/// acknowledged.
struct ReconnectPolicy {
    /// How long to wait for the adapter and the unit to come back, in ms: 0 does not wait
    /// (the lost port ends the work and its writes are not sent), kWaitWithoutLimit waits
    /// until the user cancels.
    ui::Millis limit = 0;
    /// Resume the kept writes on the same unit without asking the user.
    bool resumeUnasked = false;
};
constexpr ui::Millis kWaitWithoutLimit = -1;

/// The size of a unit's report as the bar expects it.
constexpr int kReportSizeEstimate = 4800;

/// What the link needs from the window that owns it.
class LinkHost {
  public:
    virtual ~LinkHost() = default;
    virtual ui::PaintManager& Form() = 0;
    virtual const platform::LanguageTexts& Texts() const = 0;
    /// Appends to the log view; user-interface thread.
    virtual void AppendLog(std::string_view text) = 0;
    /// Hands a text to the log view; any thread.
    virtual void PostLogText(std::string_view text) = 0;
    virtual void ShowBox(const std::string& text, const std::string& caption,
                         platform::BoxIcon icon) = 0;
    /// The model text that captions message boxes: "7315" or "7315_E".
    virtual std::string ModelText() const = 0;
    virtual const std::string& RfModel() const = 0;
    // Finishing steps that belong to the parameter model; user-interface thread.
    virtual void RecordWrittenValue(const std::string& name, const std::string& value) = 0;
    /// The unit's report asked for by "SaveToFile" arrived.
    virtual void SaveReportFile(std::string_view report) = 0;
    /// The unit's report asked for by "LoadFromFile" arrived: write what differs.
    virtual void WriteLoadedConfiguration(std::string_view unitReport) = 0;
    /// The unit the kept writes were meant for is back: whether to resume them now.
    virtual bool ConfirmResume(const std::string& /*question*/, const std::string& /*resume*/,
                               const std::string& /*later*/) {
        return false;
    }
    /// Shows how far the work in progress has come; hides the bar when it is not active.
    virtual void ShowProgress(const JobProgress& /*progress*/) {}
};

/// What a front end may watch the link do. Every call comes on the user-interface thread.
class LinkObserver {
  public:
    virtual ~LinkObserver() = default;
    virtual void JobStarted(const model::WorkerJob& /*job*/) {}
    /// The job ended, and how; `reply` is the text received for it. Called before the job's
    /// finishing step.
    virtual void JobEnded(const model::WorkerJob& /*job*/, JobOutcome /*outcome*/,
                          std::string_view /*reply*/) {}
    /// The worker has taken the last job of the queue and finished it.
    virtual void WorkerIdle() {}
    /// The open port went away; `dropped` were waiting and are never sent.
    virtual void PortLost(const std::vector<model::WorkerJob>& /*dropped*/) {}
    virtual void ProgressChanged(const JobProgress& /*progress*/) {}
    /// A piece of work that wrote parameters is done (its summary is in the log).
    virtual void WritesDone(const WriteTally& /*tally*/) {}
};

/// The exchange in progress: what the text received so far is tested for.
enum class Exchange {
    kIdle,       ///< nothing: what arrives is kept but not shown
    kHandshake,  ///< the unit's "enter setting!" while the handshake byte goes out
    kReply,      ///< the reply to a job (or to the login text) of a kind
};

struct ExpectedReply {
    Exchange exchange = Exchange::kIdle;
    model::JobKind job{};  ///< kReply: the kind whose reply is awaited
    bool operator==(const ExpectedReply&) const = default;
};

constexpr ExpectedReply kNoReply{};
constexpr ExpectedReply kHandshakeReply{Exchange::kHandshake};
constexpr ExpectedReply ReplyTo(model::JobKind kind) {
    return {Exchange::kReply, kind};
}

class Link {
  public:
    Link(ui::Window& window, LinkHost& host);
    ~Link();

    /// Starts the worker thread; false when it could not be created.
    bool StartWorker();
    /// Stops and joins the worker. The window's loop must have ended (sends return 0).
    void StopWorker();
    /// Stops the worker and closes the port; the window has begun to close.
    void ShutDown();

    /// `observer` is told what the link does until it is removed; it must outlive that.
    void AddObserver(LinkObserver* observer);
    void RemoveObserver(LinkObserver* observer);

    /// The port list "SerialPort" and the devices behind it; user-interface thread.
    PortChooser& Ports() { return ports_; }

    /// Handles the link's window messages; `handled` false for any other message.
    std::intptr_t HandleMessage(const ui::Message& msg, bool& handled);
    /// Tick of the handshake timer: writes the byte "s".
    void OnHandshakeTimer();
    /// The time limit of the login or the handshake has passed: when the unit has not taken
    /// the tool into configuration mode, the log says what to check.
    void OnNoAnswerTimer();

    // Operations started by the form.
    void OnStartCom();
    void Login();
    void SetTime();
    void SendDirect(std::string_view text);
    /// Queues a job; any thread.
    void QueueJob(model::JobKind kind, std::string_view line, std::string paramName = {},
                  std::string paramValue = {});
    void QueueJob(const model::WorkerJob& job);
    /// Enables or disables a group of controls (UM_BUTTON_STATE). The login group logs in or
    /// out; the connection group does that and shows the port opened or closed.
    void SetButtonState(bool enable, ButtonGroup group);
    /// Logs in or out: the state changes, then the controls that follow it.
    void SetLoggedIn(bool loggedIn);

    /// How a lost port or a restarted unit is dealt with; the window waits, dtucfg as told.
    void SetReconnectPolicy(const ReconnectPolicy& policy) { policy_ = policy; }
    /// Tick of the reconnection timer: looks for the adapter, then logs in.
    void OnReconnectTimer();
    /// True from a lost port (or a restarted unit) until its kept writes were resumed and
    /// answered, refused on another unit, or given up.
    bool Resuming() const { return resumeStage_ != ResumeStage::kNone; }
    /// The writes not acknowledged that wait for their unit, oldest first.
    const std::vector<model::WorkerJob>& KeptWrites() const { return kept_; }
    /// How often the port was opened again after it was lost.
    int Reconnects() const { return reconnects_; }

    /// The receive handler: one chunk from the port.
    void OnReceived(std::string_view chunk);

    // What the front ends may read; user-interface thread unless said otherwise.
    bool PortOpen() const { return serialPort_.IsOpen(); }
    const std::string& PortPath() const { return serialPort_.Path(); }
    /// Why the last opening failed (errno), 0 when it did not.
    int LastOpenError() const { return serialPort_.LastOpenError(); }
    bool LoggedIn() const { return loggedIn_; }
    int TimeoutFactor() const { return timeoutFactor_; }
    /// The text received since the exchange in progress began.
    std::string_view ReceivedText() const { return rxBuffer_.View(); }
    /// Any thread.
    size_t QueuedJobs() const { return jobQueue_.Size(); }
    std::vector<model::WorkerJob> PendingJobs() const { return jobQueue_.Pending(); }

  private:
    friend class Worker;
    friend struct JobSteps;
    friend struct ReplyActions;
    friend struct LinkTestAccess;  // test support and fuzz targets only
    /// Closes the port and drops the jobs not yet started; returns those.
    std::vector<model::WorkerJob> CloseLink(std::string_view noticeKey);
    void ApplyReplyRules();
    bool ReportAwaited() const;
    /// Arms the no-answer timer for the login's time limit; `noAnswerKey` is the notice then.
    void WaitForAnswer(std::string_view noAnswerKey);
    void OnPortLost(std::uint64_t generation);
    bool OpenPort(const std::string& path, const serial::LineSettings& settings);
    // Resuming the writes a lost port or a restart left unacknowledged (resume.cpp).
    enum class ResumeStage { kNone, kWaitingForAdapter, kLoggingIn, kChecking, kResuming };
    void KeepUnacknowledged();
    void WaitForAdapter();
    void OnUnitRestarted();
    void AfterLogin();
    /// A job's end as the kept writes see it; false when the job ended unanswered after it was
    /// kept (it is sent again on resuming and counts nowhere yet).
    bool SettleKeptJob(const model::WorkerJob& job, JobOutcome outcome);
    void CheckUnit(JobOutcome outcome);
    void ResumeKept();
    void GiveUpResume(std::string_view noticeKey);
    void ShowResumeState();
    std::string ResumeText(std::string_view key) const;
    std::intptr_t OnJobStart(const model::WorkerJob& job);
    void OnJobFinish(const model::WorkerJob& job, bool answered);
    void OnWorkerIdle();
    // The progress bar and the summary of the writes (job_progress.cpp).
    void ProgressAtStart(const model::WorkerJob& job);
    void ProgressOnReceived();
    void ProgressAtFinish(const model::WorkerJob& job, JobOutcome outcome);
    /// Counts the parameter writes of `dropped` as never sent.
    void TallyNotSent(const std::vector<model::WorkerJob>& dropped);
    JobOutcome OutcomeOf(const model::WorkerJob& job, bool answered) const;
    void ProgressAtIdle();
    void SetProgress(const JobProgress& progress);
    std::string SummaryLine() const;
    template <class Call>
    void Tell(Call call) {
        for (LinkObserver* observer : observers_) call(*observer);
    }
    std::string Text(std::string_view section, std::string_view key,
                     std::string_view suffix = {}) const {
        return host_.Texts().LoadText(section, key, suffix);
    }

    ui::Window& window_;
    LinkHost& host_;
    std::unique_ptr<serial::PortListener> portListener_;  // posts the port's news to the window
    std::unique_ptr<serial::PortIo> ownPort_;             // the system's serial port
    serial::PortIo& serialPort_;                          // all the link uses of it
    PortChooser ports_;
    ReceiveText rxBuffer_;
    ExpectedReply expectedReply_ = kNoReply;
    ui::Event replyEvent_;  // set here, waited on by the worker
    bool loggedIn_ = false;
    std::string_view noAnswerKey_;  // the notice of the no-answer timer
    int timeoutFactor_ = 1;
    JobQueue jobQueue_;  // any thread
    std::vector<LinkObserver*> observers_;
    JobProgress progress_;
    int writesDone_ = 0;
    WriteTally tally_;

    ReconnectPolicy policy_;
    ResumeStage resumeStage_ = ResumeStage::kNone;
    std::vector<model::WorkerJob> kept_;        // not acknowledged, waiting for their unit
    model::UnitIdentity keptFor_;               // the unit they were meant for
    model::UnitIdentity unitIdentity_;          // from the last whole report
    std::optional<model::WorkerJob> inFlight_;  // the job between its start and its end
    bool inFlightAbandoned_ = false;            // its line went away or the unit restarted
    std::string sentKeptLine_;  // the kept write that went out before the line went away
    std::string openedPath_;
    std::optional<serial::LineSettings> openedSettings_;
    std::string reopenPath_;         // the adapter's stable name when it has one
    ui::Millis resumeDeadline_ = 0;  // 0: none
    ui::Millis nextLoginAt_ = 0;
    int reconnects_ = 0;

    std::unique_ptr<Worker> worker_;
};

/// "yyyy/mm/dd,hh:mm:ss" of the local time `t` (seconds since the epoch).
std::string MakeClockText(long long t);
/// The SIM query for the radio module: the PIN state on BG36 and BG96, the IMSI otherwise.
std::string_view SimQueryLine(std::string_view rfModel);

}  // namespace devlink
