// The actions behind the main panel's buttons "?", "Status lesen", "Lesen" and "Einstellen",
// and the confirmation the card-number change needs. Each card action is one exchange through
// the TrzCom_ wrappers, which have already shown its outcome in the error display; these
// functions write the results into the panel. User-interface thread only.
#pragma once

// Control callback of COMHILFE, STATUSABFRAGE, KARTENNUMMERLESEN and KARTENNUMMERSCHREIBEN,
// bound by name from the panel resource. Acts on the commit event only; answers 0.
int Callback_Main_Buttons(int panel, int control, int event, void *callbackData, int eventData1,
                          int eventData2);

// Reads the status word; bit 0x100 switches STATUSLED9, bit 0x200 STATUSLED10, every other
// bit is ignored. 0, or the failing step's code (the LEDs keep what they showed).
int MainFunc_Statusabfrage();

// Reads the card number into KARTENNUMMERIST. 0, or the code (the text stays as it was).
int MainFunc_KartenummerLesen();

// Asks MainFunc_WarnungPopup for the number chosen in KARTENNUMMERSOLL; declined: 0 with
// nothing sent and nothing shown. Confirmed: writes it, and on success reads it back into
// KARTENNUMMERIST, the read-back's outcome replacing the write's in the error display; a
// read-back that gives the number written shows "Kartennummer <n> eingestellt und von der
// Karte bestätigt." in the error row (LED off, number 0). 0, or the write's code.
int MainFunc_KartenummerSchreiben();

// The help box "COM-Port" about connecting the card and finding its COM port on the system the
// program runs on (platform/comporthelp.h).
int MainFunc_ComhilfePopup();

// The box "Warnung" about changing the card number to `kartennummer`, with the buttons
// "Karte jetzt auf Nr. <n> umstellen" and "abbrechen"; "abbrechen" has the focus (its focus
// ring shows), Enter chooses the first button (which carries the default-button mark) and
// Escape the second. The warning text (kKartennummerWarnung) is followed by an empty line and a
// line with the number KARTENNUMMERIST shows (marked as not current when it is stale; "nicht
// gelesen" when it shows none) and the new one. 0 when the operator confirms, else -1.
int MainFunc_WarnungPopup(char kartennummer);
