#include "view/qt_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace view {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::optional<std::string> RunFileDialog(const platform::FileDialogOptions& options, bool save) {
    QFileDialog dialog(nullptr, QString(), Q(options.initialFolder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList filters;
    for (const platform::FileFilter& filter : options.filters) {
        // The description already names its pattern, as in "cfg(*.cfg)".
        filters << Q(filter.description);
    }
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(options.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.selectFile(Q(options.proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace

void QtDialogs::MessageBox(const std::string& text, const std::string& caption,
                           platform::BoxIcon icon) {
    QMessageBox box(icon == platform::BoxIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon,
                    Q(caption), Q(text), QMessageBox::Ok);
    box.exec();
}

std::optional<std::size_t> QtDialogs::Ask(const platform::Question& question) {
    QMessageBox box(QMessageBox::Question, Q(question.caption), Q(question.text));
    std::vector<QPushButton*> buttons;
    for (const std::string& answer : question.answers) {
        buttons.push_back(box.addButton(Q(answer), QMessageBox::ActionRole));
    }
    if (!buttons.empty()) box.setDefaultButton(buttons.front());
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (box.clickedButton() == buttons[i]) return i;
    }
    return std::nullopt;
}

std::optional<std::string> QtDialogs::OpenFile(const platform::FileDialogOptions& options) {
    return RunFileDialog(options, false);
}

std::optional<std::string> QtDialogs::SaveFile(const platform::FileDialogOptions& options) {
    return RunFileDialog(options, true);
}

}  // namespace view
