// The card simulator's engine: one or more trz-4 cards (and optionally foreign devices) on a
// pseudo-terminal, answering on a thread of their own.
//
// Programs under test block their own thread in an exchange, so the cards must answer from
// another one: start() creates the pty and the thread, stop() (or the destructor) ends both and
// removes the port-map link. All setters may be called from any thread while it runs.
//
// The cards answer the four commands of the card protocol:
//   "#aIDR\r"  -> ACK, "#a" identification CR
//   "#aDNR\r"  -> ACK, "#aDNR" card number CR
//   "#aDNWn\r" -> ACK (the card number becomes n; NAK for an invalid n)
//   "#aS1R\r"  -> ACK, "#aS1R" status in hexadecimal CR
// A frame for an address without a card gets no answer; an unknown command gets NAK.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// One byte of a 9600-baud 7O1 line: start bit, 7 data bits, parity, stop bit.
constexpr double kByteTime9600 = 10.0 / 9600.0;

enum class SimFault {
    None,
    Silence,    // no answer at all
    Nak,        // handshake NAK
    Can,        // handshake CAN
    Err,        // the status read answers "err"
    Garbage,    // ACK, then a line of junk; the write command gets a junk handshake byte "?"
    HighBit,    // a byte of 0x80 or above: 0xC4 inside the answer line, 0x86 as handshake of a
                // write
    Stall,      // the reply stops after stallAfter bytes (handshake included)
    Overlong,   // the answer line carries 40 extra "." before its CR
    KeepNumber, // a card-number write is acknowledged, but the card keeps its number
};

struct SimCard {
    char address = '1';
    std::string id = "VEK-TRZ4-SIM";
    char cardNumber = '1';
    int status = 0;
    // A foreign device answers the identification with its own text (set id to it, e.g.
    // "FREMDGERAET-X1") and NAKs the rest.
    bool foreign = false;
};

struct SimOptions {
    std::vector<SimCard> cards; // empty: one card at address "1"
    SimFault fault = SimFault::None;
    int stallAfter = 0;
    // Time per byte on the wire, in both directions (0: answer at once; kByteTime9600 models
    // the card's line).
    double byteDelaySeconds = 0.0;
    // Link the pty into the port map as com<n> while running (0: no link).
    int com = 0;
};

class CardSimulator {
public:
    explicit CardSimulator(SimOptions options = {});
    ~CardSimulator();
    CardSimulator(const CardSimulator &) = delete;
    CardSimulator &operator=(const CardSimulator &) = delete;

    // Opens the pty, links it when asked, starts the thread. 0, or -errno.
    int start();
    // Ends the thread, closes the pty and removes the link. Safe to call twice.
    void stop();

    // The pty's device (the end a program opens), e.g. /dev/pts/4; empty before start().
    std::string devicePath() const;
    // The port-map link, or empty when none was made.
    std::string linkPath() const;

    void setFault(SimFault fault, int stallAfter = 0);
    void setByteDelay(double seconds);
    void setStatus(char address, int status);
    void setId(char address, const std::string &id);
    // The card number of the card at the address, or 0 when there is none.
    char cardNumber(char address) const;

    // Closes the pty's master end after sending n bytes of the next reply, as a USB cable
    // pulled in the middle of an answer. The cards stay silent afterwards.
    void vanishAfter(int bytes);
    // Closes the master end now.
    void vanish();

    // Frames received so far (the latest 1000 at most), each without its CR.
    std::vector<std::string> frames() const;

private:
    // How often a quiet simulator looks for a killed program's exclusive mode on its pty.
    static constexpr int kLeftoverCheckMs = 500;

    void run();
    // Clears the pty's exclusive mode when no program holds the port's lock any more.
    void clearLeftoverExclusiveMode();
    void handleFrame(const std::string &frame, double arrivalStart);
    std::string replyFor(const std::string &frame);
    bool waitUntil(double monotonicSeconds);
    void sendReply(const std::string &reply, double firstByteDue);
    void closeMaster();

    mutable std::mutex lock;
    SimOptions options;
    std::vector<std::string> received;
    int vanishAfterBytes = -1;
    bool vanishNow = false;

    int master = -1;
    int ownSlave = -1; // keeps the pty alive between the program's opens
    int wake = -1;     // eventfd: stop or vanish requested
    std::string device;
    std::string link;
    std::atomic<bool> stopping{false};
    std::thread worker;
};

// The same text for a fault as the command-line option takes ("silence", "nak", ...), and
// back; false for an unknown name.
bool parseSimFault(const std::string &name, SimFault *fault);
