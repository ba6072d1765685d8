// The serial backend over POSIX termios: real ttys, USB adapters and pseudo-terminals.
#include "platform/rs232.h"

#include "platform/comports.h"
#include "platform/rs232_internal.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <memory>
#include <mutex>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

using namespace platform::detail;

namespace {

// Unix98 pseudo-terminal slaves live on character majors 136-143.
constexpr unsigned kPtyMajorFirst = 136;
constexpr unsigned kPtyMajorLast = 143;

// What a termination signal's handler needs to put an open port back: the descriptor and the
// settings to restore, published without a lock (a handler cannot take one). The descriptor is
// published after the settings and withdrawn before the port is closed.
struct SignalRelease {
    std::atomic<int> fd{-1};
    termios previous{};
};
std::array<SignalRelease, kMaxPort> gSignalRelease;

void publishForSignals(int port, int fd, const termios &previous) {
    SignalRelease &release = gSignalRelease[static_cast<size_t>(port - 1)];
    release.previous = previous;
    release.fd.store(fd);
}

void withdrawFromSignals(int port) {
    gSignalRelease[static_cast<size_t>(port - 1)].fd.store(-1);
}

// The handler: only calls that are safe in a handler (ioctl, tcsetattr, sigaction, raise).
// The process then ends by the same signal, as it would have without the handler: its parent
// sees the signal, a shell the status 128 + its number.
extern "C" void releasePortsAndEnd(int signalNumber) {
    for (SignalRelease &release : gSignalRelease) {
        const int fd = release.fd.load();
        if (fd < 0)
            continue;
        tcflush(fd, TCIOFLUSH);
        tcsetattr(fd, TCSANOW, &release.previous);
        ioctl(fd, TIOCNXCL);
    }
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signalNumber, &fallback, nullptr);
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, signalNumber);
    sigprocmask(SIG_UNBLOCK, &blocked, nullptr);
    raise(signalNumber);
    _exit(128 + signalNumber);
}

// The wait left for poll(), whose time-out is an int of milliseconds.
int pollMilliseconds(Clock::time_point deadline) {
    return static_cast<int>(millisecondsUntil(deadline));
}

speed_t speedFor(long baudRate) {
    switch (baudRate) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B0;
    }
}

bool isPseudoTerminal(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    unsigned maj = major(st.st_rdev);
    return maj >= kPtyMajorFirst && maj <= kPtyMajorLast;
}

// The device number as /proc/<pid>/stat writes a controlling terminal (tty_nr).
unsigned long long procTtyNumber(dev_t device) {
    const unsigned long long maj = major(device);
    const unsigned long long min = minor(device);
    return (min & 0xFF) | (maj << 8) | ((min & ~0xFFULL) << 12);
}

// Whether the tty is a terminal that a session may be using: a pseudo-terminal, a virtual
// console, /dev/tty or /dev/console. Serial lines (ttyS, USB adapters) are left out: reading
// every process's state costs milliseconds, and a serial adapter is no session's terminal.
bool mayServeASession(dev_t device) {
    const unsigned maj = major(device);
    return (maj >= kPtyMajorFirst && maj <= kPtyMajorLast) || (maj == 4 && minor(device) < 64) ||
           maj == 5;
}

// Whether a process uses the device as its standard input, output or error, as a shell and
// the programs it runs do with their terminal. A process whose descriptors cannot be read
// (another user's) counts as using it.
bool usesAsStandardStream(const std::string &pid, dev_t device) {
    for (const char *stream : {"0", "1", "2"}) {
        struct stat st {};
        const std::string path = "/proc/" + pid + "/fd/" + stream;
        if (stat(path.c_str(), &st) != 0) {
            if (errno == EACCES || errno == EPERM)
                return true;
            continue;
        }
        if (S_ISCHR(st.st_mode) && st.st_rdev == device)
            return true;
    }
    return false;
}

