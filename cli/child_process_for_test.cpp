#include "cli/child_process_for_test.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>

extern char** environ;

namespace cli::testing {

namespace {

using Clock = std::chrono::steady_clock;

struct Pipe {
    int read = -1;
    int write = -1;
    bool Open() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) return false;
        read = fds[0];
        write = fds[1];
        return true;
    }
    void CloseWrite() {
        if (write >= 0) ::close(write);
        write = -1;
    }
    ~Pipe() {
        CloseWrite();
        if (read >= 0) ::close(read);
    }
};

pid_t Spawn(const std::string& program, const std::vector<std::string>& args, Pipe& out,
            Pipe& err) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : -1;
}

/// Reads both pipes until both end or the deadline passes; true when both ended.
bool Collect(Pipe& out, Pipe& err, ChildResult& result, Clock::time_point deadline) {
    std::array<pollfd, 2> fds = {pollfd{out.read, POLLIN, 0}, pollfd{err.read, POLLIN, 0}};
    std::array<std::string*, 2> texts = {&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        if (::poll(fds.data(), fds.size(), static_cast<int>(left.count())) < 0) continue;
        for (size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                texts[i]->append(buffer, static_cast<size_t>(n));
            } else {
                fds[i].fd = -1;  // end of output (or an error): stop watching
                --open;
            }
        }
    }
    return true;
}

}  // namespace

ChildResult RunChild(const std::string& program, const std::vector<std::string>& args,
                     std::chrono::milliseconds timeout) {
    ChildResult result;
    Pipe out, err;
    if (!out.Open() || !err.Open()) return result;
    const auto start = Clock::now();
    const pid_t pid = Spawn(program, args, out, err);
    out.CloseWrite();
    err.CloseWrite();
    if (pid < 0) return result;
    result.finished = Collect(out, err, result, start + timeout);
    if (!result.finished) ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (result.finished && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
}

}  // namespace cli::testing
