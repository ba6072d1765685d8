// The serial-port list as the registry key HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM.
//
// On Windows that key is the system's own. On Linux it is made up from the COM ports present
// (platform/comports.h) at every query: one REG_SZ value per port, its name the device that
// opens and its data "COM<n>". Shared code reads the key through the registry functions only
// and never asks where the list comes from.
#pragma once

#include <string>

// The key's path below HKEY_LOCAL_MACHINE.
inline constexpr const char *kSerialCommKey = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

// Makes the key list the ports present, unless the key already exists (a test that filled it
// keeps its values). Cheap; meant to be called before each read of the key. Windows: nothing
// to do.
void ensureSerialCommKey();

// The USB product text of the adapter behind COM `com` (for example "FT232R USB UART"), or ""
// for a port that is no USB adapter or not present. Windows: the name Device Manager shows for
// the port ("USB-SERIAL CH340 (COM5)"), or "" where the system has none (as under Wine).
std::string serialPortProduct(int com);
