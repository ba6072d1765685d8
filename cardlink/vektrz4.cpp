// The trz-4 card's command protocol over the RS-232 operations.
#include "cardlink/vektrz4.h"

#include "cardlink/linklog.h"
#include "platform/rs232.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string_view>
#include <thread>

using cardlink::detail::ExchangeRecording;
using namespace vektrz4;

namespace {

constexpr char kStart = '#';
constexpr char kCr = '\r';
constexpr int kAck = 0x06;
constexpr int kNak = 0x15;
constexpr int kCan = 0x18;
constexpr int kQueueSize = 512;
constexpr int kMaxAnswer = 29; // bytes taken from an answer line, its CR included
constexpr int kEchoLength = 5; // "#", address, three command letters
// One character on the card's line: start bit, 7 data bits, parity, stop bit at 9600 baud.
constexpr double kCharacterSeconds = 10.0 / kTrz4BaudRate;

// Codes of one read command, in the order of the exchange's steps.
struct ExchangeCodes {
    int flush; // 0: pass PufferLeeren's own codes through
    int write;
    int shortWrite;
    int nak;
    int can;
    int noHandshake;
    int wrongHandshake;
    int answerRead;
    int echo; // 0: no echo check
};

constexpr ExchangeCodes kIdCodes{.flush = 0,
                                 .write = kErrIdWrite,
                                 .shortWrite = kErrIdShortWrite,
                                 .nak = kErrIdNak,
                                 .can = kErrIdCan,
                                 .noHandshake = kErrIdNoHandshake,
                                 .wrongHandshake = kErrIdWrongHandshake,
                                 .answerRead = kErrIdAnswerRead,
                                 .echo = 0};
constexpr ExchangeCodes kCardNumberCodes{.flush = kErrReadFlush,
                                         .write = kErrReadWrite,
                                         .shortWrite = kErrReadShortWrite,
                                         .nak = kErrReadNak,
                                         .can = kErrReadCan,
                                         .noHandshake = kErrReadNoHandshake,
                                         .wrongHandshake = kErrReadWrongHandshake,
                                         .answerRead = kErrReadAnswerRead,
                                         .echo = kErrReadEcho};
constexpr ExchangeCodes kParameterCodes{.flush = kErrParamFlush,
                                        .write = kErrParamWrite,
                                        .shortWrite = kErrParamShortWrite,
                                        .nak = kErrParamNak,
                                        .can = kErrParamCan,
                                        .noHandshake = kErrParamNoHandshake,
                                        .wrongHandshake = kErrParamWrongHandshake,
                                        .answerRead = kErrParamAnswerRead,
                                        .echo = kErrParamEcho};

bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A received byte counts only in 0x00-0x7F; time-outs and failures are negative.
bool validByte(int byte) {
    return byte >= 0 && byte <= 0x7F;
}

// The answer line of one exchange: at most kMaxAnswer bytes and a terminating NUL.
struct Answer {
    char bytes[kMaxAnswer + 1] = {};
    int length = 0;
};

using Clock = std::chrono::steady_clock;

// The port's time-out, or the card's where the port cannot say.
double portTimeout(int port) {
    const double timeout = comTimeoutSeconds(port);
    return timeout < 0 ? kTrz4TimeoutSeconds : timeout;
}

// Drain step: the frame must have left before the handshake is awaited. The queue length is
// asked again with a short pause (a 7-byte frame needs 7 ms at 9600 baud; spinning on it
// would burn a core), and the wait is bounded by the port's time-out (within the command's
// deadline), so that a stalled line or a vanished adapter ends as a write failure instead of a
// hang.
bool drainOutput(int port, double timeout, Clock::time_point commandEnd) {
    const auto deadline =
        std::min(commandEnd, Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                std::chrono::duration<double>(timeout)));
    SerialWait wait;
    for (;;) {
        int pending = GetOutQLen(port);
        if (pending == 0)
            return true;
        if (pending < 0 || Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        wait.tick();
    }
}

// The whole command's deadline. The port's time-out bounds each awaited byte, but a device
// that sends one byte just inside it would stretch a command to 30 time-outs; so the command
// as a whole gets the time-out once plus the wire time of its frame, the handshake and the
// longest answer. Near the end each wait is cut to what is left, and the port's own time-out
// is put back when the command ends.
class CommandDeadline {
public:
    CommandDeadline(int port, int frameLength)
        : port(port), timeout(portTimeout(port)),
          end(Clock::now() +
              std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                  timeout + (frameLength + 1 + kMaxAnswer) * kCharacterSeconds))) {}
    ~CommandDeadline() {
        if (cut)
            SetComTime(port, timeout);
    }
    CommandDeadline(const CommandDeadline &) = delete;
    CommandDeadline &operator=(const CommandDeadline &) = delete;

    double portTimeoutSeconds() const { return timeout; }
    Clock::time_point endsAt() const { return end; }

    // One byte, waiting no longer than the port's time-out and what is left of the command.
    int readByte() {
        const double left = std::chrono::duration<double>(end - Clock::now()).count();
        if (left < timeout) {
            cut = true;
            SetComTime(port, std::max(0.0, left));
        }
        const int byte = ComRdByte(port);
        passed = cut && byte == kComTimeout;
        if (passed) {
            // Put back before the link log asks the port what its time-out was.
            SetComTime(port, timeout);
            cut = false;
        }
        return byte;
    }

    // Whether the last read found nothing because the command's time was up.
    bool passedByLastRead() const { return passed; }

