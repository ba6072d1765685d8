// The COM-port and address manager, the device scan and the identification.
//
// The header belongs to the card link and needs no Qt, so that trz4ctl shares its constants
// (the address rule, the scan's highest address); its codes are in errors/raisedcodes.h. The
// functions work on controls of the runtime and are implemented above it, in panel/Vek_Com.cpp and
// panel/Vek_Com_Scan.cpp; only programs with the GUI link them (trz4::panel).
//
// The manager keeps the link settings of the running program, one instance for the whole
// process:
//   chosen COM port   what the COM-port ring shows as the operator's choice (0 = "nicht
//                     geöffnet"); changed only by a commit on that ring or VekCom_ComPortChose;
//   open COM port     the port open right now, 0 when none; a port is open only while one
//                     operation runs (VekCom_OpenChosen at its start, VekCom_Close at its end);
//   last COM port     the port that was open at the last close (0 when none was);
//   device address    "1" (the highest address of this system) or the collective "&".
// COM port numbers are 1-256, 0 means no port.
//
// Other modules hand their controls over with the VekCom_Register... calls. A single
// registration is replaced by the next call of the same function; the picture rings (at most
// MAX_PICTURERINGCONTROLS) and the address LEDs (at most MAX_ADRESSLEDS, in the order of the
// addresses "1", "2", ...) fill tables that never shrink. A registration beyond a table's size
// shows the popup "Interner Fehler" naming the limit and is dropped. The error-control sets
// are kept by the error display (VekCom_RegisterFehlerControls, errors/VEK_errorV3.h).
//
// The COM-port ring holds int values: "nicht geöffnet" (0), then one item "COM <n>" per serial
// port that the registry key HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM lists, in the
// key's order; each item's tooltip names the device behind it. When the chosen port is not
// among them (its adapter is away), a last item "COM <n> (getrennt)" keeps showing the
// choice. The ring never shows one port while operations go to another: a failed open leaves
// it on the chosen port. A picture ring shows the open port:
// 1-16 as themselves, any higher port as 99, 0 when none is open.
//
// Everything runs on the user-interface thread; the state is plain module data. Every
// exchange with the card runs in an ExchangeScope (ui/uiruntime.h): a wait cursor shows, the
// window keeps repainting and the operator's clicks meanwhile are dropped; it takes at most
// the card's time-out (kTrz4TimeoutSeconds) per awaited byte. The identification and the scan
// report their outcome to the values shown from answers (panel/cardvalues.h), which greys what a
// failure made doubtful.
#pragma once

#include "errors/raisedcodes.h"

inline constexpr int MAX_PICTURERINGCONTROLS = 10;
inline constexpr int MAX_ADRESSLEDS = 15;

// LED on-colours of the scan (0xRRGGBB): a card of this system, and any other device.
inline constexpr int kVekComColourCard = 0x00FF00;
inline constexpr int kVekComColourForeign = 0xFF0000;

namespace vekcom {

// The highest device address of this system: the address rule and the scan share it.
inline constexpr char kHighestAddress = '1';
// The collective address, accepted by the manager (and refused by every card command).
inline constexpr char kCollectiveAddress = '&';

// The manager's address rule: the highest address or the collective one.
constexpr bool addressAccepted(char address) {
    return address == kHighestAddress || address == kCollectiveAddress;
}

} // namespace vekcom

// ---------------------------------------------------------------------------------------------
// Registration. Each answers 0 when the control is stored, -1 when a full table dropped it
// (after the "Interner Fehler" popup); callers need not look.

// The COM-port ring: installs Callback_ComPortEinstellen and builds the ring's list at once.
// From then on, where the system reports serial ports coming and going (platform/portwatch.h),
// every such change rebuilds the list (VekCom_ComListeErstellen) as soon as no other callback
// runs, so that a plugged or pulled adapter shows without the operator opening the ring; the
// chosen port is never changed by it.
int VekCom_RegisterComControl(int panel, int control);
// The address ring (character values): installs Callback_ComPortAdresse.
int VekCom_RegisterAdressControl(int panel, int control);
// Appends a picture ring (int values) showing the open port; installs
// Callback_ComPortUmschalten, which does nothing.
int VekCom_RegisterPictureringControl(int panel, int control);
// The identification button: installs Callback_IdLesen.
int VekCom_RegisterIdReadButton(int panel, int control);
// The text control that shows an identification text.
int VekCom_RegisterIdTextdisplay(int panel, int control);
// Appends an address LED; LED i belongs to the address "1" + i.
int VekCom_RegisterAdressLeds(int panel, int control);
// The scan button: installs Callback_Scan.
int VekCom_RegisterScanButton(int panel, int control);
// The text control that shows the scan's progress.
int VekCom_RegisterScanStringControl(int panel, int control);

// ---------------------------------------------------------------------------------------------
// State.

