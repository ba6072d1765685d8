// A scripted stand-in for the serial ports, for tests of code above the RS-232 operations.
//
// Install it with ScopedSerialBackend (platform/rs232.h). It plays the device: each write may
// release a scripted reply into the input, and every failure the protocol has to handle can
// be injected. It records what was written and the order of the operations. Reads do not
// wait unless asked to: an empty input is silence and returns kComTimeout at once (counted in
// silences), or after silenceWaitSeconds spent as the real layer spends a time-out.
// Not thread-safe; a test drives it from one thread.
#pragma once

#include "platform/rs232.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

class SerialDouble final : public SerialBackend {
public:
    // --- Scripting the device -------------------------------------------------------------
    // Bytes waiting in the input before the next operation (stray bytes; a flush drops them).
    void addInput(const std::string &bytes) { input += bytes; }
    // Replies released into the input by successive writes, one per write; a write beyond the
    // list releases nothing.
    void addReply(const std::string &bytes) { replies.push_back(bytes); }
    // Computes the reply from the frame written, when no scripted reply is left.
    std::function<std::string(const std::string &frame)> responder;

    // --- Injected results (0 = behave normally) -------------------------------------------
    int openResult = 0;
    int closeResult = 0;
    int setTimeResult = 0;
    int flushInResult = 0;
    int flushOutResult = 0;
    // When set, ComWrt returns this instead of the count (negative: a write error; a smaller
    // count: a short write). Only the bytes it reports accepted are recorded.
    bool overrideWrite = false;
    int writeResult = 0;
    // Successive answers of GetOutQLen; the last one repeats. Empty: always 0.
    std::vector<int> outQueueLengths;
    // Read failure (instead of a byte) once the input is empty; default: silence.
    int silenceResult = kComTimeout;
    // How long a read of an empty input waits before it reports silence, in slices that call
    // the wait hook (platform/rs232.h) as the real layer's waits do. 0: it reports at once.
    double silenceWaitSeconds = 0.0;
    // How long each waiting byte takes to arrive, as from a device that trickles its answer:
    // a read waits that long, or reports silence after the time-out set when that is shorter
    // (the byte stays for the next read). 0: bytes are there at once.
    double byteWaitSeconds = 0.0;
    // Why a failing openResult failed: a missing device unless set; the port is the one opened
    // unless set.
    OpenFailure failure;

    // --- What happened ---------------------------------------------------------------------
    std::string written;            // every byte accepted by writes, in order
    std::vector<std::string> calls; // "open", "close", "time", "flushIn", "flushOut", "write",
                                    // "outQ", "read"
    int silences = 0;               // reads that found no byte
    double timeoutSet = 1.0;        // the last time-out set
    bool isOpen = false;
    int openedPort = 0;
    long openedBaud = 0;
    int openedParity = -1, openedDataBits = -1, openedStopBits = -1;
    int openedInQueue = -1, openedOutQueue = -1;
    std::string openedDevice;

    // Calls of one kind so far.
    int count(const std::string &call) const;
    // Bytes left unread in the input.
    const std::string &pendingInput() const { return input; }

    // SerialBackend
    int open(int port, const char *deviceName, long baudRate, int parity, int dataBits,
             int stopBits, int inputQueueSize, int outputQueueSize) override;
    int close(int port) override;
    int setTimeout(int port, double seconds) override;
    double timeout(int port) override;
    int flushInput(int port) override;
    int flushOutput(int port) override;
    int write(int port, const char *buffer, int count) override;
    int outputQueueLength(int port) override;
    int readByte(int port) override;
    OpenFailure openFailure() override;

private:
    std::string input;
    std::deque<std::string> replies;
    size_t outQueueIndex = 0;
};