private:
    int port;
    double timeout;
    Clock::time_point end;
    bool cut = false;
    bool passed = false;
};

// While the link log is off every exchange runs with this recording, which the compiler
// removes, so that the protocol's own steps cost exactly what they cost without a log.
struct NoRecording {
    void sent(const char *, int) {}
    void read(int) {}
};

// One byte from the port within the command's deadline, handed to the recording.
template <typename Recording> int readByte(CommandDeadline &deadline, Recording &recording) {
    int byte = deadline.readByte();
    recording.read(byte);
    return byte;
}

// Steps 3 to 5: flush both queues, send the frame, wait until it has gone.
template <typename Recording>
int sendFrame(int port, const char *frame, int length, int flushCode, int writeCode,
              int shortWriteCode, const CommandDeadline &deadline, Recording &recording) {
    int flushed = PufferLeeren(port);
    if (flushed != 0)
        return flushCode == 0 ? flushed : flushCode;
    int sent = ComWrt(port, frame, length);
    recording.sent(frame, sent);
    if (sent < 0)
        return writeCode;
    if (sent != length)
        return shortWriteCode;
    if (!drainOutput(port, deadline.portTimeoutSeconds(), deadline.endsAt()))
        return writeCode;
    return 0;
}

// Step 6 for the read commands.
template <typename Recording>
int readHandshake(CommandDeadline &deadline, const ExchangeCodes &codes, Recording &recording) {
    int byte = readByte(deadline, recording);
    if (byte == kNak)
        return codes.nak;
    if (byte == kCan)
        return codes.can;
    if (!validByte(byte))
        return codes.noHandshake;
    if (byte != kAck)
        return codes.wrongHandshake;
    return 0;
}

// Step 7: byte after byte up to CR or the 29th byte. Later bytes stay in the input queue for
// the next command's flush. An answer still coming when the command's time is up is no
// answer in time: the command's time-out, not a broken answer.
template <typename Recording>
int readAnswer(CommandDeadline &deadline, const ExchangeCodes &codes, Answer &answer,
               Recording &recording) {
    while (answer.length < kMaxAnswer) {
        int byte = readByte(deadline, recording);
        if (deadline.passedByLastRead())
            return codes.noHandshake;
        if (!validByte(byte))
            return codes.answerRead;
        answer.bytes[answer.length++] = static_cast<char>(byte);
        if (byte == kCr)
            break;
    }
    answer.bytes[answer.length] = '\0';
    return 0;
}

// Step 8: the first five answer bytes repeat the frame. Compared as a string, so a short
// answer fails at its terminating NUL.
bool echoMatches(const Answer &answer, const char *frame) {
    for (int i = 0; i < kEchoLength; ++i) {
        if (answer.bytes[i] != frame[i])
            return false;
        if (answer.bytes[i] == '\0')
            return false;
    }
    return true;
}

