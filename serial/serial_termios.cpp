#include "serial/serial_termios.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace serial::tty {

namespace {

struct BaudConstant {
    int baud;
    speed_t constant;
};

constexpr BaudConstant kStandardBauds[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

speed_t StandardConstant(int baud) {
    for (const BaudConstant& b : kStandardBauds) {
        if (b.baud == baud) return b.constant;
    }
    return 0;
}

tcflag_t CharacterSize(int dataBits) {
    switch (dataBits) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

void SetCharacterFormat(termios& t, const LineSettings& s) {
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CharacterSize(s.dataBits) | CLOCAL | CREAD;
    switch (s.parity) {
        case Parity::kEven:
            t.c_cflag |= PARENB;
            break;
        case Parity::kOdd:
            t.c_cflag |= PARENB | PARODD;
            break;
        case Parity::kMark:
            t.c_cflag |= PARENB | CMSPAR | PARODD;
            break;
        case Parity::kSpace:
            t.c_cflag |= PARENB | CMSPAR;
            break;
        case Parity::kNone:
            break;
    }
    if (s.stopBits == 2) t.c_cflag |= CSTOPB;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
}

}  // namespace

int OpenExclusive(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    // The lock first: terminal exclusive mode does not stop a privileged program.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    // Some drivers lack exclusive mode; the lock above already keeps other programs out.
    ::ioctl(fd, TIOCEXCL);
    return fd;
}

bool MakeRaw(int fd) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return false;
    ::cfmakeraw(&t);  // keeps the speed
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

bool ApplySettings(int fd, const LineSettings& s) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return false;
    ::cfmakeraw(&t);
    SetCharacterFormat(t, s);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    const speed_t constant = StandardConstant(s.baud);
    if (constant != 0) {
        ::cfsetispeed(&t, constant);
        ::cfsetospeed(&t, constant);
    }
    if (::tcsetattr(fd, TCSANOW, &t) != 0) return false;
    return constant != 0 || SetCustomBaud(fd, s.baud);
}

int CurrentBaud(int fd) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return 0;
    const speed_t speed = ::cfgetospeed(&t);
    for (const BaudConstant& b : kStandardBauds) {
        if (b.constant == speed) return b.baud;
    }
    return ReadCustomBaud(fd);
}

void AskLowLatency(int fd) {
    serial_struct info{};
    if (::ioctl(fd, TIOCGSERIAL, &info) != 0) return;  // ENOTTY or EINVAL: no such setting
    if (info.flags & ASYNC_LOW_LATENCY) return;
    info.flags |= ASYNC_LOW_LATENCY;
    ::ioctl(fd, TIOCSSERIAL, &info);
}

void RaiseModemLines(int fd) {
    int lines = TIOCM_RTS | TIOCM_DTR;
    ::ioctl(fd, TIOCMBIS, &lines);  // ENOTTY or EINVAL on pseudo-terminals: nothing to hold
}

int OutputQueued(int fd) {
    int queued = 0;
    return ::ioctl(fd, TIOCOUTQ, &queued) == 0 ? queued : 0;
}

ReadOutcome ReadAvailable(int fd, char* buffer, size_t size, size_t& count) {
    count = 0;
    const ssize_t n = ::read(fd, buffer, size);
    if (n > 0) {
        count = static_cast<size_t>(n);
        return ReadOutcome::kData;
    }
    if (n < 0) {
        return errno == EAGAIN || errno == EINTR ? ReadOutcome::kNothing : ReadOutcome::kLost;
    }
    // Nothing read: a device that was unplugged no longer even gives its settings.
    termios t{};
    return ::tcgetattr(fd, &t) == 0 ? ReadOutcome::kNothing : ReadOutcome::kLost;
}

void PurgeInput(int fd) {
    ::tcflush(fd, TCIFLUSH);
}

void PurgeBoth(int fd) {
    ::tcflush(fd, TCIOFLUSH);
}

int InputQueued(int fd) {
    int queued = 0;
    return ::ioctl(fd, FIONREAD, &queued) == 0 ? queued : 0;
}

long LineErrorCount(int fd) {
    serial_icounter_struct counters{};
    if (::ioctl(fd, TIOCGICOUNT, &counters) != 0) return -1;
    return static_cast<long>(counters.frame) + counters.parity + counters.overrun +
           counters.buf_overrun + counters.brk;
}

}  // namespace serial::tty
