// The termination watch over POSIX signals and a self-pipe.
#include "platform/termination.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGHUP, SIGINT};

// The handler reads the write end from here: a lock-free atomic is async-signal-safe.
std::atomic<int> gWriteEnd{-1};
int gReadEnd = -1;
struct sigaction gPrevious[kSignals.size()];
bool gInstalled[kSignals.size()] = {};

extern "C" void onTerminationSignal(int /*signal*/) {
    // Only async-signal-safe calls here; errno belongs to the code that was interrupted.
    const int savedErrno = errno;
    const int fd = gWriteEnd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const char byte = 1;
        // A full pipe already holds pending requests: dropping this byte loses nothing.
        [[maybe_unused]] const ssize_t ignored = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

void restoreHandlers() {
    for (size_t i = 0; i < kSignals.size(); ++i) {
        if (gInstalled[i]) {
            ::sigaction(kSignals[i], &gPrevious[i], nullptr);
            gInstalled[i] = false;
        }
    }
}

void closePipe() {
    const int writeEnd = gWriteEnd.exchange(-1);
    if (writeEnd >= 0) {
        ::close(writeEnd);
    }
    if (gReadEnd >= 0) {
        ::close(gReadEnd);
        gReadEnd = -1;
    }
}

} // namespace

int startTerminationWatch() {
    if (gReadEnd >= 0) {
        return 0;
    }
    // Non-blocking on both ends: the handler must never wait, and taking must never block.
    // Close-on-exec keeps the pipe out of programs this process starts.
    int ends[2];
    if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) {
        return -errno;
    }
    gReadEnd = ends[0];
    gWriteEnd.store(ends[1]);

    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Restarting interrupted calls keeps a card exchange or a file write that runs when the
    // signal comes from failing with EINTR: the request waits until the work is done.
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kSignals.size(); ++i) {
        struct sigaction current {};
        if (::sigaction(kSignals[i], nullptr, &current) != 0) {
            const int err = errno;
            restoreHandlers();
            closePipe();
            return -err;
        }
        if (current.sa_handler == SIG_IGN) {
            continue;
        }
        if (::sigaction(kSignals[i], &action, &gPrevious[i]) != 0) {
            const int err = errno;
            restoreHandlers();
            closePipe();
            return -err;
        }
        gInstalled[i] = true;
    }
    return 0;
}

std::intptr_t terminationNotifier() {
    return gReadEnd;
}

int takeTerminationRequests() {
    if (gReadEnd < 0) {
        return 0;
    }
    int count = 0;
    char bytes[64];
    for (;;) {
        const ssize_t n = ::read(gReadEnd, bytes, sizeof bytes);
        if (n > 0) {
            count += static_cast<int>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break; // empty (EAGAIN); the write end never closes while armed
        }
    }
    return count;
}

void stopTerminationWatch() {
    restoreHandlers();
    closePipe();
}
