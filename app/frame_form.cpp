// The main window's side of the parameter form: the report, "Save", the configuration files.
#include <cstdlib>

#include "app/frame_wnd.h"
#include "app/messages.h"
#include "form/adapt_form.h"
#include "form/layout_rules.h"
#include "form/page_tabs.h"
#include "model/command_builder.h"
#include "model/config_file.h"

namespace app {

void CK4X30FrameWnd::SetLayoutVisible(std::string_view name, bool visible) {
    form::SetLayoutVisible(
        paintManager, catalogue,
        [this](int adaptCase, int param) { PostAdaptForm(adaptCase, param); }, name, visible);
}

void CK4X30FrameWnd::UpdatePageTabs(int mode) {
    form::UpdatePageTabs(paintManager, pages, mode);
}

void CK4X30FrameWnd::PostAdaptForm(int adaptCase, int param) {
    PostMessage(UM_ADAPT_FORM, static_cast<std::uintptr_t>(adaptCase), param);
}

void CK4X30FrameWnd::AdaptForm(int adaptCase, int param) {
    if (adaptTrace.size() >= 256) adaptTrace.erase(adaptTrace.begin(), adaptTrace.begin() + 128);
    adaptTrace.push_back(adaptCase);
    form::AdaptContext ctx{paintManager,
                           catalogue,
                           pages,
                           baseModel,
                           texts,
                           lastItemSelectName,
                           [this](int c, int p) { PostAdaptForm(c, p); },
                           [this](const std::string& text) { ShowNotice(text); }};
    form::AdaptForm(ctx, adaptCase, param);
}

int CK4X30FrameWnd::ParseReport() {
    const int result = model::ExtractReportValues(link.rxBuffer.View(), catalogue, rfModel);
    ApplyReport();
    return result;
}

void CK4X30FrameWnd::ApplyReport() {
    model::ReportContext ctx{paintManager, catalogue, pages, rfModel, baseModel, *this};
    model::ApplyReportToForm(ctx);
}

void CK4X30FrameWnd::BuildWriteJobs(const std::set<std::string>* onlyRows) {
    model::BuildContext ctx{paintManager,
                            catalogue,
                            pages,
                            texts,
                            [this](std::string_view text) { PostLogText(text); },
                            [this](const model::WorkerJob& job) { link.jobQueue.QueueJob(job); }};
    ctx.onlyRows = onlyRows;
    model::BuildWriteJobs(ctx);
}

void CK4X30FrameWnd::RecordWrittenValue(const std::string& name, const std::string& value) {
    catalogue.SetValue(name, value);
}

platform::FileDialogOptions CK4X30FrameWnd::FileDialogSettings(bool save) const {
    platform::FileDialogOptions options;
    if (languageCode != 0) {
        options.filters = {{"cfg文件(*.cfg)", "*.cfg"}, {"所有文件(*.*)", "*.*"}};
    } else {
        options.filters = {{"cfg(*.cfg)", "*.cfg"},
                           {save ? "All File(*.*)" : " All File(*.*)", "*.*"}};
    }
    const char* home = std::getenv("HOME");
    options.initialFolder = home ? home : "";
    options.proposedName = ModelText() + ".cfg";
    options.mustExist = !save;  // the save dialog accepts a new file name
    return options;
}

void CK4X30FrameWnd::SaveConfigFile() {
    const auto path = dialogs_.SaveFile(FileDialogSettings(true));
    if (!path) return;
    link.saveFilePath = *path;
    link.QueueJob(model::kSaveToFile, "\r\nAT+SHOW\r\n");
}

void CK4X30FrameWnd::SaveReportFile() {
    if (!model::WriteConfigFile(link.saveFilePath, link.rxBuffer.View())) {
        ShowNotice(LoadText("SaveToFile", "OpenError"));
    }
}

void CK4X30FrameWnd::LoadConfigFile() {
    const auto path = dialogs_.OpenFile(FileDialogSettings(false));
    if (!path) return;
    link.saveFilePath = *path;
    const auto text = model::ReadConfigFile(*path);
    if (!text) {
        AppendLog(LoadText("onLoadFrommFile", "ReadError"));
        return;
    }
    link.rxBuffer.Assign(*text);
    fileRows.clear();
    model::ExtractReportValues(link.rxBuffer.View(), catalogue, rfModel, &fileRows);
    ApplyReport();
    link.QueueJob(model::kLoadFromFile, "\r\nAT+SHOW\r\n");
}

void CK4X30FrameWnd::WriteLoadedConfiguration() {
    // The rows take the unit's current values; the form still shows the file's. A row the file
    // does not hold (another model's file, or one whose line ends another program changed)
    // keeps the unit's value instead of being emptied.
    model::ExtractReportValues(link.rxBuffer.View(), catalogue, rfModel);
    BuildWriteJobs(&fileRows);
}

void CK4X30FrameWnd::CheckIpField(ui::Control& field) {
    if (field.GetText().find(' ') != std::string::npos) ShowNotice(LoadText("Notify", "IpNotice"));
}

}  // namespace app