// Whether the tty is the terminal of a session in use: the controlling terminal of some
// session that a process of it reads or writes as its standard stream (a shell's or a login's
// terminal). A controlling terminal alone is not enough: a daemon that opens a serial port
// without O_NOCTTY (Wine's server does) gets it as its controlling terminal while it uses it
// as a port. The kernel tells a process only about its own controlling terminal, so the
// others are read from /proc.
bool controlsASession(int fd) {
    if (tcgetsid(fd) >= 0)
        return true;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode) || !mayServeASession(st.st_rdev))
        return false;
    const std::string wanted = std::to_string(procTtyNumber(st.st_rdev));
    DIR *proc = opendir("/proc");
    if (!proc)
        return false;
    bool found = false;
    while (const dirent *entry = readdir(proc)) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9')
            continue;
        const std::string path = std::string("/proc/") + entry->d_name + "/stat";
        const int statFd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (statFd < 0)
            continue;
        char line[1024];
        const ssize_t n = ::read(statFd, line, sizeof line - 1);
        ::close(statFd);
        if (n <= 0)
            continue;
        line[n] = '\0';
        // After the command's closing parenthesis: state, ppid, pgrp, session, tty_nr.
        const char *field = std::strrchr(line, ')');
        for (int skip = 0; field && skip < 5; ++skip)
            field = std::strchr(field + 1, ' ');
        if (!field)
            continue;
        const char *end = field + 1 + std::strcspn(field + 1, " ");
        if (std::string(field + 1, end) == wanted &&
            usesAsStandardStream(entry->d_name, st.st_rdev)) {
            found = true;
            break;
        }
    }
    closedir(proc);
    return found;
}

std::string groupOf(const std::string &path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return "dialout";
    std::array<char, 4096> scratch{};
    struct group grp {};
    struct group *found = nullptr;
    if (getgrgid_r(st.st_gid, &grp, scratch.data(), scratch.size(), &found) == 0 && found)
        return found->gr_name;
    return std::to_string(st.st_gid);
}

// The system's error number with its words (strerror, which has one language).
OpenFailure withSystemError(OpenFailure failure, int err) {
    failure.systemError = err;
    failure.systemMessage = std::strerror(err);
    failure.systemMessageEnglish = failure.systemMessage;
    return failure;
}

OpenFailure failureForErrno(int err, int port, const std::string &device) {
    switch (err) {
    case EACCES:
    case EPERM: {
        OpenFailure failure = makeOpenFailure(OpenFailureKind::AccessDenied, port, device);
        failure.group = groupOf(device);
        return failure;
    }
    case EBUSY:
    case EWOULDBLOCK:
        return makeOpenFailure(OpenFailureKind::Busy, port, device);
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return makeOpenFailure(OpenFailureKind::MissingDevice, port, device);
    default:
        return withSystemError(makeOpenFailure(OpenFailureKind::SystemError, port, device), err);
    }
}

int comErrorForErrno(int err) {
    switch (err) {
    case EACCES:
    case EPERM:
        return kComAccessDenied;
    case EBUSY:
    case EWOULDBLOCK:
        return kComBusy;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return kComNoDevice;
    case EIO:
        return kComHangup;
    default:
        return kComSystemError;
    }
}

// The other end is gone: a hung-up tty, a closed pty master, an unplugged adapter.
bool isHangup(int err) {
    return err == EIO || err == ENXIO || err == ENODEV;
}

// The termios calls on one port, under the operations that every system shares.
struct PosixSerial {
    struct State : PortStateBase {
        int fd = -1;
        // Whether this layer put the tty into exclusive mode, and so must take it out again.
        bool exclusiveSet = false;
        // The line's settings as the open found them, put back on close: the tty may be shared
        // with whoever set it up (a terminal left raw stops echoing and editing).
        termios previous{};

        bool isOpen() const { return fd >= 0; }
    };

    static bool rateSupported(long baudRate) { return speedFor(baudRate) != B0; }

