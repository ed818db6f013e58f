// Where the program lives, and starting it anew.
#pragma once

#include <string>
#include <vector>

namespace platform {

/// The full path of the running executable.
std::string ProgramPath();
/// The folder of the running executable, ending in '/'.
std::string ProgramFolder();
/// The process's current directory, without a trailing '/'.
std::string CurrentDirectory();
/// Starts `path` with `args` (argv[1]...) as a new process that outlives this one.
/// True when the process was started.
bool StartProcess(const std::string& path, const std::vector<std::string>& args);

}  // namespace platform
