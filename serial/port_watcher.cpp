#include "serial/port_watcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

namespace serial {

namespace {

int MakeStopEvent() {
    const int event = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (event < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
    return event;
}

}  // namespace

PortWatcher::PortWatcher(DeviceSource& source, std::function<void()> changed)
    : source_(source), changed_(std::move(changed)), stopEvent_(MakeStopEvent()) {
    try {
        thread_ = std::thread(&PortWatcher::Run, this);
    } catch (...) {
        ::close(stopEvent_);
        throw;
    }
}

PortWatcher::~PortWatcher() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopEvent_, &one, sizeof one);
    thread_.join();
    ::close(stopEvent_);
}

void PortWatcher::Run() {
    // The stop event first: a source that keeps reporting changes never delays the stop.
    pollfd fds[2] = {{stopEvent_, POLLIN, 0}, {source_.ChangeDescriptor(), POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents) return;
        if (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL)) {
            fds[1].fd = -1;  // a broken source is not watched any more; poll skips it
        } else if (fds[1].revents && source_.ReadChanges()) {
            changed_();
        }
    }
}

}  // namespace serial
