// The link log: a record of every exchange of the card protocol (cardlink/vektrz4.h), for the
// program's log window and trz4ctl --trace.
//
// Each command that reaches the port (its argument checks passed) is one exchange: the frame
// sent, the bytes received, and how it ended. An open of a port that the system refused is
// recorded too, as the port, the reason and the error number. The recorder is off until a sink is
// installed; while it is off a command costs one test of a flag more than without the log, and
// nothing is built or stored.
//
// The sink is process-wide and called on the thread of the exchange, after the command has
// finished and before it returns. Installing or removing it is for the thread that runs the
// exchanges (the program's user-interface thread, trz4ctl's only thread), between exchanges.
#pragma once

#include "platform/rs232.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

// How the reading of an exchange ended.
enum class LinkEnd {
    NotRead,   // nothing was awaited: the command failed before (flush or write)
    Complete,  // every byte the command awaited arrived (a wrong byte included)
    Timeout,   // a byte did not arrive within the port's time-out
    Hangup,    // the other end vanished (cable pulled, simulator gone)
    Failed,    // the read failed otherwise
    NotOpened, // the port would not open: nothing was sent (openFailure says why)
};

struct LinkExchange {
    std::int64_t sentAtMs = 0;  // wall clock, milliseconds since 1970 (UTC): frame handed over
    std::int64_t endedAtMs = 0; // the same clock: last byte read, or the wait given up
    int port = 0;
    std::string sent;     // the bytes the port accepted (all of the frame, unless short)
    std::string received; // every byte read, handshake included, in order
    LinkEnd end = LinkEnd::NotRead;
    int timeoutMs = 0;       // Timeout: the port's time-out in milliseconds
    int result = 0;          // the command's result: 0 or its error code
    OpenFailure openFailure; // NotOpened: why, as the serial layer reported it
};

// Receives each finished exchange.
using LinkLogSink = std::function<void(const LinkExchange &)>;

// Installs the sink (an empty function turns the recorder off) and returns the previous one.
LinkLogSink setLinkLogSink(LinkLogSink sink);

// True while a sink is installed.
bool linkLogOn();

// The bytes as text: printable ASCII as it is, CR as <CR>, LF as <LF>, every other byte and
// "<" itself as two upper-case hex digits in angle brackets (<06>, <3C>, <C4>), so that the text
// reads back to exactly the bytes.
std::string linkLogBytes(std::string_view bytes);

// How the exchange ended, in the process's language (text/texts.h): the handshake byte when one
// came (ACK, NAK, CAN), then a time-out ("Zeitüberschreitung nach 1000 ms", in English
// "time-out after 1000 ms") or a hang-up ("Verbindung getrennt" / "hang-up") that ended the
// reading, then the error number of a failed command ("Fehler #403012" / "error #403012"),
// joined by ", ". For a port that would not open: "Öffnen fehlgeschlagen" ("open failed") and
// the error number, then after ": " the reason in words (cardlink/openfailure.h).
std::string linkLogOutcome(const LinkExchange &exchange);

// The exchange as log lines, each ending in a line feed. Time stamps are local time with
// milliseconds, "2024-05-02 14:03:07.123". The frame's line:
//   "<time>  COM 9  ->  #1IDR<CR>"
// and, when anything was awaited, the answer's line with the outcome after two blanks:
//   "<time>  COM 9  <-  <06>#1VEK-TRZ4-SIM<CR>  ACK"
// A command that failed before it read puts its outcome on the frame's line. A port that
// would not open has one line, its outcome after the port:
//   "<time>  COM 9  Öffnen fehlgeschlagen, Fehler #100003: Gerät /dev/ttyUSB0 ist nicht vorhanden."
std::string formatLinkExchange(const LinkExchange &exchange);

// A sink that keeps the most recent exchanges (oldest first), e.g. for a log window. Not
// locked: fed and read on one thread.
class LinkLogHistory {
public:
    static constexpr size_t kDefaultCapacity = 1000;

    explicit LinkLogHistory(size_t capacity = kDefaultCapacity) : capacity(capacity) {}

    // Appends one exchange, dropping the oldest beyond the capacity, then tells the listener.
    void add(const LinkExchange &exchange);
    const std::deque<LinkExchange> &exchanges() const { return kept; }
    void clear() { kept.clear(); }

    // Called after each add with the new exchange and whether the oldest one was dropped.
    std::function<void(const LinkExchange &added, bool droppedOldest)> listener;

    // Everything kept, formatted, oldest first.
    std::string text() const;

private:
    size_t capacity;
    std::deque<LinkExchange> kept;
};

namespace cardlink::detail {

// The recording of one exchange inside the protocol module, made only while the recorder is
// on (the module runs its exchanges without one otherwise).
class ExchangeRecording {
public:
    explicit ExchangeRecording(int port);
    ExchangeRecording(const ExchangeRecording &) = delete;
    ExchangeRecording &operator=(const ExchangeRecording &) = delete;

    // The port accepted `accepted` bytes of the frame (a negative count: none).
    void sent(const char *frame, int accepted);
    // One ComRdByte result: a byte, or a negative ComError.
    void read(int result);
    // Hands the exchange to the sink with the command's result, and returns that result.
    int finish(int result);
    // The port would not open, for `why`: hands that to the sink as finish does.
    int openFailed(const OpenFailure &why, int result);

private:
    LinkExchange exchange;
};

} // namespace cardlink::detail
