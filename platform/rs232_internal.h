// What the serial backends of the operating systems share: the port range, the default
// time-out, the deadline arithmetic, the port table and the reasons of a failed open.
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

// Why an open failed, in both languages the programs speak; the caller picks one.
struct Reason {
    std::string german;
    std::string english;
};

// The operator's sentences, the same on every system.
inline Reason invalidPortReason(int port) {
    const std::string number = std::to_string(port);
    return {"Die COM-Nummer " + number + " liegt nicht in 1 bis 256.",
            "The COM number " + number + " is not within 1 to 256."};
}
inline Reason unsupportedParametersReason() {
    return {"Die Schnittstellenparameter werden nicht unterstützt.",
            "The link parameters are not supported."};
}
inline Reason unmappedPortReason(int port) {
    const std::string number = std::to_string(port);
    return {"COM " + number + " ist keinem Gerät zugeordnet.",
            "COM " + number + " is not assigned to any device."};
}
inline Reason busyReason(const std::string &device) {
    return {device + " ist belegt: ein anderes Programm verwendet die Schnittstelle.",
            device + " is busy: another program is using the port."};
}
inline Reason missingDeviceReason(const std::string &device) {
    return {"Gerät " + device + " ist nicht vorhanden.", "Device " + device + " does not exist."};
}
// The system refused the link parameters, for the reason given (in each language).
inline Reason parametersRefusedReason(const std::string &device, const Reason &why) {
    return {device + ": die Schnittstellenparameter wurden abgelehnt (" + why.german + ").",
            device + ": the link parameters were refused (" + why.english + ")."};
}

// The checks of OpenComConfig's arguments that every system shares: 0, or kComInvalidPort or
// kComInvalidArgument with the reason. rateSupported: whether the system can set the rate.
inline int checkOpenArguments(int port, bool rateSupported, int parity, int dataBits, int stopBits,
                              Reason *reason) {
    if (!validPort(port)) {
        *reason = invalidPortReason(port);
        return kComInvalidPort;
    }
    if (!rateSupported || parity < 0 || parity > 2 || dataBits < 5 || dataBits > 8 ||
        stopBits < 1 || stopBits > 2) {
        *reason = unsupportedParametersReason();
        return kComInvalidArgument;
    }
    return 0;
}

inline Reason framingRefusedReason(const std::string &device, int dataBits) {
    const std::string bits = std::to_string(dataBits);
    return {device + ": die Schnittstelle kann " + bits +
                " Datenbits mit dieser Parität und Geschwindigkeit nicht einstellen.",
            device + ": the port cannot be set to " + bits +
                " data bits with this parity and speed."};
}

} // namespace platform::detail