// Steps 1-8 of a read command whose address has been checked; fills answer.
template <typename Recording>
int readExchange(int port, const char *frame, const ExchangeCodes &codes, Answer &answer,
                 Recording &recording) {
    const int length = static_cast<int>(std::strlen(frame));
    CommandDeadline deadline(port, length);
    int result = sendFrame(port, frame, length, codes.flush, codes.write, codes.shortWrite,
                           deadline, recording);
    if (result != 0)
        return result;
    if ((result = readHandshake(deadline, codes, recording)) != 0)
        return result;
    if ((result = readAnswer(deadline, codes, answer, recording)) != 0)
        return result;
    if (codes.echo != 0 && !echoMatches(answer, frame))
        return codes.echo;
    return 0;
}

// Hexadecimal digits at the start of text, up to the first other character. Fails without a
// digit, and when the value does not fit the 32 bits of a status word (a wrapped value would
// be a wrong status). Declared inline: with the exchange compiled twice (with and without the
// link log) the compiler otherwise stops inlining it, which costs the status read more than the
// log's own test (scripts/bench-linklog).
inline bool scanHex(const char *text, int *value) {
    unsigned long long accumulated = 0;
    int digits = 0;
    for (; *text; ++text, ++digits) {
        char c = *text;
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        accumulated = accumulated * 16 + static_cast<unsigned>(digit);
        if (accumulated > 0xFFFFFFFFULL)
            return false;
    }
    if (digits == 0)
        return false;
    *value = static_cast<int>(static_cast<unsigned>(accumulated));
    return true;
}

// The protocol's parameters. Each is read as a hexadecimal value into the int output, the
// only value kind the card defines.
struct Parameter {
    std::string_view name;
    char letters[3];
    int parseFailure;
};

constexpr Parameter kParameters[] = {
    {"status", {'S', '1', 'R'}, kErrParamStatusValue},
};

} // namespace

int PufferLeeren(int port) {
    if (FlushInQ(port) != 0)
        return kErrFlushInput;
    if (FlushOutQ(port) != 0)
        return kErrFlushOutput;
    return 0;
}

int VEKTRZ4_Open(int port, int baudRate) {
    if (baudRate != kTrz4BaudRate)
        return kErrOpenBaudRate;
    if (port < 1 || port > 256)
        return kErrOpenPortNumber;
    if (OpenComConfig(port, "", kTrz4BaudRate, 1, 7, 1, kQueueSize, kQueueSize) != 0) {
        // The log shows why an operation never reached the card, as it shows its exchanges.
        if (linkLogOn())
            return ExchangeRecording(port).openFailed(lastOpenFailure(), kErrOpenFailed);
        return kErrOpenFailed;
    }
    return 0;
}

int VEKTRZ4_Close(int port) {
    return CloseCom(port) == 0 ? 0 : kErrClose;
}

int VEKTRZ4_Timeout(int port, double timeoutSeconds) {
    return SetComTime(port, timeoutSeconds) == 0 ? 0 : kErrTimeout;
}

