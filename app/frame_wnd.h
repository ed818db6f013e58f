// The one main window. It owns what the program needs for its whole life (the catalogue,
// the page table, the control tree) and routes window messages and control events to the
// layers that do the work; it holds no rules of its own.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "link/link.h"
#include "model/catalogue.h"
#include "model/command_builder.h"
#include "model/page_table.h"
#include "model/report_parser.h"
#include "model/write_plan.h"
#include "platform/dialogs.h"
#include "platform/language_texts.h"
#include "ui/controls.h"
#include "ui/paint_manager.h"
#include "ui/window.h"

namespace app {

/// What the frame asks of the screen that shows it (the Qt window, or nothing headless).
class FrameScreen {
  public:
    virtual ~FrameScreen() = default;
    /// Carries out SC_MINIMIZE, SC_MAXIMIZE or SC_RESTORE.
    virtual void SystemCommand(std::uintptr_t command) = 0;
    virtual bool IsMaximized() const = 0;
    virtual void Hide() = 0;
};

struct FrameSettings {
    int languageCode = 0;                 // 0 English, other values Chinese
    std::string programFolder;            // ends with '/'; holds "config.ini" (see LocateFiles)
    std::string dataFolder;               // ends with '/'; holds the skins
    std::string programPath;              // started anew by a language switch
    std::vector<std::string> args;        // the command line, passed on to the new instance
    std::vector<std::string> extraPorts;  // device paths listed besides the discovered ones
};

/// What a front end may watch the window do: the link's jobs, and what the log shows and when
/// a report fills the form. Every call comes on the user-interface thread.
class FrameObserver : public devlink::LinkObserver {
  public:
    virtual void LogAppended(std::string_view /*text*/) {}
    virtual void ReportParsed() {}
    /// A walk of "Save" (or of a configuration file) refused to write a changed row.
    virtual void WriteRefused(const model::WriteRefusal& /*refusal*/) {}
    /// A configuration file could not be read ("LoadFromFile") or written ("SaveToFile").
    virtual void FileFailed(bool /*writing*/) {}
};

class PlanWatch;

constexpr std::intptr_t HTCLIENT = 1;
constexpr std::intptr_t HTCAPTION = 2;

class CK4X30FrameWnd : public ui::Window,
                       public ui::INotifyUI,
                       public devlink::LinkHost,
                       public model::FormHooks {
  public:
    CK4X30FrameWnd(ui::Clock& clock, platform::Dialogs& dialogs, FrameSettings settings);
    ~CK4X30FrameWnd() override;

    /// Builds "skin.xml" of the resource path and initialises the window. False, with the
    /// reason in `error`, when the layout cannot be built or has no log view "richedit".
    bool Create(std::string& error);
    void SetScreen(FrameScreen* screen) { screen_ = screen; }
    /// `observer` is told what the window and its link do until it is removed.
    void AddObserver(FrameObserver* observer);
    void RemoveObserver(FrameObserver* observer);
    /// Ends the loop (so sends from other threads return 0), then stops the worker and the
    /// port's thread: after this no other thread reaches the window. The loop's owner calls
    /// it before the loop goes away; the destructor calls it too.
    void ShutDown();

    std::intptr_t HandleMessage(const ui::Message& msg, bool& handled) override;
    void OnTimer(int id) override;
    void Notify(ui::TNotifyUI& msg) override;

    /// Appends to the log view; user-interface thread only.
    void AppendLog(std::string_view text) override;
    /// Hands a text to the log view from any thread.
    void PostLogText(std::string_view text) override;
    std::string LoadText(std::string_view section, std::string_view key,
                         std::string_view suffix = {}) const {
        return texts.LoadText(section, key, suffix);
    }
    /// A notice in a message box with the model text as caption.
    void ShowNotice(const std::string& text);
    // What the link asks of the window.
    ui::PaintManager& Form() override { return paintManager; }
    const platform::LanguageTexts& Texts() const override { return texts; }
    void ShowBox(const std::string& text, const std::string& caption,
                 platform::BoxIcon icon) override;
    std::string ModelText() const override { return baseModel ? "7315" : "7315_E"; }
    const std::string& RfModel() const override { return rfModel; }
    void RecordWrittenValue(const std::string& name, const std::string& value) override;
    void SaveReportFile(std::string_view report) override;
    void WriteLoadedConfiguration(std::string_view unitReport) override;
    bool ConfirmResume(const std::string& question, const std::string& resume,
                       const std::string& later) override;
    void ShowProgress(const devlink::JobProgress& progress) override;

    // What filling the form from a report asks of the window.
    void SetLayoutVisible(std::string_view name, bool visible) override;
    void RefreshTitle() override { RefreshTitleLabels(); }
    void UpdatePageTabs(int mode) override;
    void PostAdaptForm(model::AdaptCase adaptCase, int param) override;

    /// Runs one form adaptation case (UM_ADAPT_FORM).
    void AdaptForm(model::AdaptCase adaptCase, int param);
    /// Extracts the values of the report `text` and fills the form; the extraction's result.
    int ParseReport(std::string_view text);
    /// Fills the form from the rows' values.
    void ApplyReport();
    /// Fills the form and runs at once the adaptations the filling brings about, so the rows'
    /// flags and the texts that follow a list agree with the values filled in, not with what
    /// the rows hold by the time a posted adaptation would run.
    void ApplyReportSettled();
    /// Queues a write for every changed row whose flags are set ("Save"); only the rows of
    /// `onlyRows` when given.
    void BuildWriteJobs(const std::set<std::string>* onlyRows = nullptr);
    /// The file dialogs of "SaveToFile" and "LoadFromFile", and what follows them.
    /// `thenFactory`: once the file is written, the factory reset is asked for again.
    void SaveConfigFile(bool thenFactory = false);
    void LoadConfigFile();
    /// The first step of loading a configuration file: the file's rows take its values, the
    /// others keep the unit's last known ones, and the form is filled from them.
    void TakeConfigFile(std::string_view text);
    /// The second step, when the unit's report for the file arrives: the rows take the unit's
    /// values (the form is filled again only when the unit changed meanwhile). What then
    /// differs, the file's rows, is what the load writes.
    void TakeUnitReportForFile(std::string_view unitReport);
    // The write plan on screen, the review, the log file and the options (frame_plan.cpp).
    /// Refreshes the changed marks and the count on "Save" once the work in hand is done.
    void ScheduleMarks();
    /// Marks the fields "Save" would write and shows the count of its lines on "Save".
    void RefreshMarks();
    /// What "Save" would do now, nothing queued.
    model::WritePlan PlanSave();
    /// "Review": shows the plan and puts back the unit's value in the rows the user reverts;
    /// "Save now" saves the list shown, or after reverts shows the new list first.
    void ReviewWrites();
    /// Puts the unit's value back into the fields of `rows`.
    void RevertRows(const std::vector<std::string>& rows);
    /// "SaveLog": writes the log as shown to the file the user picks.
    void SaveLogFile();
    /// Sets the option check boxes from config.ini (the desktop program does, at start).
    void LoadWindowOptions();
    /// Keeps the state of an option check box in config.ini.
    void KeepOption(ui::Control& box);
    bool OptionOn(std::string_view name) const;

    // The questions before what cannot be undone (confirm.cpp).
    /// "RestoreFactory": asks first; offers to save a configuration file before the reset.
    void AskRestoreFactory();
    /// The file asked for by "Save a .cfg first" is written: asks for the reset again.
    void AskRestoreFactoryAfterSave();
    /// A language switch restarts the program: asks first when the port is open or fields
    /// are changed, naming what is lost. True to go ahead.
    bool ConfirmRestart();
    /// The window's close: with changed fields asks whether to save, discard or stay.
    void RequestClose();
    /// The lines "Save" would send now, as "Save (N)" counts them.
    std::size_t ChangedCount();

    // Values checked before they are sent (frame_checks.cpp).
    /// Why the unit will likely refuse `value` in the field `row`; empty when nothing is known
    /// against it.
    std::string InvalidReason(const std::string& row, const std::string& value) const;
    /// The fields "Save" would write whose values fail their check, in catalogue order.
    std::vector<std::string> InvalidRowsToSend();
    /// Marks the fields of `rows` whose values fail their check, and clears the others.
    void MarkInvalidFields(const std::set<std::string>& rows);
    /// "Save": names the fields whose values fail their check and asks before sending them.
    void SaveChecked();
    /// The answer of that question that sends them.
    static constexpr std::size_t kSendAnyway = 0;

    // The settings kept between runs (frame_remember.cpp).
    /// Chooses the port, baud rate, format and .cfg folder of the last run again where they
    /// are still there, and keeps them in config.ini from now on (the desktop program; dtucfg
    /// leaves the settings file alone).
    void RememberSettings();
    /// Keeps the choice of "SerialPort", "BaudRate1" or "Checkcode" while settings are kept.
    void KeepConnectionChoice(ui::Control& list);
    /// Keeps the folder of a chosen .cfg file while settings are kept.
    void KeepFileFolder(const std::string& path);
    /// The name the save dialog proposes: `<model>_<device ID>_<YYYYMMDD>.cfg`.
    std::string ProposedConfigName() const;

    /// Warns when a server address field holds a blank.
    void CheckIpField(ui::Control& field);

    /// Shows the window buttons for the window's state: restore when maximized, else maximize.
    /// The screen calls it whenever the window system changes that state.
    void ShowWindowState(bool maximized);
    /// Whether a press at (x, y) of the client area drags the window: HTCAPTION or HTCLIENT.
    std::intptr_t OnNcHitTest(int x, int y, int clientWidth, const ui::Control* atPoint) const;
    const FrameSettings& Settings() const { return settings_; }

    // Owned state, named as the rest of the program knows it.
    platform::LanguageTexts texts;
    int languageCode = 0;
    ui::PaintManager paintManager;
    model::ParamCatalogue catalogue;
    model::PageTable pages;
    bool baseModel = false;
    std::string rfModel;
    std::string lastItemSelectName;
    /// The adaptation cases handled, by number, in order (for diagnosis and tests): the older
    /// half goes when it reaches its limit.
    std::vector<int> adaptTrace;
    static constexpr size_t kAdaptTraceLimit = 256;
    /// While the form settles, the adaptations asked for wait here instead of being posted.
    std::deque<std::pair<model::AdaptCase, int>>* settling_ = nullptr;
    static constexpr size_t kSettleLimit = 1000;
    /// The configuration file being saved or loaded, the rows the one loaded holds (only
    /// those are written) and the values the form was filled with from it.
    std::string saveFilePath;
    std::set<std::string> fileRows;
    std::map<std::string, std::string> valuesAtFileLoad;

    devlink::Link link{*this, *this};  // after the tree and the catalogue it works on

    ui::Button* closeButton = nullptr;
    ui::Button* maxButton = nullptr;
    ui::Button* restoreButton = nullptr;
    ui::Button* minButton = nullptr;
    ui::RichEdit* logView = nullptr;
    ui::Button* saveButton = nullptr;

    static constexpr int kLogLimit = 300000;

  private:
    void InitWindow();
    std::intptr_t OnSysCommand(std::uintptr_t command);
    bool SwitchLanguage();
    int RefreshTitleLabels();
    platform::FileDialogOptions FileDialogSettings(bool save) const;
    platform::ReviewTexts ReviewDialogTexts() const;
    platform::Question MakeQuestion(std::string text,
                                    std::initializer_list<std::string_view> answers);

    struct Route;
    static const Route kRoutes[];

    platform::Dialogs& dialogs_;
    FrameSettings settings_;
    FrameScreen* screen_ = nullptr;
    std::vector<FrameObserver*> observers_;
    std::unique_ptr<PlanWatch> planWatch_;
    bool marksPending_ = false;
    bool factoryAfterSave_ = false;  // the file being saved was asked for before a reset
    bool keepSettings_ = false;      // RememberSettings was called
    std::string lastFolder_;         // of the last .cfg file chosen; empty: the home folder
    std::string saveText_;           // the skin's text of "Save"
    bool logAtLineStart_ = true;     // the log ends with a line end: the next text starts a line
};

}  // namespace app
