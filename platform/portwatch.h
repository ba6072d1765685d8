// Notice of serial ports coming and going, from the operating system's own events.
//
// A PortWatch follows the places the COM-port list comes from (platform/comports.h). On
// Windows that is the registry key HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM, whose
// values serial drivers add and remove as adapters come and go. On Linux it is the
// device directory, where ttyS/ttyUSB/ttyACM nodes appear and vanish as adapters are plugged
// in and pulled out, its serial/by-id links, its pseudo-terminals (for port-map entries that
// name one), the port map directory, and every link (and the device) that a port-map entry
// reaches its device through, wherever it lies. A directory that does not exist yet is watched
// for from its nearest existing parent, so a port map made after the start is followed too;
// and every directory above a watched one is watched for its component of the path, so a
// parent renamed away and made again (the settings folder) is followed, not the renamed copy.
//
// It does not say what changed: a caller that hears of a change reads listComPorts() anew and
// compares. Nothing polls: between changes the process is not woken. Events in the watched
// directories that cannot touch the list (a terminal window's pseudo-terminal, a temporary
// file in the port map) are consumed without being reported.
//
// Where the platform gives no such notice, start() answers kPortWatchUnsupported; the list is
// then read when it is asked for, as without a watch.
//
// One PortWatch is used by one thread at a time.
#pragma once

#include <memory>

// start(): the platform has no notice of port changes.
inline constexpr int kPortWatchUnsupported = -1000;

class PortWatch {
public:
    PortWatch();
    ~PortWatch();
    PortWatch(const PortWatch &) = delete;
    PortWatch &operator=(const PortWatch &) = delete;

    // Starts watching the roots in effect now (setComPortRoots); a watch already running is
    // restarted. Answers 0, kPortWatchUnsupported, or a negative errno value.
    int start();
    // Ends the watch; descriptor() is -1 afterwards. Safe to call when not started.
    void stop();

    // A descriptor that turns readable when a change may be pending, for poll() or an event
    // loop (on Windows a socket, which select() and Qt's socket notifier watch there); -1 when
    // not started. Its contents are read only through takeChanges().
    int descriptor() const;

    // Consumes everything pending without waiting. True when any of it concerns the port list
    // (a matching device node, by-id link or port-map entry came or went, or a watched
    // directory itself appeared, vanished or was moved). False when not started.
    bool takeChanges();

    // Waits up to timeoutMs milliseconds (negative: without limit) for a change that concerns
    // the port list; a signal that does not end the process does not end the wait. True when a
    // change came; false on time-out, when not started, or when the wait itself fails.
    bool waitForChange(int timeoutMs);

private:
    // Waits up to timeoutMs milliseconds (negative: without limit) for descriptor() to turn
    // readable: 1 when it did, 0 on time-out or an interrupting signal, -1 when the wait fails.
    // Each system's own.
    int waitReadable(int timeoutMs) const;

    struct Impl;
    std::unique_ptr<Impl> impl;
};
