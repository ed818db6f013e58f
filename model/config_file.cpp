#include "model/config_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace model {

std::string ToFileText(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') bytes.push_back('\r');
        bytes.push_back(c);
    }
    return bytes;
}

std::string FromFileText(std::string_view bytes, size_t limit) {
    std::string text;
    for (size_t i = 0; i < bytes.size() && text.size() < limit; ++i) {
        const char c = bytes[i];
        if (c == 26) break;
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;  // the LF follows
        text.push_back(c);
    }
    return text;
}

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool WriteConfigFile(const std::string& path, std::string_view text) {
    std::string temp = FolderOf(path) + "/.dtuconfig-XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    ::fchmod(fd, 0644);
    const bool written = WriteAll(fd, ToFileText(text)) && ::fsync(fd) == 0;
    const int saved = errno;
    ::close(fd);
    if (!written || ::rename(name.data(), path.c_str()) != 0) {
        const int cause = written ? errno : saved;
        ::unlink(name.data());
        errno = cause;
        return false;
    }
    return true;
}

std::optional<std::string> ReadConfigFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    // Up to twice the limit of raw bytes: line-end pairs shrink when read.
    std::string bytes(2 * kConfigReadLimit + 2, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return FromFileText(bytes);
}

}  // namespace model
