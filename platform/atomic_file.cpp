#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <optional>

namespace platform {
namespace {

/// Links followed before giving up, as the kernel does (its limit is 40).
constexpr int kMaxLinks = 40;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// The file that `path` stands for: symbolic links followed to the last one's target, which
/// need not exist. Nothing (errno set) when a link cannot be read or the links loop.
std::optional<std::string> FinalPath(std::string path) {
    for (int links = 0; links < kMaxLinks; ++links) {
        struct stat info {};
        // Anything but a link is the final path; a failure here shows again in the steps after.
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length < 0) return std::nullopt;
        if (static_cast<std::size_t>(length) == sizeof target) {
            errno = ENAMETOOLONG;
            return std::nullopt;
        }
        std::string next(target, static_cast<std::size_t>(length));
        // A relative target is relative to the link's folder.
        if (!next.starts_with('/') && path.find('/') != std::string::npos) {
            next = FolderOf(path) + "/" + next;
        }
        path = std::move(next);
    }
    errno = ELOOP;
    return std::nullopt;
}

/// The process's umask. umask() cannot read it without setting it, which would race with
/// files created by other threads; the kernel shows it in /proc/self/status. When that line
/// is missing (a kernel before 4.7), the strictest mask keeps a new file private.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:")) {
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8) & 0777);
        }
    }
    return 077;
}

/// Every byte of `bytes`, across short writes and interrupted calls.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (put == 0) {
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

/// Makes the rename itself durable. Best effort: the new content is in place either way.
void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

bool Replace(const std::string& path, std::string_view bytes) {
    const std::optional<std::string> target = FinalPath(path);
    if (!target) return false;
    struct stat old {};
    const mode_t mode =
        stat(target->c_str(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());

    // Hidden, beside the target (a rename does not cross file systems), and cut so that the
    // name stays within the longest name a folder takes.
    std::string temp = FolderOf(*target) + "/." + NameOf(*target).substr(0, 200) + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);  // O_EXCL, mode 0600
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    int cause = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        cause = errno;
    }
    if (ok && rename(temp.c_str(), target->c_str()) != 0) {
        ok = false;
        cause = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        errno = cause;
        return false;
    }
    SyncFolder(FolderOf(*target));
    return true;
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, int* error) {
    if (Replace(path, bytes)) return true;
    if (error) *error = errno;
    return false;
}

}  // namespace platform