namespace {

template <typename Recording>
int identification(int port, char address, char *idText, Recording &recording) {
    const char frame[] = {kStart, address, 'I', 'D', 'R', kCr, '\0'};
    Answer answer;
    int result = readExchange(port, frame, kIdCodes, answer, recording);
    if (result != 0)
        return result;

    // "#", the address, a text up to the first white space, and the closing CR right after it.
    const char *bytes = answer.bytes;
    if (answer.length < 2 || bytes[0] == '\0' || bytes[1] == '\0')
        return kErrIdFormat;
    int end = 2;
    while (bytes[end] != '\0' && !isWhiteSpace(bytes[end]))
        ++end;
    if (end == 2)
        return kErrIdFormat;
    if (idText) {
        std::memcpy(idText, bytes + 2, static_cast<size_t>(end - 2));
        idText[end - 2] = '\0';
    }
    if (bytes[0] != kStart || bytes[1] != address || bytes[end] != kCr)
        return kErrIdFormat;
    return 0;
}

template <typename Recording>
int cardNumberRead(int port, char address, char *kartennummer, Recording &recording) {
    const char frame[] = {kStart, address, 'D', 'N', 'R', kCr, '\0'};
    Answer answer;
    int result = readExchange(port, frame, kCardNumberCodes, answer, recording);
    if (result != 0)
        return result;
    // The byte after the echo is the number. The line's own CR there (an answer "#1DNR" with
    // nothing after it) or any other control character is no number: taking it would report
    // success and show the operator an empty or garbled number.
    const auto number = static_cast<unsigned char>(answer.bytes[kEchoLength]);
    if (number < 0x20 || number == 0x7F)
        return kErrReadNoNumber;
    if (kartennummer)
        *kartennummer = static_cast<char>(number);
    return 0;
}

template <typename Recording>
int cardNumberWrite(int port, char address, char kartennummer, Recording &recording) {
    const char frame[] = {kStart, address, 'D', 'N', 'W', kartennummer, kCr};
    CommandDeadline deadline(port, sizeof frame);
    int result = sendFrame(port, frame, sizeof frame, kErrWriteFlush, kErrWriteWrite,
                           kErrWriteShortWrite, deadline, recording);
    if (result != 0)
        return result;
    int byte = readByte(deadline, recording);
    if (byte == kAck)
        return 0;
    if (byte == kNak)
        return kErrWriteNak;
    if (byte == kCan)
        return kErrWriteCan;
    if (!validByte(byte))
        return kErrWriteNoHandshake;
    return kErrWriteWrongHandshake;
}

template <typename Recording>
int parameterRead(int port, char address, const Parameter &parameter, int *intValue,
                  Recording &recording) {
    const char frame[] = {
        kStart, address, parameter.letters[0], parameter.letters[1], parameter.letters[2],
        kCr,    '\0'};
    Answer answer;
    int result = readExchange(port, frame, kParameterCodes, answer, recording);
    if (result != 0)
        return result;
    const char *value = answer.bytes + kEchoLength;
    if (std::strncmp(value, "err\r", 4) == 0)
        return kErrParamRefused;
    int parsed = 0;
    if (!scanHex(value, &parsed))
        return parameter.parseFailure;
    if (intValue)
        *intValue = parsed;
    return 0;
}

// Runs one exchange (`run` called with a recording): as it is while the link log is off, or
// recorded and handed to the log's sink.
template <typename Exchange> int recorded(int port, Exchange run) {
    if (!linkLogOn()) {
        NoRecording none;
        return run(none);
    }
    ExchangeRecording recording(port);
    return recording.finish(run(recording));
}

} // namespace

// Each command checks its arguments first (nothing reaches the port, nothing is recorded),
// then runs its exchange.

int VEKTRZ4_IDLesen(int port, char address, char *idText) {
    if (!trz4ValidCharacter(address))
        return kErrIdAddress;
    return recorded(
        port, [&](auto &recording) { return identification(port, address, idText, recording); });
}

int VEKTRZ4_KartennummerLesen(int port, char address, char *kartennummer) {
    if (!trz4ValidCharacter(address))
        return kErrReadAddress;
    return recorded(port, [&](auto &recording) {
        return cardNumberRead(port, address, kartennummer, recording);
    });
}

int VEKTRZ4_KartennummerSchreiben(int port, char address, char kartennummer) {
    if (!trz4ValidCharacter(address))
        return kErrWriteAddress;
    if (!trz4ValidCharacter(kartennummer))
        return kErrWriteNumber;
    return recorded(port, [&](auto &recording) {
        return cardNumberWrite(port, address, kartennummer, recording);
    });
}

int VEKTRZ4_ParameterLesen(int port, char address, const char *name, double *realValue,
                           int *intValue, char *textValue) {
    (void)realValue;
    (void)textValue;
    if (!trz4ValidCharacter(address))
        return kErrParamAddress;
    const Parameter *parameter = nullptr;
    for (const Parameter &candidate : kParameters)
        if (name && candidate.name == name)
            parameter = &candidate;
    if (!parameter)
        return kErrParamUnknown;
    return recorded(port, [&](auto &recording) {
        return parameterRead(port, address, *parameter, intValue, recording);
    });
}
