// Requests from the operating system to end the process, delivered to the program's own
// thread instead of ending the process on the spot.
//
// On POSIX the requests are SIGTERM (kill, the system shutting down), SIGHUP (the terminal or
// the session going away) and SIGINT (Ctrl-C). Their handlers only write one byte into a
// pipe (the self-pipe); the program's event loop watches the pipe's read end and does all the
// work of ending on its own thread, where every function may be called. The handlers stay
// installed until stopTerminationWatch, so a second request while the program is ending only
// adds a byte and can never cut the shutdown short.
//
// The interface is the same for every system: an implementation for another one delivers its
// requests (a console control event, say) the same way, as readable data on a descriptor that
// an event loop's socket notifier can watch.
//
// Not thread-safe: start, take and stop belong to one thread (the user-interface thread).
#pragma once

#include <cstdint>

// Arms the watch: creates the pipe and installs the handlers. A request whose signal is
// ignored when the watch is armed (a program started under nohup ignores SIGHUP) stays
// ignored, as whoever started the process asked. Arming an armed watch changes nothing.
// Answers 0, or -errno when the system refuses (then nothing is installed).
int startTerminationWatch();

// The descriptor that is readable while requests are pending (the pipe's read end), or -1
// while the watch is not armed. It belongs to the watch: never read or close it directly.
std::intptr_t terminationNotifier();

// Consumes the pending requests without blocking. Answers how many arrived since the last
// call (0 when none, and while the watch is not armed). Requests that arrive in a burst faster
// than they are taken may be counted as fewer, never as none.
int takeTerminationRequests();

// Disarms the watch: restores the dispositions found by startTerminationWatch and closes the
// pipe; pending requests are dropped. Meant for tests; a program keeps the watch until it ends.
void stopTerminationWatch();