    static int open(int port, const std::string &device, long baudRate, int parity, int dataBits,
                    int stopBits, int inputQueueSize, int outputQueueSize, State &state,
                    OpenFailure &failure) {
        (void)inputQueueSize;
        (void)outputQueueSize;
        int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            int err = errno;
            failure = failureForErrno(err, port, device);
            return comErrorForErrno(err);
        }
        termios previous{};
        int result = configure(fd, port, device, speedFor(baudRate), parity, dataBits, stopBits,
                               &previous, failure);
        if (result != 0) {
            ::close(fd);
            return result;
        }
        state.fd = fd;
        state.exclusiveSet = true;
        state.previous = previous;
        publishForSignals(port, fd, previous);
        return 0;
    }

    static void close(int port, State &state) {
        withdrawFromSignals(port);
        // Let queued output leave, but bounded: a stalled or vanished device must not keep
        // close() waiting in the driver.
        auto deadline = deadlineAfter(state.timeoutSeconds);
        SerialWait wait;
        int pending = 0;
        while (ioctl(state.fd, TIOCOUTQ, &pending) == 0 && pending > 0 && Clock::now() < deadline) {
            pollfd pfd{state.fd, 0, 0};
            ::poll(&pfd, 1, 1);
            wait.tick();
        }
        tcflush(state.fd, TCIOFLUSH);
        tcsetattr(state.fd, TCSANOW, &state.previous);
        // Exclusive mode belongs to the tty, not to this descriptor: leave it as it was found,
        // or another holder of the tty (the simulator) would lock every later open out. Only
        // the mode this layer set is cleared.
        if (state.exclusiveSet)
            ioctl(state.fd, TIOCNXCL);
        state.exclusiveSet = false;
        ::close(state.fd);
        state.fd = -1;
    }

    // Every read and write waits by poll() with the deadline: nothing to set in the driver.
    static int setTimeout(State &, double) { return 0; }

    static int flushInput(State &state) {
        return tcflush(state.fd, TCIFLUSH) == 0 ? 0 : failureOf(errno);
    }

    static int flushOutput(State &state) {
        return tcflush(state.fd, TCOFLUSH) == 0 ? 0 : failureOf(errno);
    }

    static int write(State &state, const char *buffer, int count) {
        auto deadline = deadlineAfter(state.timeoutSeconds);
        SerialWait wait;
        int written = 0;
        while (written < count) {
            ssize_t n = ::write(state.fd, buffer + written, count - written);
            if (n > 0) {
                written += static_cast<int>(n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN)
                return failureOf(errno);
            // The kernel queue is full: wait for room, but never past the time-out.
            int left = pollMilliseconds(deadline);
            if (left == 0)
                break;
            pollfd pfd{state.fd, POLLOUT, 0};
            int ready = ::poll(&pfd, 1, wait.slice(left));
            if (ready > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)))
                return written > 0 ? written : static_cast<int>(kComHangup);
            if (ready == 0)
                wait.tick();
        }
        return written;
    }

    static int outputQueueLength(State &state) {
        int pending = 0;
        if (ioctl(state.fd, TIOCOUTQ, &pending) != 0)
            return failureOf(errno);
        return pending;
    }

    static int receive(State &state) {
        auto deadline = deadlineAfter(state.timeoutSeconds);
        SerialWait wait;
        ReadBuffer &received = state.received;
        for (;;) {
            ssize_t n = ::read(state.fd, received.bytes.data(), received.bytes.size());
            if (n > 0)
                return received.keep(static_cast<size_t>(n));
            // With VMIN 1 and O_NONBLOCK an empty queue gives EAGAIN; 0 is end of file, which
            // a tty only reports once it has been hung up.
            if (n == 0)
                return static_cast<int>(kComHangup);
            if (errno == EINTR)
                continue;
            if (errno != EAGAIN)
                return isHangup(errno) ? static_cast<int>(kComHangup) : failureOf(errno);
            int left = pollMilliseconds(deadline);
            if (left == 0)
                return static_cast<int>(kComTimeout);
            pollfd pfd{state.fd, POLLIN, 0};
            int ready = ::poll(&pfd, 1, wait.slice(left));
            if (ready < 0 && errno != EINTR)
                return failureOf(errno);
            if (ready > 0 && !(pfd.revents & POLLIN) &&
                (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)))
                return static_cast<int>(kComHangup);
            if (ready == 0)
                wait.tick();
        }
    }

