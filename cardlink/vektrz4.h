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
// Every function returns 0 on success or a negative error code -(kind * 1000 + site); see the
// site table in vektrz4.cpp. The module keeps no state: port, address and output buffers come
// from the caller, who opens the port and sets its time-out first. Each awaited byte costs at
// most the port's time-out; a failed command leaves the port open, and the next command's flush
// discards what is left of the failed exchange. Outputs are written only on success (the
// identification buffer may hold a partial text when its final check fails). A null output
// pointer is allowed: the exchange and its result are the same, nothing is stored.
#pragma once

// Opens the port at 9600 7O1 with 512-byte queues. baudRate must be 9600 (-125001, tested
// first), port 1-256 (-100002); -100003 when the port cannot be opened (the reason is in
// lastOpenFailureReason(), platform/rs232.h).
int VEKTRZ4_Open(int port, int baudRate);

// 0, or -103004 when the port could not be closed.
int VEKTRZ4_Close(int port);

// Sets the port's time-out for each awaited byte; 0 or -111005.
int VEKTRZ4_Timeout(int port, double timeoutSeconds);

// Reads the identification text ("#", address, text, CR without echo) into idText, which must
// hold 28 bytes (27 characters and NUL); a successful text has at most 26 characters and no
// white space.
int VEKTRZ4_IDLesen(int port, char address, char *idText);

// Reads the card number: the byte after the five-byte echo "#", address, "DNR".
int VEKTRZ4_KartennummerLesen(int port, char address, char *kartennummer);

// Writes a new card number ("1"-"9", "a"-"f"); the card answers with the handshake only.
int VEKTRZ4_KartennummerSchreiben(int port, char address, char kartennummer);

// Reads a named parameter; the only one is "status" (case-sensitive), a hexadecimal value
// written to *intValue. realValue and textValue are for other value kinds and stay untouched.
int VEKTRZ4_ParameterLesen(int port, char address, const char *name, double *realValue,
                           int *intValue, char *textValue);

// The exchange's first step: discards the input queue, then the output queue.
// 0, -124207 (input queue) or -123208 (output queue).
int PufferLeeren(int port);

// A trz-4 card's identification text begins with this prefix (case-sensitive); any other text
// comes from another device on the link.
inline constexpr char kTrz4CardPrefix[] = "VEK-TRZ4-";

// The warning the operator confirms before a card's number is changed, whether in the program's
// popup or on the command line: it begins with a line feed, and every line ends with one.
inline constexpr char kKartennummerWarnung[] =
    "\n"
    "Die interne Kartennummer der trz-4 wird jetzt umgestellt\n"
    "WICHTIG: JEDE KARTENNUMMER DARF IM QDN-7K-SYSTEM NUR EINMAL VORKOMMEN!\n"
    "Wenn Sie ein QDN-7K System verwenden und nicht sicher sind, ob die Karten-\n"
    "nummer bereits vergeben ist, prüfen Sie die trz-4-Kartennummern mit dem\n"
    "Programm \"QDN7K-Steuerung\".\n";
