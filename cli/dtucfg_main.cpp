// dtucfg: the command-line provisioning tool over the same core as dtuconfig.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/run.h"
#include "platform/program_folder.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const cli::Environment env{platform::ProgramFolder(), ::isatty(STDERR_FILENO) == 1};
    return cli::RunDtucfg(args, env, std::cout, std::cerr);
}
