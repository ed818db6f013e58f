#include "platform/dialogs.h"

namespace platform {

void ScriptedDialogs::MessageBox(const std::string& text, const std::string& caption,
                                 BoxIcon icon) {
    boxes_.push_back(Box{text, caption, icon});
}

std::optional<std::string> ScriptedDialogs::OpenFile(const FileDialogOptions& options) {
    fileDialogs_.push_back(options);
    // The scripted name answers one dialog only; the next one cancels unless scripted again.
    return std::exchange(next_, std::nullopt);
}

std::optional<std::string> ScriptedDialogs::SaveFile(const FileDialogOptions& options) {
    fileDialogs_.push_back(options);
    return std::exchange(next_, std::nullopt);
}

ReviewChoice ScriptedDialogs::ShowWriteReview(const std::vector<ReviewRow>& rows,
                                              const ReviewTexts&) {
    reviews_.push_back(rows);
    if (nextReviews_.empty()) return {};
    ReviewChoice choice = std::move(nextReviews_.front());
    nextReviews_.erase(nextReviews_.begin());
    return choice;
}

std::optional<std::size_t> ScriptedDialogs::Ask(const Question& question) {
    questions_.push_back(question);
    if (nextAnswers_.empty()) return std::nullopt;
    const std::optional<std::size_t> answer = nextAnswers_.front();
    nextAnswers_.erase(nextAnswers_.begin());
    return answer;
}

}  // namespace platform
