// What the card operations of every front end share: the program's wrappers (app/TrzCom.h) and
// trz4ctl's commands report the same code (trzcom, errors/raisedcodes.h) for the same fault (no COM
// port chosen, a card number the card did not take), so an operator meets one number for one fault
// whichever front end raised it.
#pragma once

#include "errors/raisedcodes.h"

#include <string>

// Whether a card-number write took: the card's acknowledgement alone does not say so, only the
// number read back afterwards does. 0 when `readBack` is `wanted`, trzcom::kErrWriteNotTaken
// otherwise.
int cardNumberTaken(char wanted, char readBack);

// The sentence that goes with trzcom::kErrWriteNotTaken, naming both numbers, in the process's
// language. `readBack` is shown as the card sent it (the protocol hands on printable
// characters only).
std::string cardNumberNotTakenText(char wanted, char readBack);
