// What the serial backends of the operating systems share: the port range, the default
// time-out, the deadline arithmetic, the port table and the checks before an open.
#pragma once

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

} // namespace platform::detail
