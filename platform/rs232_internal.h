// What the serial backends of the operating systems share: the port range, the default
// time-out, the deadline arithmetic, the port table, the checks before an open and the
// operations that are the same on every system (SystemSerialBackend).
#pragma once

#include "platform/comports.h"
#include "platform/rs232.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <mutex>
#include <string>
#include <utility>

namespace platform::detail {

inline constexpr int kMaxPort = 256;
inline constexpr double kDefaultTimeoutSeconds = 1.0;
// The longest time-out a port accepts: far beyond any use on a 9600-baud line, and short
// enough for every system's wait in milliseconds.
inline constexpr double kMaxTimeoutSeconds = 1.0e6;

using Clock = std::chrono::steady_clock;

inline bool validPort(int port) {
    return port >= 1 && port <= kMaxPort;
}

inline Clock::time_point deadlineAfter(double seconds) {
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(
                              std::chrono::duration<double>(std::max(0.0, seconds)));
}

// Milliseconds left until the deadline, rounded up so that a wait never ends just before it
// and spins on a 0 ms wait; 0 once it has passed.
inline long long millisecondsUntil(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
    if (left.count() <= 0)
        return 0;
    return (left.count() + 999) / 1000;
}

// A backend's ports: one state per COM number, each with its own lock. State has a member
// `std::mutex lock` and `bool isOpen() const`.
template <typename State> class PortTable {
public:
    // The state of a valid port number.
    State &at(int port) { return ports[static_cast<size_t>(port - 1)]; }

    // Runs the operation on an open port under its lock; the operation's own result type
    // carries the codes of a number out of range or a port that is not open.
    template <typename Operation>
    auto withOpenPort(int port, Operation operation)
        -> decltype(operation(std::declval<State &>())) {
        if (!validPort(port))
            return kComInvalidPort;
        State &state = at(port);
        std::lock_guard guard(state.lock);
        if (!state.isOpen())
            return kComNotOpen;
        return operation(state);
    }

private:
    std::array<State, kMaxPort> ports;
};

// Why an open failed: `kind` with the COM number and the device it concerns.
inline OpenFailure makeOpenFailure(OpenFailureKind kind, int port, const std::string &device = {}) {
    OpenFailure failure;
    failure.kind = kind;
    failure.port = port;
    failure.device = device;
    return failure;
}

// The checks of OpenComConfig's arguments that every system shares: 0, or kComInvalidPort or
// kComInvalidArgument with the reason. rateSupported: whether the system can set the rate.
inline int checkOpenArguments(int port, bool rateSupported, int parity, int dataBits, int stopBits,
                              OpenFailure *failure) {
    if (!validPort(port)) {
        *failure = makeOpenFailure(OpenFailureKind::InvalidPort, port);
        return kComInvalidPort;
    }
    if (!rateSupported || parity < 0 || parity > 2 || dataBits < 5 || dataBits > 8 ||
        stopBits < 1 || stopBits > 2) {
        *failure = makeOpenFailure(OpenFailureKind::UnsupportedParameters, port);
        return kComInvalidArgument;
    }
    return 0;
}

// Bytes already taken from the system but not yet handed out by readByte: reading in chunks
// keeps a 29-byte answer from costing 29 system calls.
struct ReadBuffer {
    std::array<unsigned char, 512> bytes{};
    size_t start = 0;
    size_t end = 0;

    bool empty() const { return start >= end; }
    int take() { return bytes[start++]; }
    void clear() { start = end = 0; }
    // Keeps the `count` (> 0) bytes just read into `bytes` and hands out the first.
    int keep(size_t count) {
        start = 1;
        end = count;
        return bytes[0];
    }
};

// What every system keeps for a port besides its handle.
struct PortStateBase {
    double timeoutSeconds = kDefaultTimeoutSeconds;
    ReadBuffer received;
    std::mutex lock;
};

// A system's serial backend made of its calls on one port. The checks of the arguments, the
// port table with its locks, the time-out, the read buffer and the reason of a failed open are
// the same on every system. System supplies, as static members called with the port locked:
//   State                   a PortStateBase with the system's handle and bool isOpen() const
//   rateSupported(baudRate) whether the system can set the rate
//   open(port, device, baudRate, parity, dataBits, stopBits, inputQueueSize, outputQueueSize,
//        state, failure)    opens the device into the closed state: 0, or a ComError with
//                           `failure` set
//   close(port, state)      closes an open state (queued output bounded by its time-out)
//   setTimeout(state, seconds)  the system's part of a new time-out: 0 or a ComError
//   flushInput(state), flushOutput(state), outputQueueLength(state)
//   write(state, buffer, count) as SerialBackend::write, on valid arguments
//   receive(state)          waits up to the time-out for bytes into state.received: the first
//                           one, or a ComError
template <typename System> class SystemSerialBackend final : public SerialBackend {
public:
    using State = typename System::State;

    int open(int port, const char *deviceName, long baudRate, int parity, int dataBits,
             int stopBits, int inputQueueSize, int outputQueueSize) override {
        if (const int refused = checkOpenArguments(port, System::rateSupported(baudRate), parity,
                                                   dataBits, stopBits, &failure))
            return refused;
        failure = {};
        State &state = ports.at(port);
        std::lock_guard guard(state.lock);
        if (state.isOpen())
            System::close(port, state);
        const std::string device = deviceName && *deviceName ? deviceName : comDevicePath(port);
        if (device.empty()) {
            failure = makeOpenFailure(OpenFailureKind::Unmapped, port);
            return kComNoDevice;
        }
        const int result = System::open(port, device, baudRate, parity, dataBits, stopBits,
                                        inputQueueSize, outputQueueSize, state, failure);
        if (result == 0) {
            state.timeoutSeconds = kDefaultTimeoutSeconds;
            state.received.clear();
        }
        return result;
    }

    int close(int port) override {
        return ports.withOpenPort(port, [port](State &state) {
            System::close(port, state);
            state.received.clear();
            return 0;
        });
    }

    int setTimeout(int port, double seconds) override {
        return ports.withOpenPort(port, [seconds](State &state) {
            if (!(seconds >= 0.0) || seconds > kMaxTimeoutSeconds)
                return static_cast<int>(kComInvalidArgument);
            if (const int refused = System::setTimeout(state, seconds))
                return refused;
            state.timeoutSeconds = seconds;
            return 0;
        });
    }

    double timeout(int port) override {
        return ports.withOpenPort(port, [](State &state) { return state.timeoutSeconds; });
    }

    int flushInput(int port) override {
        return ports.withOpenPort(port, [](State &state) {
            state.received.clear();
            return System::flushInput(state);
        });
    }

    int flushOutput(int port) override {
        return ports.withOpenPort(port, [](State &state) { return System::flushOutput(state); });
    }

    int write(int port, const char *buffer, int count) override {
        if (count < 0 || (count > 0 && !buffer))
            return kComInvalidArgument;
        return ports.withOpenPort(
            port, [&](State &state) { return System::write(state, buffer, count); });
    }

    int outputQueueLength(int port) override {
        return ports.withOpenPort(port,
                                  [](State &state) { return System::outputQueueLength(state); });
    }

    int readByte(int port) override {
        return ports.withOpenPort(port, [](State &state) {
            return state.received.empty() ? System::receive(state) : state.received.take();
        });
    }

    OpenFailure openFailure() override { return failure; }

private:
    PortTable<State> ports;
    static inline thread_local OpenFailure failure;
};

} // namespace platform::detail
