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
// Every function returns 0 on success or one of the module's error codes below (namespace
// vektrz4). The module keeps no state: port, address and output buffers come from the caller,
// who opens the port and sets its time-out first. Each awaited byte costs at most the port's
// time-out, and the whole command at most that time-out plus the wire time of its frame, the
// handshake and the longest answer (29 bytes): an answer still trickling in then is no answer
// in time (the command's no-handshake code, as for silence). A failed command leaves the port
// open, and the next command's flush discards what is left of the failed exchange. Outputs are
// written only on success (the identification buffer may hold a partial text when its final check
// fails). A null output pointer is allowed: the exchange and its result are the same, nothing is
// stored.
#pragma once

#include "errors/VEK_errorV3.h"
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

namespace vektrz4 {

// Error codes, by function and step of the exchange.
// VEKTRZ4_Open, VEKTRZ4_Close, VEKTRZ4_Timeout, PufferLeeren:
inline constexpr int kErrOpenBaudRate = vekCode(VekKind::ComBaudRate, 1);
inline constexpr int kErrOpenPortNumber = vekCode(VekKind::ComOpen, 2);
inline constexpr int kErrOpenFailed = vekCode(VekKind::ComOpen, 3);
inline constexpr int kErrClose = vekCode(VekKind::ComClose, 4);
inline constexpr int kErrTimeout = vekCode(VekKind::ComTimeout, 5);
inline constexpr int kErrFlushInput = vekCode(VekKind::ComFlushInput, 207);
inline constexpr int kErrFlushOutput = vekCode(VekKind::ComFlushOutput, 208);
// VEKTRZ4_IDLesen (a failed flush passes PufferLeeren's code through):
inline constexpr int kErrIdAddress = vekCode(VekKind::DeviceAddress, 6);
inline constexpr int kErrIdWrite = vekCode(VekKind::ComWrite, 8);
inline constexpr int kErrIdShortWrite = vekCode(VekKind::ComShortWrite, 9);
inline constexpr int kErrIdNak = vekCode(VekKind::Nak, 10);
inline constexpr int kErrIdCan = vekCode(VekKind::Can, 11);
inline constexpr int kErrIdNoHandshake = vekCode(VekKind::NoAnswer, 12);
inline constexpr int kErrIdWrongHandshake = vekCode(VekKind::WrongAnswer, 13);
inline constexpr int kErrIdAnswerRead = vekCode(VekKind::WrongAnswer, 14);
inline constexpr int kErrIdFormat = vekCode(VekKind::WrongAnswer, 15);
// VEKTRZ4_KartennummerLesen:
inline constexpr int kErrReadAddress = vekCode(VekKind::DeviceAddress, 16);
inline constexpr int kErrReadFlush = vekCode(VekKind::ComFlush, 19);
inline constexpr int kErrReadWrite = vekCode(VekKind::ComWrite, 20);
inline constexpr int kErrReadShortWrite = vekCode(VekKind::ComShortWrite, 21);
inline constexpr int kErrReadNak = vekCode(VekKind::Nak, 22);
inline constexpr int kErrReadCan = vekCode(VekKind::Can, 23);
inline constexpr int kErrReadNoHandshake = vekCode(VekKind::NoAnswer, 24);
inline constexpr int kErrReadWrongHandshake = vekCode(VekKind::WrongAnswer, 25);
inline constexpr int kErrReadAnswerRead = vekCode(VekKind::WrongAnswer, 26);
inline constexpr int kErrReadEcho = vekCode(VekKind::WrongAnswer, 27);
inline constexpr int kErrReadNoNumber = vekCode(VekKind::WrongAnswer, 29);
// VEKTRZ4_KartennummerSchreiben (a short write is a write error here):
inline constexpr int kErrWriteAddress = vekCode(VekKind::DeviceAddress, 31);
inline constexpr int kErrWriteNumber = vekCode(VekKind::ValueOutOfLimits, 33);
inline constexpr int kErrWriteFlush = vekCode(VekKind::ComFlush, 35);
inline constexpr int kErrWriteWrite = vekCode(VekKind::ComWrite, 36);
inline constexpr int kErrWriteShortWrite = vekCode(VekKind::ComWrite, 37);
inline constexpr int kErrWriteNak = vekCode(VekKind::Nak, 38);
inline constexpr int kErrWriteCan = vekCode(VekKind::Can, 39);
inline constexpr int kErrWriteNoHandshake = vekCode(VekKind::NoAnswer, 40);
inline constexpr int kErrWriteWrongHandshake = vekCode(VekKind::WrongAnswer, 41);
// VEKTRZ4_ParameterLesen:
inline constexpr int kErrParamAddress = vekCode(VekKind::DeviceAddress, 132);
inline constexpr int kErrParamUnknown = vekCode(VekKind::Parameter, 154);
inline constexpr int kErrParamFlush = vekCode(VekKind::ComFlush, 155);
inline constexpr int kErrParamWrite = vekCode(VekKind::ComWrite, 156);
inline constexpr int kErrParamShortWrite = vekCode(VekKind::ComShortWrite, 157);
inline constexpr int kErrParamNak = vekCode(VekKind::Nak, 158);
inline constexpr int kErrParamCan = vekCode(VekKind::Can, 159);
inline constexpr int kErrParamNoHandshake = vekCode(VekKind::NoAnswer, 160);
inline constexpr int kErrParamWrongHandshake = vekCode(VekKind::WrongAnswer, 161);
inline constexpr int kErrParamAnswerRead = vekCode(VekKind::WrongAnswer, 162);
inline constexpr int kErrParamEcho = vekCode(VekKind::WrongAnswer, 163);
inline constexpr int kErrParamRefused = vekCode(VekKind::DeviceParameter, 164);
inline constexpr int kErrParamStatusValue = vekCode(VekKind::WrongAnswer, 169);

inline constexpr VekRaisedCode kRaisedCodes[] = {
    {kErrOpenBaudRate, "VEKTRZ4_Open: baud rate other than 9600"},
    {kErrOpenPortNumber, "VEKTRZ4_Open: port outside 1-256"},
    {kErrOpenFailed, "VEKTRZ4_Open: the port cannot be opened"},
    {kErrClose, "VEKTRZ4_Close: the port cannot be closed"},
    {kErrTimeout, "VEKTRZ4_Timeout: the time-out cannot be set"},
    {kErrFlushInput, "PufferLeeren: input queue"},
    {kErrFlushOutput, "PufferLeeren: output queue"},
    {kErrIdAddress, "VEKTRZ4_IDLesen: invalid address"},
    {kErrIdWrite, "VEKTRZ4_IDLesen: write failed"},
    {kErrIdShortWrite, "VEKTRZ4_IDLesen: short write"},
    {kErrIdNak, "VEKTRZ4_IDLesen: NAK"},
    {kErrIdCan, "VEKTRZ4_IDLesen: CAN"},
    {kErrIdNoHandshake, "VEKTRZ4_IDLesen: no handshake"},
    {kErrIdWrongHandshake, "VEKTRZ4_IDLesen: wrong handshake"},
    {kErrIdAnswerRead, "VEKTRZ4_IDLesen: answer read"},
    {kErrIdFormat, "VEKTRZ4_IDLesen: answer not #, address, text, CR"},
    {kErrReadAddress, "VEKTRZ4_KartennummerLesen: invalid address"},
    {kErrReadFlush, "VEKTRZ4_KartennummerLesen: flush"},
    {kErrReadWrite, "VEKTRZ4_KartennummerLesen: write failed"},
    {kErrReadShortWrite, "VEKTRZ4_KartennummerLesen: short write"},
    {kErrReadNak, "VEKTRZ4_KartennummerLesen: NAK"},
    {kErrReadCan, "VEKTRZ4_KartennummerLesen: CAN"},
    {kErrReadNoHandshake, "VEKTRZ4_KartennummerLesen: no handshake"},
    {kErrReadWrongHandshake, "VEKTRZ4_KartennummerLesen: wrong handshake"},
    {kErrReadAnswerRead, "VEKTRZ4_KartennummerLesen: answer read"},
    {kErrReadEcho, "VEKTRZ4_KartennummerLesen: echo"},
    {kErrReadNoNumber, "VEKTRZ4_KartennummerLesen: no card number after the echo"},
    {kErrWriteAddress, "VEKTRZ4_KartennummerSchreiben: invalid address"},
    {kErrWriteNumber, "VEKTRZ4_KartennummerSchreiben: invalid card number"},
    {kErrWriteFlush, "VEKTRZ4_KartennummerSchreiben: flush"},
    {kErrWriteWrite, "VEKTRZ4_KartennummerSchreiben: write failed"},
    {kErrWriteShortWrite, "VEKTRZ4_KartennummerSchreiben: short write"},
    {kErrWriteNak, "VEKTRZ4_KartennummerSchreiben: NAK"},
    {kErrWriteCan, "VEKTRZ4_KartennummerSchreiben: CAN"},
    {kErrWriteNoHandshake, "VEKTRZ4_KartennummerSchreiben: no handshake"},
    {kErrWriteWrongHandshake, "VEKTRZ4_KartennummerSchreiben: wrong handshake"},
    {kErrParamAddress, "VEKTRZ4_ParameterLesen: invalid address"},
    {kErrParamUnknown, "VEKTRZ4_ParameterLesen: unknown parameter"},
    {kErrParamFlush, "VEKTRZ4_ParameterLesen: flush"},
    {kErrParamWrite, "VEKTRZ4_ParameterLesen: write failed"},
    {kErrParamShortWrite, "VEKTRZ4_ParameterLesen: short write"},
    {kErrParamNak, "VEKTRZ4_ParameterLesen: NAK"},
    {kErrParamCan, "VEKTRZ4_ParameterLesen: CAN"},
    {kErrParamNoHandshake, "VEKTRZ4_ParameterLesen: no handshake"},
    {kErrParamWrongHandshake, "VEKTRZ4_ParameterLesen: wrong handshake"},
    {kErrParamAnswerRead, "VEKTRZ4_ParameterLesen: answer read"},
    {kErrParamEcho, "VEKTRZ4_ParameterLesen: echo"},
    {kErrParamRefused, "VEKTRZ4_ParameterLesen: the card answered err"},
    {kErrParamStatusValue, "VEKTRZ4_ParameterLesen: no hexadecimal status value"},
};

} // namespace vektrz4

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
