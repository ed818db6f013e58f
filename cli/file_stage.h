// A configuration file taken into the form the way the window's "LoadFromFile" takes it, up to
// the point where the window plans its writes, so that the plan can be shown first or joined
// with named values. Only the order of the window's steps is repeated here: the values, the
// form's filling and the walk that plans the writes are the window's own.
#pragma once

#include <iosfwd>
#include <string>

namespace cli {

class Session;

/// On a form no report has filled yet, as the window loads a file: the rows take the file's
/// values (the others keep theirs) and the form is filled and settles; the unit's report is
/// read without filling the form; then the rows take the unit's values and the form is filled
/// again as the window fills it when the unit's report for a file arrives. The rows the file
/// holds are then `Frame().fileRows`. Returns the exit code of the report's reading (failures
/// named on `err`).
int StageConfigFile(Session& s, const std::string& fileText, std::ostream& err);

}  // namespace cli
