// A configuration file taken into the form the way the window's "LoadFromFile" takes it, up to
// the point where the window plans its writes, so that the plan can be shown first or joined
// with named values. Only the order of the window's steps is repeated here: the values, the
// form and the walk that plans the writes are the window's own.
#pragma once

#include <map>
#include <string>

#include "app/frame_wnd.h"

namespace cli {

class Session;

/// The rows' values and the radio module at one moment.
struct FormValues {
    std::map<std::string, std::string> values;
    std::string rfModel;
};

FormValues SnapshotValues(const app::CK4X30FrameWnd& f);

/// After the unit's report was read into the form: the rows take the file's text over the
/// values the window held before that read (`before`), as the window takes a file it loads,
/// and the form is filled and settles; then the rows take the unit's report again and the
/// form is filled as the window fills it when the unit's report for the file arrives. The
/// form's rows that the file holds are `Frame().fileRows`.
void StageConfigFile(Session& s, const std::string& fileText, const FormValues& before);

}  // namespace cli
