#include "cli/file_stage.h"

#include <algorithm>

#include "cli/session.h"
#include "model/report_parser.h"

namespace cli {

namespace {

/// As the window takes a file it loads: the file's rows its values, the others the values
/// known before; then the form filled from them.
void TakeFile(Session& s, const std::string& fileText, const FormValues& before) {
    app::CK4X30FrameWnd& f = s.Frame();
    for (auto& [name, row] : f.catalogue) row.value = before.values.at(name);
    f.rfModel = before.rfModel;
    f.fileRows.clear();
    model::ExtractReportValues(fileText, f.catalogue, f.rfModel, &f.fileRows);
    if (f.rfModel.empty()) f.rfModel = before.rfModel;
    f.valuesAtFileLoad.clear();
    for (auto& [name, row] : f.catalogue) {
        if (!f.fileRows.count(name)) row.value = before.values.at(name);
        f.valuesAtFileLoad[name] = row.value;
    }
    f.ApplyReport();
    s.Settle();  // the window's form adapts while the unit's report is read
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

FormValues SnapshotValues(const app::CK4X30FrameWnd& f) {
    FormValues snapshot;
    for (const auto& [name, row] : f.catalogue) snapshot.values[name] = row.value;
    snapshot.rfModel = f.rfModel;
    return snapshot;
}

void StageConfigFile(Session& s, const std::string& fileText, const FormValues& before) {
    const std::string unitReport = s.Record().LastReport();
    TakeFile(s, fileText, before);
    TakeUnitReport(s, unitReport);
}

}  // namespace cli
