// The trz-4 card's serial command protocol: opening and closing a COM port with the card's
// link parameters, its time-out, and the four commands the program uses.
//
// Link: 9600 baud, 7 data bits, odd parity, 1 stop bit. A command is one frame
// "#", address, command letters, CR; the card answers with one handshake byte (ACK 0x06
// accepted, NAK 0x15 error, CAN 0x18 not possible now) and, for the read commands, an answer
// line ending in CR, of which at most 29 bytes are taken.
//
// Addresses and card numbers are one character "1"-"9" or "a"-"f". The collective address
// "&" is refused by every command.
//
// Every function returns 0 on success or one of the module's error codes (namespace
// vektrz4, in errors/raisedcodes.h). The module keeps no state: port, address and output buffers
// come from the caller, who opens the port and sets its time-out first. Each awaited byte costs at
// most the port's time-out, and the whole command at most that time-out plus the wire time of its
// frame, the handshake and the longest answer (29 bytes): an answer still trickling in then is no
// answer in time (the command's no-handshake code, as for silence). A failed command leaves the
// port open, and the next command's flush discards what is left of the failed exchange. Outputs are
// written only on success (the identification buffer may hold a partial text when its final check
// fails). A null output pointer is allowed: the exchange and its result are the same, nothing is
// stored.
#pragma once

#include "errors/raisedcodes.h"
#include "platform/translatable.h"

// The card's only baud rate; VEKTRZ4_Open refuses every other.
inline constexpr int kTrz4BaudRate = 9600;

// How long each byte awaited from the card may take, in seconds: what every front end sets on
// the port it opens (CardSession, cardlink/cardsession.h; trz4ctl --timeout starts from it).
inline constexpr double kTrz4TimeoutSeconds = 1.0;

// The room callers give the identification text: the protocol needs 28 bytes (27 characters
// and the NUL, the most a 29-byte answer can carry).
inline constexpr int kTrz4IdBufferSize = 32;

// Bits of the card's status word ("status" parameter) that the program shows.
inline constexpr int kTrz4StatusInvalidCardNumber = 0x100;    // "Ungültige Kartennummer"
inline constexpr int kTrz4StatusParametersIncomplete = 0x200; // "Nicht alle Parameter eingestellt"

// The rule for a device address and for a card number alike: "1"-"9" or "a"-"f".
constexpr bool trz4ValidCharacter(char c) {
    return (c >= '1' && c <= '9') || (c >= 'a' && c <= 'f');
}

// Opens the port at 9600 7O1 with 512-byte queues. baudRate must be kTrz4BaudRate
// (kErrOpenBaudRate, tested first), port 1-256 (kErrOpenPortNumber); kErrOpenFailed when the
// port cannot be opened (the reason is in lastOpenFailureReason(), platform/rs232.h).
int VEKTRZ4_Open(int port, int baudRate);

// 0, or kErrClose when the port could not be closed.
int VEKTRZ4_Close(int port);

// Sets the port's time-out for each awaited byte; 0 or kErrTimeout.
int VEKTRZ4_Timeout(int port, double timeoutSeconds);

// Reads the identification text ("#", address, text, CR without echo) into idText, which must
// hold 28 bytes (27 characters and NUL; callers give kTrz4IdBufferSize). A successful text has
// 1 to 26 characters and no white space; it may carry other control characters exactly as the
// card sent them, so a caller that prints it escapes them. 0 or one of kErrId...; a failed
// flush gives kErrFlushInput or kErrFlushOutput.
int VEKTRZ4_IDLesen(int port, char address, char *idText);

// Reads the card number: the byte after the five-byte echo "#", address, "DNR". Every
// printable character (0x20-0x7E) is taken as it is; none there, the line end or another
// control character is no card number (kErrReadNoNumber). 0 or one of kErrRead...
int VEKTRZ4_KartennummerLesen(int port, char address, char *kartennummer);

// Writes a new card number ("1"-"9", "a"-"f"); the card answers with the handshake only.
// 0 (ACK) or one of kErrWrite...; with an invalid address and number the address code wins.
int VEKTRZ4_KartennummerSchreiben(int port, char address, char kartennummer);

// Reads a named parameter; the only one is "status" (case-sensitive), a hexadecimal value of
// at most 32 bits written to *intValue (0xFFFFFFFF arrives as -1: read it as unsigned).
// realValue and textValue are for other value kinds and stay untouched. 0 or one of
// kErrParam...
int VEKTRZ4_ParameterLesen(int port, char address, const char *name, double *realValue,
                           int *intValue, char *textValue);

// The exchange's first step: discards the input queue, then the output queue.
// 0, kErrFlushInput or kErrFlushOutput.
int PufferLeeren(int port);

// A trz-4 card's identification text begins with this prefix (case-sensitive); any other text
// comes from another device on the link.
inline constexpr char kTrz4CardPrefix[] = "VEK-TRZ4-";

// The warning the operator confirms before a card's number is changed, whether in the program's
// popup or on the command line: it begins with a line feed, and every line ends with one. The
// translation files hold it in the other languages: trText("vektrz4", kKartennummerWarnung)
// (text/texts.h) is the warning in the operator's language.
inline constexpr char kKartennummerWarnung[] = TRZ4_TRANSLATABLE(
    "vektrz4", "\n"
               "Die interne Kartennummer der trz-4 wird jetzt umgestellt\n"
               "WICHTIG: JEDE KARTENNUMMER DARF IM QDN-7K-SYSTEM NUR EINMAL VORKOMMEN!\n"
               "Wenn Sie ein QDN-7K System verwenden und nicht sicher sind, ob die Karten-\n"
               "nummer bereits vergeben ist, prüfen Sie die trz-4-Kartennummern mit dem\n"
               "Programm \"QDN7K-Steuerung\".\n");
