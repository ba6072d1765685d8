// The serial backend over the Windows communications API.
#include <windows.h>

#include "platform/rs232.h"

#include "platform/comports.h"
#include "platform/rs232_internal.h"
#include "platform/win32.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <mutex>
#include <string>

using namespace platform::detail;
namespace win32 = platform::win32;

namespace {

// Errors of a port whose device is gone: a pulled USB adapter, a Wine port whose
// pseudo-terminal was closed.
bool isHangup(DWORD error) {
    switch (error) {
    case ERROR_DEVICE_REMOVED:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_BAD_COMMAND:
    case ERROR_GEN_FAILURE:
    case ERROR_OPERATION_ABORTED:
    case ERROR_ACCESS_DENIED:
    case ERROR_IO_DEVICE:
    case ERROR_NOT_READY:
    case ERROR_BROKEN_PIPE:
    case ERROR_HANDLE_EOF:
        return true;
    default:
        return false;
    }
}

int failureOf(DWORD error) {
    return isHangup(error) ? kComHangup : kComSystemError;
}

// The COM number in a device name such as "COM9" or "\\.\COM9", or 0.
int comNumberOfDevice(const std::string &device) {
    std::string name = device;
    if (name.rfind("\\\\.\\", 0) == 0)
        name.erase(0, 4);
    if (name.size() < 4 || (name[0] != 'C' && name[0] != 'c') ||
        (name[1] != 'O' && name[1] != 'o') || (name[2] != 'M' && name[2] != 'm'))
        return 0;
    int number = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || number > kMaxPort)
            return 0;
        number = number * 10 + (name[i] - '0');
    }
    return validPort(number) ? number : 0;
}

// The name the operator knows: "COM9" for the system's device of COM 9.
std::string shownName(const std::string &device) {
    const int number = comNumberOfDevice(device);
    return number != 0 ? "COM" + std::to_string(number) : device;
}

BYTE parityCode(int parity) {
    switch (parity) {
    case 1:
        return ODDPARITY;
    case 2:
        return EVENPARITY;
    default:
        return NOPARITY;
    }
}

DWORD millisecondsOf(double seconds) {
    return static_cast<DWORD>(std::ceil(seconds * 1000.0));
}

// Sets how long one read waits for its first byte and one write for the line, in
// milliseconds; a read then returns what it has. With 0 a read takes only what has arrived.
bool applyWait(HANDLE handle, DWORD milliseconds) {
    COMMTIMEOUTS timeouts{};
    if (milliseconds == 0) {
        timeouts.ReadIntervalTimeout = MAXDWORD;
    } else {
        timeouts.ReadTotalTimeoutConstant = milliseconds;
    }
    // A write constant of 0 would mean no limit at all.
    timeouts.WriteTotalTimeoutConstant = milliseconds == 0 ? 1 : milliseconds;
    return SetCommTimeouts(handle, &timeouts) != 0;
}

// The communications calls on one port, under the operations that every system shares.
struct Win32Serial {
    struct State : PortStateBase {
        HANDLE handle = INVALID_HANDLE_VALUE;
        // The wait now set in the driver for one read or write, in milliseconds: the port's
        // time-out, or a slice of it while a wait hook runs (platform/rs232.h).
        DWORD waitMs = 0;

        bool isOpen() const { return handle != INVALID_HANDLE_VALUE; }
    };

    static bool rateSupported(long baudRate) { return baudRate > 0; }

