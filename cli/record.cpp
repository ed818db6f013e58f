#include "cli/record.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "cli/output.h"

namespace cli {

std::uint64_t Fnv1a64(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string Hex64(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

std::string UtcTimeText(long long secondsSinceEpoch) {
    const std::time_t seconds = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm utc{};
    ::gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string FormatRecordLine(const RunRecord& record, long long secondsSinceEpoch) {
    const std::string hash = record.report.empty() ? "" : Hex64(Fnv1a64(record.report));
    std::string line = "{\"time\":" + JsonString(UtcTimeText(secondsSinceEpoch)) +
                       ",\"command\":" + JsonString(record.command) +
                       ",\"port\":" + JsonString(record.port) +
                       ",\"device_type\":" + JsonString(record.deviceType) +
                       ",\"rf_model\":" + JsonString(record.rfModel) +
                       ",\"report_fnv1a64\":" + JsonString(hash) + ",\"writes\":[";
    for (size_t i = 0; i < record.writes.size(); ++i) {
        const WriteResult& w = record.writes[i];
        if (i > 0) line += ",";
        line += "{\"name\":" + JsonString(w.name) + ",\"line\":" + JsonString(w.line) +
                ",\"value\":" + JsonString(w.value) + ",\"result\":" + JsonString(w.result) + "}";
    }
    line += "]";
    // Only a run that lost its port says so: the lines of the others stay as they were.
    if (record.reconnects > 0) line += ",\"reconnects\":" + std::to_string(record.reconnects);
    return line + ",\"exit\":" + std::to_string(record.exitCode) + "}\n";
}

bool AppendRecordLine(const std::string& path, std::string_view line, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    const ssize_t written = ::write(fd, line.data(), line.size());
    const int writeErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (written != static_cast<ssize_t>(line.size()) || !closed) {
        error = path + ": " + (written < 0 ? std::strerror(writeErrno) : "incomplete write");
        return false;
    }
    return true;
}

}  // namespace cli
