// The RS-232 operations: each dispatches to the backend in use, the operating system's own
// unless a test installed another.
#include "platform/rs232.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>

namespace {

std::atomic<SerialBackend *> currentBackend{nullptr};
std::atomic<SerialWaitHook> gWaitHook{nullptr};

long long nowNs() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

SerialBackend &backend() {
    SerialBackend *chosen = currentBackend.load();
    return chosen ? *chosen : systemSerialBackend();
}

// What the last OpenComConfig of this thread gave: its result and why it failed.
thread_local int lastResult = 0;
thread_local OpenFailure lastFailure;

} // namespace

SerialWaitHook setSerialWaitHook(SerialWaitHook hook) {
    return gWaitHook.exchange(hook);
}

SerialWait::SerialWait() : lastRunNs(nowNs()) {}

int SerialWait::slice(int milliseconds) const {
    if (gWaitHook.load() == nullptr)
        return milliseconds;
    return std::min(milliseconds, kSerialWaitSliceMs);
}

void SerialWait::tick() {
    SerialWaitHook hook = gWaitHook.load();
    if (hook == nullptr)
        return;
    const long long now = nowNs();
    if (now - lastRunNs < static_cast<long long>(kSerialWaitSliceMs) * 1000000)
        return;
    hook();
    // Counted from the hook's end: a slow repaint does not make the next one due at once.
    lastRunNs = nowNs();
}

SerialBackend *setSerialBackend(SerialBackend *next) {
    SerialBackend *previous = currentBackend.exchange(next);
    return previous ? previous : &systemSerialBackend();
}

int OpenComConfig(int port, const char *deviceName, long baudRate, int parity, int dataBits,
                  int stopBits, int inputQueueSize, int outputQueueSize) {
    SerialBackend &chosen = backend();
    int result = chosen.open(port, deviceName, baudRate, parity, dataBits, stopBits, inputQueueSize,
                             outputQueueSize);
    lastResult = result;
    lastFailure = result == 0 ? OpenFailure{} : chosen.openFailure();
    return result;
}

int CloseCom(int port) {
    return backend().close(port);
}
int SetComTime(int port, double timeoutSeconds) {
    return backend().setTimeout(port, timeoutSeconds);
}
int FlushInQ(int port) {
    return backend().flushInput(port);
}
int FlushOutQ(int port) {
    return backend().flushOutput(port);
}
int ComWrt(int port, const char *buffer, int count) {
    return backend().write(port, buffer, count);
}
int GetOutQLen(int port) {
    return backend().outputQueueLength(port);
}
int ComRdByte(int port) {
    return backend().readByte(port);
}
double comTimeoutSeconds(int port) {
    return backend().timeout(port);
}
const OpenFailure &lastOpenFailure() {
    return lastFailure;
}
int lastOpenFailureCode() {
    return lastResult;
}