    static int open(int port, const std::string &device, long baudRate, int parity, int dataBits,
                    int stopBits, int inputQueueSize, int outputQueueSize, State &state,
                    OpenFailure &failure) {
        const std::string shown = shownName(device);
        // Share mode 0: the port is ours alone, and a port another program has open is
        // refused by the system.
        HANDLE handle = CreateFileW(win32::wide(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return win32::comOpenFailure(GetLastError(), port, shown, &failure);
        // The driver's queues, as asked for; a driver that keeps its own sizes is no failure.
        SetupComm(handle, static_cast<DWORD>(std::max(inputQueueSize, 0)),
                  static_cast<DWORD>(std::max(outputQueueSize, 0)));
        const bool pty = win32::wineMapsComPortToPseudoTerminal(comNumberOfDevice(device));
        int result =
            configure(handle, port, shown, baudRate, parity, dataBits, stopBits, pty, failure);
        if (result == 0 && !applyWait(handle, millisecondsOf(kDefaultTimeoutSeconds)))
            result = systemFailure(GetLastError(), port, shown, failure);
        if (result != 0) {
            CloseHandle(handle);
            return result;
        }
        PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
        state.handle = handle;
        state.waitMs = millisecondsOf(kDefaultTimeoutSeconds);
        return 0;
    }

    static void close(int, State &state) {
        // Let queued output leave, but bounded: a stalled or vanished device must not keep
        // the close waiting.
        const auto deadline = deadlineAfter(state.timeoutSeconds);
        SerialWait wait;
        DWORD errors = 0;
        COMSTAT status{};
        while (ClearCommError(state.handle, &errors, &status) && status.cbOutQue > 0 &&
               Clock::now() < deadline) {
            Sleep(1);
            wait.tick();
        }
        PurgeComm(state.handle, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
        CloseHandle(state.handle);
        state.handle = INVALID_HANDLE_VALUE;
    }

    static int setTimeout(State &state, double seconds) {
        return setWait(state, millisecondsOf(seconds)) ? 0 : failureOf(GetLastError());
    }

    static int flushInput(State &state) {
        return PurgeComm(state.handle, PURGE_RXCLEAR | PURGE_RXABORT) ? 0
                                                                      : failureOf(GetLastError());
    }

    static int flushOutput(State &state) {
        return PurgeComm(state.handle, PURGE_TXCLEAR | PURGE_TXABORT) ? 0
                                                                      : failureOf(GetLastError());
    }

    static int write(State &state, const char *buffer, int count) {
        const auto deadline = deadlineAfter(state.timeoutSeconds);
        SerialWait wait;
        int written = 0;
        // The write time-out ends a write that the line cannot take in time; what went out by
        // then is reported. The first try is made even with a time-out of 0.
        for (bool first = true; written < count; first = false) {
            const long long left = millisecondsUntil(deadline);
            if (left == 0 && !first)
                break;
            const int slice = wait.slice(static_cast<int>(std::min<long long>(left, INT_MAX)));
            if (!setWait(state, static_cast<DWORD>(std::max(slice, 1))))
                return written > 0 ? written : failureOf(GetLastError());
            DWORD sent = 0;
            const BOOL ok = WriteFile(state.handle, buffer + written,
                                      static_cast<DWORD>(count - written), &sent, nullptr);
            written += static_cast<int>(sent);
            if (!ok) {
                const DWORD error = GetLastError();
                clearErrors(state.handle);
                return written > 0 ? written : failureOf(error);
            }
            if (written < count)
                wait.tick();
        }
        return written;
    }

    static int outputQueueLength(State &state) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(state.handle, &errors, &status))
            return failureOf(GetLastError());
        return static_cast<int>(status.cbOutQue);
    }

    static int receive(State &state) {
        const auto deadline = deadlineAfter(state.timeoutSeconds);
        SerialWait wait;
        ReadBuffer &received = state.received;
        for (;;) {
            // What has arrived is taken at once; with nothing there, one byte is waited for
            // (the read's wait bounds that), so a read never waits for a full buffer.
            DWORD errors = 0;
            COMSTAT status{};
            if (!ClearCommError(state.handle, &errors, &status))
                return failureOf(GetLastError());
            DWORD wanted = std::min<DWORD>(status.cbInQue, received.bytes.size());
            if (wanted == 0) {
                const long long left = millisecondsUntil(deadline);
                if (left == 0)
                    return static_cast<int>(kComTimeout);
                const int slice = wait.slice(static_cast<int>(std::min<long long>(left, INT_MAX)));
                if (!setWait(state, static_cast<DWORD>(slice)))
                    return failureOf(GetLastError());
                wanted = 1;
            }
            DWORD got = 0;
            if (!ReadFile(state.handle, received.bytes.data(), wanted, &got, nullptr))
                return failureOf(GetLastError());
            if (got > 0)
                return received.keep(got);
            wait.tick();
        }
    }

private:
    // The port's wait, changed in the driver only when it differs: a read or write without a
    // wait hook keeps the time-out set once.
    static bool setWait(State &state, DWORD milliseconds) {
        if (milliseconds == state.waitMs)
            return true;
        if (!applyWait(state.handle, milliseconds))
            return false;
        state.waitMs = milliseconds;
        return true;
    }

    // After a communications error the driver may hold further I/O until the error is read.
    static void clearErrors(HANDLE handle) {
        DWORD errors = 0;
        ClearCommError(handle, &errors, nullptr);
    }

    static int systemFailure(DWORD error, int port, const std::string &shown,
                             OpenFailure &failure) {
        failure = makeOpenFailure(OpenFailureKind::SystemError, port, shown);
        win32::addSystemError(&failure, error);
        return kComSystemError;
    }

    // The link parameters, read back: SetCommState reports success when the driver took any
    // part of the request.
    static int configure(HANDLE handle, int port, const std::string &shown, long baudRate,
                         int parity, int dataBits, int stopBits, bool pty, OpenFailure &failure) {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(handle, &dcb))
            return systemFailure(GetLastError(), port, shown, failure);
        dcb.BaudRate = static_cast<DWORD>(baudRate);
        dcb.fBinary = TRUE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fTXContinueOnXoff = TRUE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        dcb.fAbortOnError = FALSE;
        // Wine hands a COM port mapped to a Linux pseudo-terminal the pty's rule: 7O1 is taken
        // once without effect, then refused (error 87) on every open; bytes pass unframed.
        if (pty) {
            dcb.ByteSize = 8;
            dcb.Parity = NOPARITY;
            dcb.StopBits = ONESTOPBIT;
            dcb.fParity = FALSE;
        } else {
            dcb.ByteSize = static_cast<BYTE>(dataBits);
            dcb.Parity = parityCode(parity);
            dcb.StopBits = stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
            dcb.fParity = parity != 0;
        }
        if (!SetCommState(handle, &dcb)) {
            const DWORD error = GetLastError();
            failure = makeOpenFailure(OpenFailureKind::ParametersRefused, port, shown);
            win32::addSystemError(&failure, error);
            return error == ERROR_INVALID_PARAMETER ? kComInvalidArgument : failureOf(error);
        }
        if (pty)
            return 0;
        DCB applied{};
        applied.DCBlength = sizeof applied;
        if (!GetCommState(handle, &applied) || applied.BaudRate != dcb.BaudRate ||
            applied.ByteSize != dcb.ByteSize || applied.Parity != dcb.Parity ||
            applied.StopBits != dcb.StopBits) {
            failure = makeOpenFailure(OpenFailureKind::FramingRefused, port, shown);
            failure.dataBits = dataBits;
            return kComInvalidArgument;
        }
        return 0;
    }
};

} // namespace

int releasePortsOnTerminationSignals() {
    // A port's handle, and with it its exclusive use, ends with the process however it ends.
    return 0;
}

SerialBackend &systemSerialBackend() {
    static SystemSerialBackend<Win32Serial> instance;
    return instance;
}
