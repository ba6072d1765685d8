// The scripted serial stand-in.
#include "platform/serial_double.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// The real layer's time-out: blocked in slices, the wait hook called between them.
void waitThroughSilence(double seconds) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(seconds));
    SerialWait wait;
    for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
        std::this_thread::sleep_for(std::chrono::milliseconds(wait.slice(static_cast<int>(left))));
        wait.tick();
    }
}

} // namespace

int SerialDouble::count(const std::string &call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

int SerialDouble::open(int port, const char *deviceName, long baudRate, int parity, int dataBits,
                       int stopBits, int inputQueueSize, int outputQueueSize) {
    calls.push_back("open");
    openedPort = port;
    openedDevice = deviceName ? deviceName : "";
    openedBaud = baudRate;
    openedParity = parity;
    openedDataBits = dataBits;
    openedStopBits = stopBits;
    openedInQueue = inputQueueSize;
    openedOutQueue = outputQueueSize;
    if (openResult != 0)
        return openResult;
    isOpen = true;
    return 0;
}

int SerialDouble::close(int) {
    calls.push_back("close");
    isOpen = false;
    return closeResult;
}

int SerialDouble::setTimeout(int, double seconds) {
    calls.push_back("time");
    if (setTimeResult != 0)
        return setTimeResult;
    timeoutSet = seconds;
    return 0;
}

double SerialDouble::timeout(int) {
    return timeoutSet;
}

int SerialDouble::flushInput(int) {
    calls.push_back("flushIn");
    if (flushInResult != 0)
        return flushInResult;
    input.clear();
    return 0;
}

int SerialDouble::flushOutput(int) {
    calls.push_back("flushOut");
    return flushOutResult;
}

int SerialDouble::write(int, const char *buffer, int count) {
    calls.push_back("write");
    int accepted = overrideWrite ? writeResult : count;
    if (accepted > 0)
        written.append(buffer, static_cast<size_t>(std::min(accepted, count)));
    std::string frame(buffer, static_cast<size_t>(std::max(count, 0)));
    if (!replies.empty()) {
        input += replies.front();
        replies.pop_front();
    } else if (responder) {
        input += responder(frame);
    }
    return accepted;
}

int SerialDouble::outputQueueLength(int) {
    calls.push_back("outQ");
    if (outQueueLengths.empty())
        return 0;
    int length = outQueueLengths[std::min(outQueueIndex, outQueueLengths.size() - 1)];
    ++outQueueIndex;
    return length;
}

int SerialDouble::readByte(int) {
    calls.push_back("read");
    if (input.empty()) {
        ++silences;
        waitThroughSilence(silenceWaitSeconds);
        return silenceResult;
    }
    if (byteWaitSeconds > 0) {
        // A trickling device: the byte comes after byteWaitSeconds, or not within the time-out.
        waitThroughSilence(std::min(byteWaitSeconds, timeoutSet));
        if (byteWaitSeconds > timeoutSet) {
            ++silences;
            return kComTimeout;
        }
    }
    auto byte = static_cast<unsigned char>(input.front());
    input.erase(0, 1);
    return byte;
}

OpenFailure SerialDouble::openFailure() {
    if (openResult == 0)
        return {};
    OpenFailure why = failure;
    if (why.kind == OpenFailureKind::None)
        why.kind = OpenFailureKind::MissingDevice;
    if (why.port == 0)
        why.port = openedPort;
    return why;
}