// "1" or "&" (vekcom::addressAccepted): stores it, sets the address ring to it and returns 0;
// any other character returns vekcom::kErrAddress (-400301) and changes nothing.
int VekCom_AdresseSet(char address);
char VekCom_AdresseGet();

int VekCom_ComPortGet();
// Chooses `port` if the COM-port ring has an item with that value, else 0 ("nicht geöffnet"),
// and sets the ring to the choice. Nothing is opened or closed.
void VekCom_ComPortChose(int port);

int VekCom_LastComPortGet();
// 0 or 1-256: stores it and returns 0; any other value returns vekcom::kErrLastPortRange
// (-110302) and changes nothing.
int VekCom_LastComPortSet(int port);

// Writes the chosen port to *port (when port is not null) and returns VekCom_Open for it.
int VekCom_OpenChosen(int *port);

// Opens `port` through the manager's card session (cardlink/cardsession.h: the card's line
// settings and time-out), closing another open port first (which becomes the last COM port),
// and shows the outcome in the COM-port ring and the picture rings (VekCom_ComAnzeige with the
// port open afterwards).
// Opening the port that is already open (VekCom_Open(0) with none open included) answers 0 and
// touches nothing. `port` 0 just closes. Results: 0; vekcom::kErrOpenPortRange (-110303) for a
// port outside 0-256; vektrz4::kErrOpenFailed (-100003) when the port cannot be opened, in which
// case the system's reason (busy, permission, missing device) is handed to VEK_Fehleruserstring so
// that the next shown message carries it (in the catalogue's language), and the ring shows the
// chosen port, which keeps its value (the next operation tries it again); the picture rings
// show 0.
int VekCom_Open(int port);

// Closes the open port (close errors are ignored) and records it as the last COM port (0 when
// none was open). The display is left as it is. Always 0.
int VekCom_Close();

// ---------------------------------------------------------------------------------------------
// Identification and scan.

// Opens the chosen port, reads the identification text of the card at the stored address into
// the identification display (emptied first) and closes the port. 0; vekcom::kErrIdNotOpen
// (-122304) when no port is open after the open (none chosen, or the open failed; nothing is closed
// then); or the code of VEKTRZ4_IDLesen, the display staying empty. The text is shown whatever it
// says.
int VekCom_IdLesen();

// Opens the chosen port and probes the addresses from "1" up to the highest address "1", no
// more than address LEDs are registered. For each address the scan text shows "Suche nach
// Gerät <a>" while it is probed; LED i is then switched off when nothing (or nothing sensible)
// answered, lit green when the text begins with "VEK-TRZ4-" (the address ring then shows that
// address, which is not stored, and the identification display the text), and lit red for any
// other text. Ends with the scan text empty and the port closed. 0, whatever was found;
// vekcom::kErrScanNotOpen (-122305) when no port is open after the open (nothing is changed
// then).
int VekCom_Scan();

// Rebuilds the list of the ring (panel, control) from the serial-port key: "nicht geöffnet"
// (0), then every REG_SZ value whose data is "COM" followed by a whole number 0-256 (StrToInt:
// white space and one sign allowed) as "COM <n>" with the value n, in the key's order, repeats
// kept. A missing key leaves "nicht geöffnet" alone. Then the registered COM-port ring is set
// to the chosen port if it lists it; otherwise the item "COM <n> (getrennt)" with the
// chosen port's value is appended to it and selected, and the open port is closed: the choice
// stays until the operator picks another port, and a rebuild once the adapter is back lists
// and selects it as usual.
void VekCom_ComListeErstellen(int panel, int control);

// Shows `port` in the COM-port ring and in every picture ring (1-16 as is, above 16 as 99).
void VekCom_ComAnzeige(int port);

// ---------------------------------------------------------------------------------------------
// Control callbacks (runtime form); each answers 0.

// Commit: the ring's value becomes the chosen port (not opened). Left click or key press:
// the ring's list is rebuilt, so that a port plugged in since shows up.
int Callback_ComPortEinstellen(int panel, int control, int event, void *callbackData,
                               int eventData1, int eventData2);
// Commit: VekCom_AdresseSet with the ring's character, its result shown in the error controls.
int Callback_ComPortAdresse(int panel, int control, int event, void *callbackData, int eventData1,
                            int eventData2);
// Does nothing: a picture ring only shows.
int Callback_ComPortUmschalten(int panel, int control, int event, void *callbackData,
                               int eventData1, int eventData2);
// Commit: VekCom_IdLesen, its result shown in the error controls.
int Callback_IdLesen(int panel, int control, int event, void *callbackData, int eventData1,
                     int eventData2);
// Commit: VekCom_Scan, its result shown in the error controls.
int Callback_Scan(int panel, int control, int event, void *callbackData, int eventData1,
                  int eventData2);
