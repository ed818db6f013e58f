#include "app/frame_wnd.h"

#include "app/log_text.h"
#include "app/page_factory.h"
#include "app/plan_watch.h"
#include "app/title.h"
#include "form/page_tabs.h"
#include "link/button_state.h"
#include "link/messages.h"
#include "platform/file_locations.h"
#include "platform/profile.h"
#include "platform/program_folder.h"
#include "ui/dialog_builder.h"

namespace app {

using Handler = std::intptr_t (*)(CK4X30FrameWnd&, const ui::Message&, bool& handled);

struct CK4X30FrameWnd::Route {
    std::uint32_t id;
    Handler handler;
};

namespace {

std::intptr_t OnLogText(CK4X30FrameWnd& w, const ui::Message& msg, bool&) {
    const std::string& text = devlink::LogTextMsg::From(msg);
    if (!text.empty()) w.AppendLog(text);
    return 0;
}

}  // namespace

// The message table: a message without a row goes to default processing (nothing here).
const CK4X30FrameWnd::Route CK4X30FrameWnd::kRoutes[] = {
    {devlink::WM_SYSCOMMAND, [](CK4X30FrameWnd& w, const ui::Message& m,
                                bool&) { return w.OnSysCommand(devlink::SysCommandMsg::From(m)); }},
    {devlink::WM_CLOSE,
     [](CK4X30FrameWnd&, const ui::Message&, bool& handled) -> std::intptr_t {
         handled = false;
         return 0;
     }},
    {devlink::UM_LOG_TEXT, OnLogText},
    {devlink::UM_REFRESH_TITLE,
     [](CK4X30FrameWnd& w, const ui::Message&, bool&) -> std::intptr_t {
         return w.RefreshTitleLabels();
     }},
    {devlink::UM_PARSE_REPORT,
     [](CK4X30FrameWnd& w, const ui::Message&, bool&) -> std::intptr_t {
         return w.ParseReport(w.link.ReceivedText());
     }},
    {devlink::UM_ADAPT_FORM,
     [](CK4X30FrameWnd& w, const ui::Message& m, bool&) -> std::intptr_t {
         const devlink::AdaptFormMsg adapt = devlink::AdaptFormMsg::From(m);
         w.AdaptForm(adapt.adaptCase, adapt.param);
         return 0;
     }},
    {devlink::UM_SAVE_FILE,
     [](CK4X30FrameWnd& w, const ui::Message&, bool&) -> std::intptr_t {
         w.SaveConfigFile();
         return 0;
     }},
    {devlink::UM_LOAD_FILE,
     [](CK4X30FrameWnd& w, const ui::Message&, bool&) -> std::intptr_t {
         w.LoadConfigFile();
         return 0;
     }},
    {devlink::UM_REVIEW_AGAIN,
     [](CK4X30FrameWnd& w, const ui::Message&, bool&) -> std::intptr_t {
         w.ReviewWrites();
         return 0;
     }},
    {devlink::UM_ASK_FACTORY,
     [](CK4X30FrameWnd& w, const ui::Message&, bool&) -> std::intptr_t {
         w.AskRestoreFactoryAfterSave();
         return 0;
     }},
    {devlink::UM_SWITCH_LANGUAGE,
     [](CK4X30FrameWnd& w, const ui::Message&, bool& handled) -> std::intptr_t {
         handled = w.SwitchLanguage();
         return 0;
     }},
};

CK4X30FrameWnd::CK4X30FrameWnd(ui::Clock& clock, platform::Dialogs& dialogs, FrameSettings settings)
    : ui::Window(clock), dialogs_(dialogs), settings_(std::move(settings)) {
    languageCode = settings_.languageCode;
    link.Ports().SetExtraPorts(settings_.extraPorts);
    model::InitParamCatalogue(catalogue);
    planWatch_ = std::make_unique<PlanWatch>(*this);
    AddObserver(planWatch_.get());
    paintManager.AddWatcher(planWatch_.get());
}

CK4X30FrameWnd::~CK4X30FrameWnd() {
    ShutDown();
    paintManager.RemoveNotifier(this);
    paintManager.RemoveWatcher(planWatch_.get());
    RemoveObserver(planWatch_.get());
}

void CK4X30FrameWnd::ShutDown() {
    // Nothing another thread sends may wait for this window any more; then the worker stops
    // before any field it uses goes away.
    EndLoop();
    link.ShutDown();
}

bool CK4X30FrameWnd::Create(std::string& error) {
    CDialogBuilderCallbackEx callback;
    ui::DialogBuilder builder;
    std::unique_ptr<ui::Control> root = builder.Create("skin.xml", &callback, &paintManager);
    if (!root) {
        error = "The window layout could not be built: " + builder.LastError();
        return false;
    }
    paintManager.AttachDialog(std::move(root));
    if (!paintManager.Find<ui::RichEdit>("richedit")) {
        error = "The window layout " + ui::PaintManager::GetResourcePath() +
                "/skin.xml has no log view named \"richedit\".";
        return false;
    }
    paintManager.AddNotifier(this);
    InitWindow();
    return true;
}

void CK4X30FrameWnd::InitWindow() {
    closeButton = paintManager.Find<ui::Button>("closebtn");
    maxButton = paintManager.Find<ui::Button>("maxbtn");
    restoreButton = paintManager.Find<ui::Button>("restorebtn");
    minButton = paintManager.Find<ui::Button>("minbtn");
    logView = paintManager.Find<ui::RichEdit>("richedit");
    logView->SetLimitText(kLogLimit);
    saveButton = paintManager.Find<ui::Button>("Save");
    saveText_ = saveButton ? saveButton->GetText() : std::string();
    link.Ports().ListSerialPorts();
    if (auto* ports = paintManager.Find<ui::Combo>("SerialPort")) ports->SelectItem(0, false);
    model::InitPageTable(pages);
    devlink::ButtonStateMsg::Post(*this, false, devlink::kConnectionGroup);
    SetTimer(devlink::kTitleTimer, devlink::kTitlePeriodMs);
    pages[model::kIoPage].shown = false;
    pages[model::kGpsPage].shown = false;
    form::UpdatePageTabs(paintManager, pages, form::kApplyPages);
}

std::intptr_t CK4X30FrameWnd::HandleMessage(const ui::Message& msg, bool& handled) {
    for (const Route& route : kRoutes) {
        if (route.id == msg.id) return route.handler(*this, msg, handled);
    }
    return link.HandleMessage(msg, handled);
}

void CK4X30FrameWnd::OnTimer(int id) {
    if (id == devlink::kHandshakeTimer) link.OnHandshakeTimer();
    if (id == devlink::kReconnectTimer) link.OnReconnectTimer();
    if (id == devlink::kNoAnswerTimer) link.OnNoAnswerTimer();
    if (id == devlink::kTitleTimer) {
        RefreshTitleLabels();
        KillTimer(devlink::kTitleTimer);
    }
    if (id == devlink::kMarksTimer) {
        KillTimer(devlink::kMarksTimer);
        RefreshMarks();
    }
}

std::intptr_t CK4X30FrameWnd::OnSysCommand(std::uintptr_t command) {
    if (command == ui::SC_CLOSE) {
        RequestClose();
        return 0;
    }
    if (!screen_) return 0;
    screen_->SystemCommand(command);
    // Where the window system grants the state later (Wayland's compositor), the screen tells
    // it again through ShowWindowState.
    ShowWindowState(screen_->IsMaximized());
    return 0;
}

void CK4X30FrameWnd::ShowWindowState(bool maximized) {
    if (maxButton) maxButton->SetVisible(!maximized);
    if (restoreButton) restoreButton->SetVisible(maximized);
}

std::intptr_t CK4X30FrameWnd::OnNcHitTest(int x, int y, int clientWidth,
                                          const ui::Control* atPoint) const {
    const ui::Rect caption = paintManager.GetCaptionRect();
    if (x >= caption.left && x < clientWidth - caption.right && y >= caption.top &&
        y < caption.bottom && atPoint) {
        const std::string_view cls = atPoint->GetClass();
        if (cls != "ButtonUI" && cls != "OptionUI" && cls != "TextUI") return HTCAPTION;
    }
    return HTCLIENT;
}

void CK4X30FrameWnd::AddObserver(FrameObserver* observer) {
    observers_.push_back(observer);
    link.AddObserver(observer);
}

void CK4X30FrameWnd::RemoveObserver(FrameObserver* observer) {
    std::erase(observers_, observer);
    link.RemoveObserver(observer);
}

void CK4X30FrameWnd::AppendLog(std::string_view text) {
    for (FrameObserver* observer : observers_) observer->LogAppended(text);
    if (!logView) return;
    if (logView->GetTextLength() + static_cast<int>(text.size()) >= logView->GetLimitText() - 1) {
        logView->SetText({});
        logAtLineStart_ = true;
    }
    // Stamped here, where every line of the log passes; front ends watching see the bare text.
    const std::string stamp =
        OptionOn("LogTimes") ? LogTimeStamp(GetClock().WallNow()) : std::string();
    logView->AppendText(StampLines(text, logAtLineStart_, stamp));
    logView->EndDown();
}

void CK4X30FrameWnd::PostLogText(std::string_view text) {
    devlink::LogTextMsg::Post(*this, text);
}

void CK4X30FrameWnd::ShowNotice(const std::string& text) {
    dialogs_.MessageBox(text, ModelText());
}

int CK4X30FrameWnd::RefreshTitleLabels() {
    TitleInputs in{baseModel, languageCode, platform::CurrentDirectory(),
                   ui::PaintManager::GetResourcePath()};
    app::RefreshTitle(paintManager, texts, in);
    return 0;
}

bool CK4X30FrameWnd::SwitchLanguage() {
    auto* language = paintManager.Find<ui::Combo>("Language");
    if (!language) return false;
    const int index = language->GetCurSel();
    if (index == languageCode) return true;
    if (!ConfirmRestart()) {
        // Stays as it is: the list shows the language in use again, without a new event.
        language->SetAttribute("selected", std::to_string(languageCode));
        return true;
    }
    platform::MakeFolders(settings_.programFolder);  // the user's folder may not exist yet
    platform::WriteProfileString(settings_.programFolder + "config.ini", "Set", "Language",
                                 std::to_string(index));
    if (screen_) screen_->Hide();
    platform::StartProcess(settings_.programPath, settings_.args);
    PostQuitMessage(0);
    return true;
}

}  // namespace app

namespace app {

void CK4X30FrameWnd::ShowBox(const std::string& text, const std::string& caption,
                             platform::BoxIcon icon) {
    dialogs_.MessageBox(text, caption, icon);
}

}  // namespace app

namespace app {

bool CK4X30FrameWnd::ConfirmResume(const std::string& question, const std::string& resume,
                                   const std::string& later) {
    const std::optional<std::size_t> answer =
        dialogs_.Ask({question, ModelText(), {resume, later}});
    return answer == 0u;
}

}  // namespace app
