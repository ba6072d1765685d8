// Why a COM port could not be opened, in the operator's words: the serial layer says what went
// wrong as a kind with its details (platform/rs232.h, lastOpenFailure()), and this words it in
// the process's language (text/texts.h), for the program's error display and for trz4ctl.
#pragma once

#include "platform/rs232.h"

#include <string>

// The reason as a sentence for the operator: it names the device or the COM number, and for a
// refused permission on Linux the group to join and that a new login is needed; "" for kind
// None. The system's own message rides along in the system's words.
std::string openFailureText(const OpenFailure &failure);

// The reason of the last failed OpenComConfig on this thread, worded; "" after a successful open.
std::string lastOpenFailureReason();
