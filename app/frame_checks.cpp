// The values the form knows the unit will likely refuse: a field that holds one is marked
// as it is typed, and "Save" names them and asks before sending them. The unit has the last
// word (some firmware takes more), so a confirmed "Save" sends them as they are.
#include "app/frame_wnd.h"
#include "model/value_check.h"
#include "platform/text.h"

namespace app {

namespace {

std::string_view ReasonKey(model::ValueProblem problem) {
    switch (problem) {
        case model::ValueProblem::kAddress:
            return "Address";
        case model::ValueProblem::kIpv4:
            return "Ipv4";
        case model::ValueProblem::kPort:
            return "Port";
        case model::ValueProblem::kRange:
            return "Range";
        case model::ValueProblem::kNone:
            break;
    }
    return {};
}

}  // namespace

std::string CK4X30FrameWnd::InvalidReason(const std::string& row, const std::string& value) const {
    const model::ValueCheck check = model::CheckFieldValue(row, value);
    if (check.problem == model::ValueProblem::kNone) return {};
    std::string reason = LoadText("Check", ReasonKey(check.problem));
    reason = platform::ReplaceToken(std::move(reason), "{low}", std::to_string(check.low));
    return platform::ReplaceToken(std::move(reason), "{high}", std::to_string(check.high));
}

std::vector<std::string> CK4X30FrameWnd::InvalidRowsToSend() {
    std::vector<std::string> rows;
    for (const std::string& name : model::RowsWritten(PlanSave())) {
        const ui::Control* field = paintManager.FindControl(name);
        if (field && !InvalidReason(name, field->GetText()).empty()) rows.push_back(name);
    }
    return rows;
}

void CK4X30FrameWnd::MarkInvalidFields(const std::set<std::string>& rows) {
    for (const auto& [name, row] : catalogue) {
        ui::Control* field = paintManager.FindControl(name);
        if (!field) continue;
        field->SetInvalid(rows.count(name) ? InvalidReason(name, field->GetText()) : std::string());
    }
}

void CK4X30FrameWnd::SaveChecked() {
    const std::vector<std::string> rows = InvalidRowsToSend();
    if (!rows.empty()) {
        std::string text = LoadText("Check", "Ask") + "\n";
        for (const std::string& name : rows) {
            const ui::Control* field = paintManager.FindControl(name);
            std::string label = model::FieldLabel(*field);
            if (label.empty()) label = name;
            text += "\n" + label + " \"" + field->GetText() +
                    "\": " + InvalidReason(name, field->GetText());
        }
        text += "\n\n" + LoadText("Check", "AskEnd");
        const platform::Question question{
            text, ModelText(), {LoadText("Check", "SendAnyway"), LoadText("Check", "Cancel")}};
        if (dialogs_.Ask(question) != kSendAnyway) return;
    }
    BuildWriteJobs();
}

}  // namespace app
