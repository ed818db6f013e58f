// The questions asked before what cannot be undone: the factory reset, the restart a language
// switch needs, and closing the window with changes the unit has not taken.
#include <string>

#include "app/frame_wnd.h"
#include "model/unit_lines.h"
#include "platform/text.h"

namespace app {

namespace {

// The answers are in this order in each question; the first one goes ahead.
enum FactoryAnswer : std::size_t { kRestore, kSaveFirst };
enum CloseAnswer : std::size_t { kCloseSave, kCloseDiscard };

}  // namespace

platform::Question CK4X30FrameWnd::MakeQuestion(std::string text,
                                                std::initializer_list<std::string_view> answers) {
    platform::Question question{std::move(text), ModelText(), {}};
    for (std::string_view key : answers) question.answers.push_back(LoadText("Ask", key));
    return question;
}

std::size_t CK4X30FrameWnd::ChangedCount() {
    return PlanSave().planned.size();
}

void CK4X30FrameWnd::AskRestoreFactory() {
    const auto answer =
        dialogs_.Ask(MakeQuestion(LoadText("Ask", "Factory"), {"Restore", "SaveFirst", "Cancel"}));
    if (answer == kRestore) link.QueueJob(model::JobKind::kFactory, model::kFactoryLine);
    // The reset is asked for again once the file is written (UM_ASK_FACTORY), never before.
    if (answer == kSaveFirst) SaveConfigFile(true);
}

void CK4X30FrameWnd::AskRestoreFactoryAfterSave() {
    const std::string text =
        platform::ReplaceToken(LoadText("Ask", "FactoryAfterSave"), "{file}", saveFilePath);
    if (dialogs_.Ask(MakeQuestion(text, {"Restore", "Cancel"})) == kRestore) {
        link.QueueJob(model::JobKind::kFactory, model::kFactoryLine);
    }
}

bool CK4X30FrameWnd::ConfirmRestart() {
    const std::size_t changed = ChangedCount();
    if (!link.PortOpen() && changed == 0) return true;
    std::string lost;
    if (link.PortOpen()) lost += "\n- " + LoadText("Ask", "LostPort");
    if (changed > 0) {
        lost += "\n- " + platform::ReplaceToken(LoadText("Ask", "LostChanges"), "{n}",
                                                std::to_string(changed));
    }
    lost += "\n- " + LoadText("Ask", "LostLog");
    const std::string text = platform::ReplaceToken(LoadText("Ask", "Language"), "{lost}", lost);
    return dialogs_.Ask(MakeQuestion(text, {"Switch", "Cancel"})) == 0;
}

void CK4X30FrameWnd::RequestClose() {
    const std::size_t changed = ChangedCount();
    if (changed == 0) return PostQuitMessage(0);
    const std::string n = std::to_string(changed);
    if (!link.LoggedIn()) {
        // Nothing could take the changes now: close and lose them, or stay.
        const std::string text = platform::ReplaceToken(LoadText("Ask", "CloseOffline"), "{n}", n);
        if (dialogs_.Ask(MakeQuestion(text, {"Discard", "Cancel"})) == 0) PostQuitMessage(0);
        return;
    }
    const std::string text = platform::ReplaceToken(LoadText("Ask", "Close"), "{n}", n);
    const auto answer = dialogs_.Ask(MakeQuestion(text, {"Save", "Discard", "Cancel"}));
    // "Save" starts the writes and keeps the window: closing would drop the writes the unit
    // has not answered yet. The user closes once the log shows them done.
    if (answer == kCloseSave) BuildWriteJobs();
    if (answer == kCloseDiscard) PostQuitMessage(0);
}

}  // namespace app
