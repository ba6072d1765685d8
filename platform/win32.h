// Helpers that only the Windows files of the platform layer use (built on Windows only).
//
// Our interfaces carry UTF-8; the system's wide (UTF-16) functions are called with converted
// text, so that every character of a path, a registry name or a message survives, whatever
// the ANSI code page of the machine.
#pragma once

#include "platform/rs232_internal.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace platform::win32 {

// UTF-8 to UTF-16 and back. Invalid UTF-8 bytes become U+FFFD; an unpaired surrogate becomes
// U+FFFD in UTF-8. Never fails (an empty result for empty input).
std::wstring wide(const std::string &utf8);
std::wstring wide(const char *utf8, size_t length);
std::string utf8(const std::wstring &text);
std::string utf8(const wchar_t *text, size_t length);

// The system's own message for an error number (GetLastError()), UTF-8, without the trailing
// line end and full stop, in the user's language; "" when the system has none.
std::string systemMessage(unsigned long error);
// The same in English where the system has that language, else in the user's.
std::string englishSystemMessage(unsigned long error);

// Notes the system's error number and its messages in `failure`.
void addSystemError(OpenFailure *failure, unsigned long error);

// The errno value that matches a Windows error number, for the interfaces that report errno
// (the file operations): ENOENT, EEXIST, EACCES, ENOSPC, ... and EIO for the rest.
int errnoForError(unsigned long error);

// The result of OpenComConfig (a ComError of platform/rs232.h) and why it failed, for a
// CreateFileW of the COM port `port`, `device` as shown ("COM3"), that failed with `error`.
// Windows refuses a port that another program has open with "access denied" (its serial drivers
// allow one handle at a time): that, a sharing violation and "busy" give kComBusy, kind Busy
// with the system's message as "Windows: <message>"; a port that is not there gives kComNoDevice,
// kind MissingDevice; anything else kComSystemError, kind SystemError with the system's error.
int comOpenFailure(unsigned long error, int port, const std::string &device, OpenFailure *failure);

// Under Wine: the Linux device that Wine's registry value HKLM\Software\Wine\Ports\COM<n>
// maps the COM port to (for example "/dev/pts/7"); empty on Windows itself, when no value
// exists, and for a port outside 1-256.
std::string wineComPortDevice(int port);

// A device of the system's Ports class as SetupAPI lists it: the PortName of its device key
// ("COM5") and the name Device Manager shows for it ("USB-SERIAL CH340 (COM5)").
struct PortDevice {
    std::wstring portName;
    std::wstring friendlyName;
};

// The friendly names of those devices by COM number, UTF-8. A device whose PortName is not
// "COM<n>" with n 1-256 (a printer port, say) or that has no friendly name is left out; of two
// devices with one number the first counts.
std::map<int, std::string> friendlyNamesByNumber(const std::vector<PortDevice> &devices);

// The friendly names of the serial ports present, from SetupAPI (friendlyNamesByNumber over
// the present devices of the Ports class). Empty where SetupAPI lists none, as under Wine.
std::map<int, std::string> comPortFriendlyNames();

// A connected pair of loopback sockets, as socketpair() gives on POSIX: on Windows Qt's socket
// notifier and select() watch sockets only, so news from another thread (a console control
// handler, a registry notification) reaches an event loop through one. Both ends are
// non-blocking and not inherited by child processes; the caller closes them (closesocket).
// Needs WSAStartup. Answers 0, or -errno.
int loopbackSocketPair(std::uintptr_t *readEnd, std::uintptr_t *writeEnd);

// True when the COM port is one that Wine maps to a Linux pseudo-terminal (/dev/pts/...).
bool wineMapsComPortToPseudoTerminal(int port);

} // namespace platform::win32
