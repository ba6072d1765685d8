// What the card operations of every front end share: the program's wrappers (app/TrzCom.h) and
// trz4ctl's commands report the same code when no COM port is chosen, so an operator meets one
// number for one fault whichever front end raised it.
#pragma once

#include "errors/VEK_errorV3.h"

namespace trzcom {

// No COM port chosen ("nicht geöffnet") for a card operation.
inline constexpr int kErrNotOpen = vekCode(VekKind::ComNotOpen, 500);

inline constexpr VekRaisedCode kRaisedCodes[] = {
    {kErrNotOpen, "TrzCom_Oeffnen: no port chosen"},
};

} // namespace trzcom
