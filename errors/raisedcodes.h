// Every error code that the program and its tools raise, module by module: one numbering plan
// for the whole system, so that a site number visibly belongs to one place and the number an
// operator reports names it. Each module uses its constants by name; its table of raised codes
// (`kRaisedCodes`) says where each one is raised, for the check that walks every table against
// the catalogue and the sources.
//
// A new code: a constant here, in the namespace of the module that raises it, with the next
// free site number, and a row in that module's table.
#pragma once

#include "errors/VEK_errorV3.h"

// cardlink/vektrz4.h: the card's commands
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

// cardlink/Vek_Com.h: the COM-port manager, the identification and the scan
namespace vekcom {

// Error codes of the manager, the identification and the scan.
inline constexpr int kErrAddress = vekCode(VekKind::DeviceAddress, 301);
inline constexpr int kErrLastPortRange = vekCode(VekKind::ComPortNumber, 302);
inline constexpr int kErrOpenPortRange = vekCode(VekKind::ComPortNumber, 303);
inline constexpr int kErrIdNotOpen = vekCode(VekKind::ComNotOpen, 304);
inline constexpr int kErrScanNotOpen = vekCode(VekKind::ComNotOpen, 305);

inline constexpr VekRaisedCode kRaisedCodes[] = {
    {kErrAddress, "VekCom_AdresseSet: address neither \"1\" nor \"&\""},
    {kErrLastPortRange, "VekCom_LastComPortSet: port outside 0-256"},
    {kErrOpenPortRange, "VekCom_Open: port outside 0-256"},
    {kErrIdNotOpen, "VekCom_IdLesen: no port open"},
    {kErrScanNotOpen, "VekCom_Scan: no port open"},
};

} // namespace vekcom

// cardlink/cardoperations.h: the card operations of every front end
namespace trzcom {

// No COM port chosen ("nicht geöffnet") for a card operation.
inline constexpr int kErrNotOpen = vekCode(VekKind::ComNotOpen, 500);
// The card acknowledged a new card number, but reads back another one.
inline constexpr int kErrWriteNotTaken = vekCode(VekKind::DeviceMemoryWrite, 904);

inline constexpr VekRaisedCode kRaisedCodes[] = {
    {kErrNotOpen, "TrzCom_Oeffnen: no port chosen"},
    {kErrWriteNotTaken, "cardNumberTaken: the card reads back another number than the one written"},
};

} // namespace trzcom

// app/Funktionen.h: the settings file as a whole
namespace funktionen {

// Error codes of the settings file as a whole.
inline constexpr int kErrIniNotFound = vekCode(VekKind::IniNotFound, 201);
inline constexpr int kErrIniRead = vekCode(VekKind::IniRead, 202);
inline constexpr int kErrIniWrite = vekCode(VekKind::IniWrite, 203);

inline constexpr VekRaisedCode kRaisedCodes[] = {
    {kErrIniNotFound, "Func_IniDateiLaden: the file cannot be opened"},
    {kErrIniRead, "Func_IniDateiLaden: reading fails otherwise"},
    {kErrIniWrite, "Func_IniDateiSchreiben: writing fails"},
};

} // namespace funktionen

// app/Mainpanel_Main.h: the settings file's keys
namespace mainpanel {

// A settings key that yields no value.
inline constexpr int kErrIniKeyCom = vekCode(VekKind::IniRead, 451);
inline constexpr int kErrIniKeyLastCom = vekCode(VekKind::IniRead, 452);
inline constexpr int kErrIniKeyAdresse = vekCode(VekKind::IniRead, 453);

inline constexpr VekRaisedCode kRaisedCodes[] = {
    {kErrIniKeyCom, "Mainpanel_ReadIni: key \"com\" missing"},
    {kErrIniKeyLastCom, "Mainpanel_ReadIni: key \"lcom\" missing"},
    {kErrIniKeyAdresse, "Mainpanel_ReadIni: key \"adresse\" missing"},
};

} // namespace mainpanel

// tools/trz4ctl: what only the command-line tool raises
namespace trz4ctl {

// Error codes that only the tool raises; for the card operations, the identification and the
// scan it reports the program's own codes, so that a script sees the numbers the operator sees.
inline constexpr int kErrMapLink = vekCode(VekKind::FileCreate, 901);
inline constexpr int kErrUnmapLink = vekCode(VekKind::FileDelete, 902);
inline constexpr int kErrAddress = vekCode(VekKind::DeviceAddress, 903);

inline constexpr VekRaisedCode kRaisedCodes[] = {
    {kErrMapLink, "trz4ctl map: the port map entry cannot be made"},
    {kErrUnmapLink, "trz4ctl unmap: the port map entry cannot be removed"},
    {kErrAddress, "trz4ctl: --address or the settings file name an address the program refuses"},
};

} // namespace trz4ctl
