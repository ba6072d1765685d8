// Card operations as single exchanges: each wrapper opens the chosen COM port, lights the COM
// LED, sends one command to the card at the chosen address, closes the port, switches the LED
// off and shows the outcome in the error display (0 clears it, a failure shows its number and
// message). The outcome also goes to the values shown from earlier answers
// (panel/cardvalues.h), which greys what it made doubtful. The port is never held open
// between operations.
//
// All run on the user-interface thread, each in an ExchangeScope (ui/uiruntime.h): the wait
// cursor shows, the window keeps repainting while the card is awaited, and clicks and keys
// meanwhile are dropped. Each awaited byte costs at most the card's time-out
// (kTrz4TimeoutSeconds). Outputs are written only on success.
#pragma once

// trzcom::kErrNotOpen, shared with trz4ctl.
#include "cardlink/cardoperations.h"
#include "errors/VEK_errorV3.h"

// Opens the chosen port and fetches the address; lights the COM LED. 0 with *port and
// *adresse filled in; trzcom::kErrNotOpen (-122500) when no port is chosen ("nicht geöffnet"); or
// the COM-port manager's code when the port cannot be opened.
int TrzCom_Oeffnen(int *port, char *adresse);

// Closes the port, switches the COM LED off and shows `code` in the error display. Always 0.
int TrzCom_Schliessen(int code);

// The card's status word ("status" parameter) into *status.
int TrzCom_StatusLesen(int *status);

// The card's internal card number ("1"-"9", "a"-"f") into *kartennummer.
int TrzCom_KartennummerLesen(char *kartennummer);

// Sets the card's internal card number.
int TrzCom_KartennummerSchreiben(char kartennummer);
