#include "cli/file_stage.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/outcome.h"
#include "cli/session.h"
#include "model/report_parser.h"

namespace cli {

namespace {

/// As the window takes a file it loads: the file's rows take its values, the others keep the
/// values known before; then the form is filled from them.
void TakeFile(Session& s, const std::string& fileText) {
    app::CK4X30FrameWnd& f = s.Frame();
    std::map<std::string, std::string> known;
    for (const auto& [name, row] : f.catalogue) known[name] = row.value;
    const std::string unitModule = f.rfModel;
    f.fileRows.clear();
    model::ExtractReportValues(fileText, f.catalogue, f.rfModel, &f.fileRows);
    if (f.rfModel.empty()) f.rfModel = unitModule;
    f.valuesAtFileLoad.clear();
    for (auto& [name, row] : f.catalogue) {
        if (!f.fileRows.count(name)) row.value = known[name];
        f.valuesAtFileLoad[name] = row.value;
    }
    f.ApplyReport();
    s.Settle();
}

/// The unit's report read as "SaveToFile" reads it (the form is not filled from it), into a
/// file of a folder of our own that is removed again.
int ReadReportAside(Session& s, std::ostream& err) {
    std::string folder = (std::filesystem::temp_directory_path() / "dtucfg-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        err << "dtucfg: no temporary folder for the unit's report\n";
        return kExitFile;
    }
    const Mark mark = s.MarkNow();
    const int waited = s.FileActionAndWait("SaveToFile", folder + "/unit.cfg");
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return WorseExit(waited, JudgeSince(s, mark, err).exitCode);
}

/// As the window does when the unit's report for the file arrives, short of planning.
void TakeUnitReport(Session& s, const std::string& unitReport) {
    app::CK4X30FrameWnd& f = s.Frame();
    model::ExtractReportValues(unitReport, f.catalogue, f.rfModel);
    const bool unitChanged = std::any_of(f.catalogue.begin(), f.catalogue.end(), [&](auto& r) {
        return !f.fileRows.count(r.first) && f.valuesAtFileLoad[r.first] != r.second.value;
    });
    if (!unitChanged) return;
    const auto swapFileRows = [&f] {
        for (const std::string& name : f.fileRows) {
            std::swap(f.catalogue.Find(name)->value, f.valuesAtFileLoad[name]);
        }
    };
    swapFileRows();
    f.ApplyReport();
    swapFileRows();
}

}  // namespace

int StageConfigFile(Session& s, const std::string& fileText, std::ostream& err) {
    TakeFile(s, fileText);
    if (const int read = ReadReportAside(s, err); read != kExitOk) return read;
    if (s.Record().LastReport().empty()) {
        err << "dtucfg: no complete report was received\n";
        return kExitTimeout;
    }
    TakeUnitReport(s, s.Record().LastReport());
    return kExitOk;
}

}  // namespace cli
