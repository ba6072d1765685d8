// What the card operations of every front end share: the program's wrappers (app/TrzCom.h) and
// trz4ctl's commands report the same code for the same fault (no COM port chosen, a card number
// the card did not take), so an operator meets one number for one fault whichever front end
// raised it.
#pragma once

#include "errors/VEK_errorV3.h"

#include <string>

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

// Whether a card-number write took: the card's acknowledgement alone does not say so, only the
// number read back afterwards does. 0 when `readBack` is `wanted`, trzcom::kErrWriteNotTaken
// otherwise.
int cardNumberTaken(char wanted, char readBack);

// The sentence that goes with trzcom::kErrWriteNotTaken, naming both numbers, in the process's
// language. `readBack` is shown as the card sent it (the protocol hands on printable
// characters only).
std::string cardNumberNotTakenText(char wanted, char readBack);
