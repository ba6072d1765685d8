// Serial ports by COM number: the RS-232 operations the card protocol is written against.
//
// A port is named by its COM number 1-256; comDevicePath() (platform/comports.h) turns the
// number into a device. Every operation dispatches to the current SerialBackend: the operating
// system's backend by default (termios on Linux, the communications API of Windows), or a test
// double installed with setSerialBackend().
//
// The two systems' backends keep the same contract. Where they differ:
// - Linux: exclusive use is TIOCEXCL plus flock; a pseudo-terminal (the simulator) is opened
//   without character framing, since it cannot frame 7 data bits with parity.
// - Windows: the device is \\.\COM<n>, opened with share mode 0, so a port another program
//   holds is busy by the system's own rule; 7O1 is set with SetCommState and read back. Under
//   Wine, a COM port that Wine maps to a Linux pseudo-terminal (registry value
//   HKLM\Software\Wine\Ports\COM<n>) is opened without character framing, as on Linux.
//   The reason of a failed open names the COM port (there is no group to join).
//
// Results: 0 (or a count or byte value) on success, a negative ComError on failure; after a
// failed open, lastOpenFailure() says why, for the layer above to word. All
// functions may be called from any thread; one port is meant to be used by one thread at a time.
#pragma once

#include <string>

// Failure results of the RS-232 operations. Callers only rely on "negative means failure"; the
// distinct values say whose fault it was.
enum ComError {
    kComSystemError = -1,     // the operating system refused (see lastOpenFailure())
    kComInvalidPort = -2,     // port number outside 1-256
    kComNotOpen = -3,         // the port is not open
    kComInvalidArgument = -4, // a link parameter or time-out the layer cannot honour
    kComNoDevice = -5,        // no device behind the COM number, or it went away
    kComBusy = -6,            // another program holds the device
    kComAccessDenied = -7,    // no permission to open the device
    kComHangup = -8,          // the other end vanished (USB cable pulled, pty master closed)
    kComTimeout = -99,        // nothing arrived within the time-out
};

// Opens the port with the given link parameters and the port's default time-out (1 s).
// deviceName empty or null: the device comes from comDevicePath(port). parity: 0 none, 1 odd,
// 2 even; dataBits 5-8; stopBits 1-2. The queue sizes are accepted for compatibility (the
// system's own queues are used). An open port is closed first. Returns 0, or a negative ComError;
// after a failure lastOpenFailure() tells why.
int OpenComConfig(int port, const char *deviceName, long baudRate, int parity, int dataBits,
                  int stopBits, int inputQueueSize, int outputQueueSize);

// Closes the port; output still queued may take up to the port's time-out to leave, what
// remains after that is discarded. Returns 0, kComNotOpen or kComInvalidPort.
int CloseCom(int port);

// Sets the time-out in seconds (>= 0) that each single-byte read and each wait for the output
// queue may take. Returns 0 or a negative ComError.
int SetComTime(int port, double timeoutSeconds);

// Discard the bytes waiting in the input or output queue. 0 or a negative ComError.
int FlushInQ(int port);
int FlushOutQ(int port);

// Queues count bytes for sending; waits at most the time-out for room. Returns the number of
// bytes accepted (may be short after the time-out) or a negative ComError.
int ComWrt(int port, const char *buffer, int count);

// The number of bytes not yet sent, or a negative ComError.
int GetOutQLen(int port);

// The next received byte (0-255), waiting at most the time-out; kComTimeout when nothing came,
// another negative ComError on failure (kComHangup at once when the other end is gone).
int ComRdByte(int port);

// The time-out set for an open port in seconds, or a negative ComError.
double comTimeoutSeconds(int port);

// Why an open failed, for the layer above to word (cardlink/openfailure.h): what went wrong,
// and the details that the operator's sentence names.
enum class OpenFailureKind {
    None,                  // the open succeeded
    InvalidPort,           // the number is not within 1-256 (port)
    UnsupportedParameters, // a link parameter the layer cannot set
    Unmapped,              // no device behind the COM number (port)
    AccessDenied,          // no permission (device; group: the group that owns it)
    Busy,                  // another program holds the device (device; on Windows the
                           // system's message, as "Windows: <message>")
    MissingDevice,         // the device is not there (device)
    ParametersRefused,     // the system refused the link parameters (device, system's message)
    FramingRefused,        // the port cannot frame dataBits with this parity and speed (device)
    SystemError,           // any other refusal (device, system's message)
    SessionTerminal,       // the device is a session's controlling terminal (a shell's), which
                           // is never written into (device; Linux only)
};

