#include "cli/file_stage.h"

#include <stdlib.h>

#include <filesystem>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/outcome.h"
#include "cli/session.h"

namespace cli {

namespace {

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

}  // namespace

int StageConfigFile(Session& s, const std::string& fileText, std::ostream& err) {
    // The window's own two steps of a file load, short of planning the writes.
    s.Frame().TakeConfigFile(fileText);
    s.Settle();
    if (const int read = ReadReportAside(s, err); read != kExitOk) return read;
    if (s.Record().LastReport().empty()) {
        err << "dtucfg: no complete report was received\n";
        return kExitTimeout;
    }
    s.Frame().TakeUnitReportForFile(s.Record().LastReport());
    return kExitOk;
}

}  // namespace cli
