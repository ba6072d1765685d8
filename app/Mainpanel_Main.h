// The main-panel module: loading and discarding the two panels, and the callbacks of the menu
// bar and of the info popup.
//
// The panel handles are process-wide: set once by Mainpanel_Initialisieren, valid until
// Mainpanel_Freigeben. User-interface thread only.
#pragma once

#include "errors/raisedcodes.h"

struct IniDocument;

// The version and date shown on the info panel.
inline constexpr const char *kProgramVersion = "V 1.0";
inline constexpr const char *kProgramDate = "10/2010";

// Registers the panel resource with the runtime, binds the callbacks by name, loads the main
// panel (hidden) and the info panel as its child, gives the main panel its own taskbar button,
// writes version and datum into the info panel, switches both status LEDs off, empties the scan
// text and hands the main panel's controls to the COM-port manager (which fills the COM-port
// ring at once) and to the error display, and starts keeping the link log.
// Answers 0, or -1 when a panel cannot be loaded (a main panel loaded already stays loaded).
int Mainpanel_Initialisieren(const char *version, const char *datum);

// Stops the link log (closing its window), discards the info panel, then the main panel.
// Answers 0.
int Mainpanel_Freigeben();

// The main panel's handle (gMainPanel), for every function that writes to its controls.
int Mainpanel_GetMainpanel();

// The info panel's handle (gInfoPanel).
int mainpanelGetInfopanel();

// "Datei" -> "Beenden" (item BEENDEN): ends the event loop. "Datei" ->
// "Schnittstellenprotokoll ..." (item PROTOKOLL): opens the link log's window.
void Menu_Main_Datei(int menuBar, int menuItem, void *callbackData, int panel);

// "Hilfe" -> "Info" (item INFO): opens the info panel as a modal popup.
void Menu_Main_Hilfe(int menuBar, int menuItem, void *callbackData, int panel);

// OK on the info panel: on commit, closes the popup. Answers 0.
int Callback_Info_Button_Ok(int panel, int control, int event, void *callbackData, int eventData1,
                            int eventData2);

// Applies the settings of the document's section "com" to the COM-port manager, each key on
// its own: "com" (VekCom_ComPortChose), "lcom" (VekCom_LastComPortSet) and "adresse" (the
// lowest byte as the address, VekCom_AdresseSet). Values the manager refuses are dropped
// silently. Answers 0, or the code of the first key that gave no integer: -801451 ("com"),
// -801452 ("lcom"), -801453 ("adresse").
int Mainpanel_ReadIni(IniDocument *handle);

// Puts the chosen port, the last port and the address character's code (49 for "1") into
// the section "com" of the document. Answers 0.
int Mainpanel_WriteIni(IniDocument *handle);
