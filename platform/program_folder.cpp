#include "platform/program_folder.h"

#include <spawn.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace platform {

std::string ProgramPath() {
    // readlink does not say whether it truncated, so grow the buffer until the link fits.
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string ProgramFolder() {
    std::string path = ProgramPath();
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    path.resize(slash + 1);
    return path;
}

std::string CurrentDirectory() {
    std::string buffer(256, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size()) != nullptr) {
            buffer.resize(buffer.find('\0'));
            break;
        }
        if (errno != ERANGE) return {};
        buffer.assign(buffer.size() * 2, '\0');
    }
    while (buffer.size() > 1 && buffer.back() == '/') buffer.pop_back();
    return buffer;
}

bool StartProcess(const std::string& path, const std::vector<std::string>& args) {
    // argv[0] is the path itself, as a shell would give it.
    std::vector<std::string> storage;
    storage.reserve(args.size() + 1);
    storage.push_back(path);
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    argv.reserve(storage.size() + 1);
    for (std::string& arg : storage) argv.push_back(arg.data());
    argv.push_back(nullptr);

    // The child is not waited for: when this process ends it is handed to init and goes on.
    // glibc's posix_spawn reports a failed exec (missing or not executable file) as an error.
    pid_t pid = 0;
    return posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) == 0;
}

}  // namespace platform