struct OpenFailure {
    OpenFailureKind kind = OpenFailureKind::None;
    int port = 0;       // the COM number asked for
    std::string device; // the device as the operator knows it: "/dev/ttyUSB0", "COM3"
    std::string group;  // AccessDenied: the group that owns the device
    int dataBits = 0;   // FramingRefused: the data bits asked for
    // The system's error number (errno, GetLastError()) and its own words for it, UTF-8 without
    // the final full stop: in the user's language, and in English where the system has that
    // language (else the same). Empty words when the system has none for the number.
    long systemError = 0;
    std::string systemMessage;
    std::string systemMessageEnglish;
};

// Why the last OpenComConfig on this thread failed; kind None after a successful open. The
// reference stays valid, its contents until the next OpenComConfig on this thread.
const OpenFailure &lastOpenFailure();

// The result of the last OpenComConfig on this thread: 0, or its negative ComError (kComBusy
// tells a port that another program holds from one that is missing or refused).
int lastOpenFailureCode();

// For a program without an event loop (trz4ctl): SIGTERM, SIGHUP and SIGINT put every open port
// back as the open found it (exclusive mode cleared, line settings restored) and then end the
// process by that signal (a shell's status 128 + its number), so that a killed run leaves no
// port locked. A signal
// ignored when this is called (nohup) stays ignored. 0, or -errno. Windows: the system frees a
// port with its process, nothing to do (0).
int releasePortsOnTerminationSignals();

// ---------------------------------------------------------------------------------------------
// Waiting for the device. Every wait of the serial layer (a byte to read, room to write,
// queued output to leave on close) and the protocol's wait for a frame to leave block in
// slices of at most kSerialWaitSliceMs while a wait hook is installed, and call the hook
// between the slices on the thread that waits: the user-interface thread installs one so
// that its window keeps painting while an exchange waits for the card. A wait whose byte or
// room is there at once never calls it. The hook runs while the port is locked: it must not
// call the serial operations, and should return within a few milliseconds.
using SerialWaitHook = void (*)();
inline constexpr int kSerialWaitSliceMs = 10;

// Installs `hook` (null: none, waits simply block) and returns the previous one. Any thread.
SerialWaitHook setSerialWaitHook(SerialWaitHook hook);

// One wait, for the waits of this layer, of its backends and of the layers above: created when
// the wait begins, asked how long to block next, and ticked after each block.
class SerialWait {
public:
    SerialWait();
    // How long to block before the next tick: `milliseconds` (>= 0), cut to one slice while a
    // hook is installed.
    int slice(int milliseconds) const;
    // Calls the hook once the wait has lasted a slice, and from then on at most once a slice.
    void tick();

private:
    long long lastRunNs;
};

// The seam under the operations above. Implementations report failures with ComError values.
class SerialBackend {
public:
    virtual ~SerialBackend() = default;
    virtual int open(int port, const char *deviceName, long baudRate, int parity, int dataBits,
                     int stopBits, int inputQueueSize, int outputQueueSize) = 0;
    virtual int close(int port) = 0;
    virtual int setTimeout(int port, double seconds) = 0;
    virtual double timeout(int port) = 0;
    virtual int flushInput(int port) = 0;
    virtual int flushOutput(int port) = 0;
    virtual int write(int port, const char *buffer, int count) = 0;
    virtual int outputQueueLength(int port) = 0;
    virtual int readByte(int port) = 0;
    // Why the last open failed (kind None when it did not).
    virtual OpenFailure openFailure() = 0;
};

// The operating system's backend (termios on Linux, the Windows communications API on
// Windows); lives for the whole process.
SerialBackend &systemSerialBackend();

// Installs a backend (null: the system's) and returns the previous one. Not owned.
SerialBackend *setSerialBackend(SerialBackend *backend);

// Installs a backend for one scope, e.g. a test double in a test.
class ScopedSerialBackend {
public:
    explicit ScopedSerialBackend(SerialBackend &backend) : previous(setSerialBackend(&backend)) {}
    ~ScopedSerialBackend() { setSerialBackend(previous); }
    ScopedSerialBackend(const ScopedSerialBackend &) = delete;
    ScopedSerialBackend &operator=(const ScopedSerialBackend &) = delete;

private:
    SerialBackend *previous;
};
