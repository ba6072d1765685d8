// One session with the card: a COM port opened at the card's line settings and time-out, the
// commands of the protocol (cardlink/vektrz4.h) on it, and the port closed again when the
// session ends. Every front end talks to the card through it: the program's COM-port manager
// and card operations, trz4ctl and the benchmarks.
//
// Opening: VEKTRZ4_Open at kTrz4BaudRate (7O1), then VEKTRZ4_Timeout with the session's
// time-out (kTrz4TimeoutSeconds unless the caller gives another). A time-out that cannot be
// set is not fatal: the port stays open with the serial layer's default and the open answers
// 0 (timeoutResult() keeps the code). A port that would not open leaves its reason with the
// session (openFailure()) until the next open, so that each front end shows it in its own
// place.
//
// Exchanges go to the process's link log (cardlink/linklog.h) as every command of the protocol
// does while a sink is installed; the session installs none of its own.
//
// A session is used by one thread. It is movable, not copyable; destroying it closes its port.
#pragma once

#include "cardlink/openfailure.h"
#include "cardlink/vektrz4.h"
#include "platform/rs232.h"

#include <string>

// Why the last open of a session failed, as the serial layer reported it.
struct CardOpenFailure {
    int comError = 0;   // the serial layer's ComError; kComBusy: another program holds the port
    OpenFailure detail; // what went wrong, with the details the sentence names

    // The operator's sentence in the process's language (cardlink/openfailure.h); empty when
    // the open reached no system.
    std::string reason() const { return openFailureText(detail); }
};

// What answered one identification probe.
enum class CardProbeKind {
    Card,        // a trz-4 card: its text begins with kTrz4CardPrefix
    OtherDevice, // a device with another identification text
    NoAnswer,    // nothing answered, or nothing sensible: no or a wrong handshake, NAK, CAN, an
                 // answer that breaks the protocol
    Error,       // the exchange itself failed: the port (flush, write), or an address that the
                 // protocol refuses
};

struct CardProbe {
    CardProbeKind kind = CardProbeKind::NoAnswer;
    int code = 0;                      // VEKTRZ4_IDLesen's result: 0 for a card or a device
    char text[kTrz4IdBufferSize] = {}; // the identification text; empty unless code is 0
    bool answered() const { return code == 0; }
};

class CardSession {
public:
    CardSession() = default;
    ~CardSession() { close(); }
    CardSession(CardSession &&other) noexcept;
    CardSession &operator=(CardSession &&other) noexcept;
    CardSession(const CardSession &) = delete;
    CardSession &operator=(const CardSession &) = delete;

    // Opens `port`, closing the session's open port first. 0; or VEKTRZ4_Open's code
    // (vektrz4::kErrOpenPortNumber, vektrz4::kErrOpenFailed), the session then closed and
    // openFailure() telling why (empty for a port number outside 1-256, which reaches no
    // system).
    int open(int port, double timeoutSeconds = kTrz4TimeoutSeconds);

    // Closes the open port: 0, or vektrz4::kErrClose (the session counts as closed either
    // way). 0 when nothing is open.
    int close();

    bool isOpen() const { return openPort != 0; }
    // The open port, 0 when none is open.
    int port() const { return openPort; }
    const CardOpenFailure &openFailure() const { return failure; }
    // The last open's VEKTRZ4_Timeout result: 0, or vektrz4::kErrTimeout.
    int timeoutResult() const { return timeoutCode; }
    // Whether a command has succeeded on the open port since it was opened: the device behind
    // the port is there, whatever the system's list of ports says.
    bool exchangeSucceeded() const { return succeeded; }

    // The protocol's commands on the open port, with their results (cardlink/vektrz4.h). On a
    // closed session they reach the serial layer with port 0 and fail as the protocol fails
    // on a port that is not open.
    int identification(char address, char *idText);
    int status(char address, int *word);
    int readCardNumber(char address, char *kartennummer);
    int writeCardNumber(char address, char kartennummer);

    // Asks `address` for its identification and sorts the answer.
    CardProbe probe(char address);

private:
    // Notes a command's result; answers it.
    int noted(int result);

    int openPort = 0;
    int timeoutCode = 0;
    bool succeeded = false;
    CardOpenFailure failure;
};