private:
    static int failureOf(int err) { return isHangup(err) ? kComHangup : kComSystemError; }

    // Exclusive use, raw mode and the link framing. A pseudo-terminal cannot frame 7 data bits
    // with parity: the kernel accepts CS7|PARENB|PARODD once without applying it and refuses
    // every later request on that pty with EINVAL, so a pty is set raw at 8 bits without
    // parity. On a real tty a framing the driver refuses is an open failure. `previous`
    // receives the settings found; a failed open after they were changed puts them back.
    static int configure(int fd, int port, const std::string &device, speed_t speed, int parity,
                         int dataBits, int stopBits, termios *previous, OpenFailure &failure) {
        // A session's terminal (a shell's, reached through a stale port-map entry whose
        // pseudo-terminal number was reused) is never written into: the bytes would land in
        // the shell and raw mode would be left on it.
        if (controlsASession(fd)) {
            failure = makeOpenFailure(OpenFailureKind::SessionTerminal, port, device);
            return kComBusy;
        }
        // Exclusive mode tells of another holder, but only while one lives. A real tty's mode
        // ends with its last descriptor; a pseudo-terminal's outlives a holder that was killed
        // (the pair lives as long as its master). Every holder through this layer also holds
        // the flock on its descriptor, which ends with the process however it ends: exclusive
        // mode on a pseudo-terminal without that lock is a killed holder's leftover, taken
        // over (root's open gets this far; the simulator clears it for everybody else).
        // Exclusive mode on a real tty, or with the lock held, is a living holder: busy, and
        // its mode is left in place. An older kernel that cannot tell is taken at its word.
        int exclusive = 0;
        const bool pty = isPseudoTerminal(fd);
        if (ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0 && !pty) {
            failure = failureForErrno(EBUSY, port, device);
            return kComBusy;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            int err = errno;
            failure = failureForErrno(err, port, device);
            return comErrorForErrno(err);
        }
        termios tio{};
        if (tcgetattr(fd, &tio) != 0) {
            int err = errno;
            failure = failureForErrno(err, port, device);
            return comErrorForErrno(err);
        }
        *previous = tio;
        cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD;
        tio.c_cflag &= ~(CRTSCTS | HUPCL);
        tio.c_iflag &= ~(IXON | IXOFF | IXANY);
        // VMIN 1 with O_NONBLOCK: an empty queue reads as EAGAIN, a hang-up as end of file.
        tio.c_cc[VMIN] = 1;
        tio.c_cc[VTIME] = 0;
        cfsetispeed(&tio, speed);
        cfsetospeed(&tio, speed);
        tcflag_t framing = CS8;
        if (!pty) {
            static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
            framing = kSizes[dataBits - 5];
            if (parity != 0)
                framing |= PARENB | (parity == 1 ? PARODD : 0);
            if (stopBits == 2)
                framing |= CSTOPB;
            tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
            tio.c_cflag |= framing;
            if (parity != 0)
                tio.c_iflag |= INPCK;
        }
        if (tcsetattr(fd, TCSANOW, &tio) != 0) {
            int err = errno;
            failure = withSystemError(
                makeOpenFailure(OpenFailureKind::ParametersRefused, port, device), err);
            return err == EINVAL ? kComInvalidArgument : comErrorForErrno(err);
        }
        if (!pty) {
            // tcsetattr succeeds when any part of the request was applied: read it back.
            termios applied{};
            tcflag_t mask = CSIZE | PARENB | PARODD | CSTOPB;
            if (tcgetattr(fd, &applied) != 0 || (applied.c_cflag & mask) != framing ||
                cfgetospeed(&applied) != speed) {
                failure = makeOpenFailure(OpenFailureKind::FramingRefused, port, device);
                failure.dataBits = dataBits;
                tcsetattr(fd, TCSANOW, previous);
                return kComInvalidArgument;
            }
        }
        tcflush(fd, TCIOFLUSH);
        // Set last, so that a failed open never leaves the tty locked against others.
        if (ioctl(fd, TIOCEXCL) != 0) {
            int err = errno;
            tcsetattr(fd, TCSANOW, previous);
            failure = failureForErrno(err, port, device);
            return comErrorForErrno(err);
        }
        return 0;
    }
};

} // namespace

SerialBackend &systemSerialBackend() {
    static SystemSerialBackend<PosixSerial> instance;
    return instance;
}

int releasePortsOnTerminationSignals() {
    struct sigaction action {};
    action.sa_handler = releasePortsAndEnd;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
        struct sigaction found {};
        if (sigaction(signalNumber, nullptr, &found) != 0)
            return -errno;
        // A signal ignored by whoever started the process (nohup) stays ignored.
        if (found.sa_handler == SIG_IGN)
            continue;
        if (sigaction(signalNumber, &action, nullptr) != 0)
            return -errno;
    }
    return 0;
}
