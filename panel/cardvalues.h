// What the panel shows from the card's answers, and whether it is still current.
//
// Four kinds of value come from answers of a card: its identification text (the COM-port
// manager's identification display), what the scan found at each address (the address LEDs),
// its status (the status LEDs) and its card number. Each value remembers the card it came
// from: the COM port and the device address of the exchange that delivered it. A later
// failure never clears a value, because the operator may need the last known one; the value
// is shown as stale instead (greyed, with a tooltip saying why; setCtrlStale in
// ui/uiruntime.h) until an answer shows it anew. The rule:
//
//  1. A good answer makes the values it carries current and records their card: a status
//     read the status, a card-number read the card number, an identification the text, a
//     scan probe its address's LED (lit green or red, or off for nothing found) and, when a
//     card of this system answered, the text.
//  2. A failed read makes the value it was to read stale, whatever card that value came from:
//     what is shown is not the answer the operator asked for (a failed status read on COM 3
//     leaves the status LEDs that COM 9's card lit, greyed). The identification text is
//     emptied by the identification and the scan as soon as their port is open, so only an
//     identification that could not open its port leaves a text to grey.
//  3. A card-number write the card accepted makes the card number shown stale: the card holds
//     the new number now, and only the read-back shows it (a failed read-back leaves it stale).
//  4. A failure that leaves open whether the card is still there makes every value from that
//     card stale: the port would not open or its adapter went away (the COM-port list lost it;
//     every value from that port), nothing or nothing sensible answered, or the line failed
//     (every value from that port and address), and a scan probe found no card of this system
//     at an address (every value from that port and address but the probe's own LED). A NAK, a CAN
//     or the card's "err" prove that the card is there, and checks made before anything is sent (no
//     port chosen, an address or a number the protocol refuses) say nothing about it: they fall
//     under rule 2 alone.
//  5. A card-number write whose read-back gives another number than the one asked for marks the
//     number shown (the read-back's, current as such) as not the one requested.
//  6. A stale value becomes current only through rule 1, by an answer that shows that value:
//     a good answer to another question does not vouch for it, since the card that answers
//     now may be another one. The first doubt names the reason; a later one keeps that note.
//
// A control that never showed an answer (the status LEDs right after start-up) is never stale.
// User-interface thread only, like the controls; the state is plain module data.
#pragma once

#include "cardlink/cardsession.h"

// Values whose controls the program registers here; the identification display and the
// address LEDs are the COM-port manager's registered controls and need no registration.
enum class CardValue {
    Status,     // the status LEDs: one value shown by several controls
    CardNumber, // the card number read from the card
};

// What an exchange asked the card.
enum class CardQuestion {
    Identification,  // "ID lesen"
    Scan,            // a scan as a whole; only for a scan that could not open its port
    Status,          // "Status lesen"
    CardNumberRead,  // "Lesen", and the read-back after "Einstellen"
    CardNumberWrite, // "Einstellen"
};

// Adds a control that shows `value`, up to 8 per value; answers 0, or -1 when the table is
// full (the control is then dropped).
int cardValueRegister(CardValue value, int panel, int control);

// After an exchange with the card at `port` (the chosen one, also when it would not open) and
// `address` that asked `question` and ended with `code` (0: answered, the answer already
// shown). Applies rules 1 to 4.
void cardValuesAfterExchange(CardQuestion question, int code, int port, char address);

// After one scan probe at `port` and `address` (a card of this system, another device, or
// nothing usable), its LED already showing the finding (and the identification display the
// text of a card of this system). Applies rules 1 and 4.
void cardValuesAfterProbe(int port, char address, CardProbeKind finding);

// The card acknowledged a new card number but read back another one, now shown. Applies rule 5.
void cardValuesNumberNotTaken();

// The COM-port list no longer has `port`: its adapter went away. Applies rule 4 to the port.
void cardValuesPortGone(int port);

// True while any value shown from a card's answer is stale.
bool cardValuesAnyStale();

// The identification display was emptied (the identification and the scan empty it once
// their port is open): it shows no answer now, so it is current and belongs to no card.
void cardValuesIdentificationEmptied();
