// One run of dtucfg against one unit: the main window built from the skin on the headless
// loop and the real clock, driven through the events a user raises (clicks, item selections,
// typed text). All frame-driving code lives here; the commands only say what to do.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/frame_wnd.h"
#include "cli/cli_dialogs.h"
#include "cli/progress.h"
#include "cli/run_recorder.h"
#include "ui/clock.h"
#include "ui/headless_loop.h"

namespace cli {

struct SessionSettings {
    app::FrameSettings frame;  ///< where the settings and skins are, and the language
    std::string port;          ///< the device path to open
    int baud = 115200;
    std::string format = "8N1";
    double loginWaitSeconds = 3.0;
    double reconnectSeconds = 0;  ///< how long a lost port or a restarted unit is waited for
    bool verbose = false;         ///< echo the log view to the error stream
    bool progress = false;        ///< show progress on the error stream (a terminal)
    ui::Clock* clock = nullptr;   ///< the window's clock; the real one when null
};

/// Where the record of the run stood before an action: what came after it is the action's.
struct Mark {
    size_t jobs = 0;          ///< RunRecorder::Jobs().size()
    size_t log = 0;           ///< RunRecorder::LogText().size()
    size_t refusals = 0;      ///< RunRecorder::Refusals().size()
    size_t fileFailures = 0;  ///< RunRecorder::FileFailures().size()
    int portLosses = 0;       ///< RunRecorder::PortLosses()
};

/// What a Save would queue now, found by running the form's write walk without queueing.
struct WritePreview {
    std::vector<model::WorkerJob> jobs;
    std::string notices;  ///< what the walk would log (the refusals of the form)
    std::vector<model::WriteRefusal> refusals;
};

class Session {
  public:
    /// Failures and message boxes go to `err`.
    Session(SessionSettings settings, std::ostream& err);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    /// Builds the window from the skin of the language and starts the worker. False, with the
    /// reason in `error`, when the skin cannot be built or the worker cannot start.
    bool Create(std::string& error);

    /// Chooses the port, speed and format, clicks "Open" and waits for the handshake; after
    /// the login wait without it, clicks "Login" and waits again. Returns kExitOk, kExitUsage
    /// (speed or format not in the form's lists), kExitPort (with the log's reason on the
    /// error stream) or kExitLogin.
    int OpenAndLogIn();
    /// Clicks "Open" again when the port is open, which closes it.
    void Close();

    /// Clicks the named button and waits until the worker is idle again. Returns kExitOk,
    /// kExitLogin when the button cannot be clicked (not in configuration mode), or
    /// kExitTimeout when the worker shows no sign of life for far longer than a job may take.
    int ClickAndWait(std::string_view button);
    /// Clicks "SaveToFile" or "LoadFromFile" with the file dialog answering `path`, and waits.
    int FileActionAndWait(std::string_view button, const std::string& path);
    /// Clicks a button named `line`, as the form's command buttons are, and waits.
    int SendCommandAndWait(const std::string& line);
    /// Moves the focus to the named control (and away again), and waits.
    int FocusAndWait(std::string_view name);
    /// Reads the unit's report ("Load") and lets the form settle. kExitTimeout also when the
    /// answer was not a whole report.
    int Load();

    /// Types `text` into an edit field as a user: focus in, text, focus out.
    void TypeText(ui::Control& field, const std::string& text);
    /// Runs every queued message (the form's adaptation) until none is left.
    void Settle();
    /// The writes a click on "Save" would queue now (only those of `onlyRows` when given, as
    /// for a configuration file); queues nothing.
    WritePreview PreviewSave(const std::set<std::string>* onlyRows = nullptr);
    /// Runs `action`, which must queue at least one job, and waits as ClickAndWait.
    int RunAndWait(const std::function<void()>& action);
    /// The drop-down `name` of the other language's skin, built when first asked for; null
    /// when that skin or list is missing.
    const ui::Combo* OtherSkinList(std::string_view name);

    Mark MarkNow() const;
    /// The notice `key` of `section` as the log shows it (with CR LF); empty when missing.
    std::string Notice(std::string_view section, std::string_view key) const;

    app::CK4X30FrameWnd& Frame() { return *frame_; }
    const app::CK4X30FrameWnd& Frame() const { return *frame_; }
    const RunRecorder& Record() const { return recorder_; }
    CommandLineDialogs& Dialogs() { return dialogs_; }
    const CommandLineDialogs& Dialogs() const { return dialogs_; }
    const SessionSettings& Settings() const { return settings_; }

  private:
    int SelectConnection();
    bool ClickNow(std::string_view button);
    int WaitUntilIdle(std::uint64_t idleMark, const Mark& mark);
    ui::Clock& Clock() const { return settings_.clock ? *settings_.clock : ui::RealClock(); }
    bool WaitForLogin(double seconds);
    /// The progress of the work in progress, as the window's bar counts it.
    void ShowProgress();
    /// The summary of each piece of work that wrote parameters since `from`.
    void PrintSummaries(size_t from);

    SessionSettings settings_;
    std::ostream& err_;
    CommandLineDialogs dialogs_;
    Progress progress_;
    RunRecorder recorder_;
    std::unique_ptr<app::CK4X30FrameWnd> frame_;
    std::unique_ptr<ui::HeadlessLoop> loop_;
    std::unique_ptr<app::CK4X30FrameWnd> otherSkin_;  ///< only its lists are read
    bool otherSkinTried_ = false;
};

}  // namespace cli
