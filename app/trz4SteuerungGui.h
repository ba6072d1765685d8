// The program's panel resource "trz4SteuerungGui.ui": its panel, control and menu constants,
// and its registration with the user-interface runtime.
//
// Every constant exists with its panel's prefix (MAINPANEL_COMPORT, INFOPANEL_OK, ...). The
// names that occur on one panel only exist without prefix as well (COMPORT, OK, ...); the
// names both panels use (PICTURE, TEXTMSG, TEXTMSG_2, TEXTMSG_3) only with their prefix.
#pragma once

namespace ui {
struct ResourceDescription;
}

// Registers the panel resource with the runtime under kTrz4GuiResource, so that LoadPanel
// finds MAINPANEL and INFOPANEL. The program calls it before it loads its panels; calling it
// again changes nothing.
void registerTrz4SteuerungGui();

// The description of the two panels and the menu bar, as registered.
const ui::ResourceDescription &trz4SteuerungGuiResource();

// Maker's name, shown on the info panel and read out for the logos.
inline constexpr const char *kMakerName = "Beispielwerk Steuerungstechnik GmbH";

// Resource file name and panel numbers.
inline constexpr const char *kTrz4GuiResource = "trz4SteuerungGui.ui";
inline constexpr int INFOPANEL = 1;
inline constexpr int MAINPANEL = 2;

// Main panel.
inline constexpr int MAINPANEL_ADRESSE = 2;
inline constexpr int MAINPANEL_COMPORT = 3;
inline constexpr int MAINPANEL_COMHILFE = 4;
inline constexpr int MAINPANEL_SCANN = 5;
inline constexpr int MAINPANEL_IDLESEN = 6;
inline constexpr int MAINPANEL_STATUSABFRAGE = 7;
inline constexpr int MAINPANEL_KARTENNUMMERLESEN = 8;
inline constexpr int MAINPANEL_KARTENNUMMERSCHREIBEN = 9;
inline constexpr int MAINPANEL_KARTENNUMMERSOLL = 10;
inline constexpr int MAINPANEL_FEHLERLED = 11;
inline constexpr int MAINPANEL_FEHLERSTRING = 12;
inline constexpr int MAINPANEL_FEHLERNUMMER = 13;
inline constexpr int MAINPANEL_LED1 = 14;
inline constexpr int MAINPANEL_ID = 15;
inline constexpr int MAINPANEL_TEXTMSG_2 = 16;
inline constexpr int MAINPANEL_TEXTMSG_3 = 17;
inline constexpr int MAINPANEL_TEXTMSG = 18;
inline constexpr int MAINPANEL_STATUSLED10 = 19;
inline constexpr int MAINPANEL_KARTENNUMMERIST = 20;
inline constexpr int MAINPANEL_STATUSLED9 = 21;
inline constexpr int MAINPANEL_COMAKTIVLED = 22;
inline constexpr int MAINPANEL_DECORATION = 23;
inline constexpr int MAINPANEL_PICTURE = 24;
inline constexpr int MAINPANEL_DECORATION_2 = 25;
inline constexpr int MAINPANEL_DECORATION_3 = 26;
inline constexpr int MAINPANEL_SCANNTEXT = 27;

// Info panel.
inline constexpr int INFOPANEL_PICTURE = 2;
inline constexpr int INFOPANEL_OK = 3;
inline constexpr int INFOPANEL_TEXTMSG = 4;
inline constexpr int INFOPANEL_TEXTMSG_2 = 5;
inline constexpr int INFOPANEL_VERSION = 6;
inline constexpr int INFOPANEL_DATUM = 7;
inline constexpr int INFOPANEL_TEXTMSG_3 = 8;

// Menu bar of the main panel.
inline constexpr int MENUMAIN = 1;
inline constexpr int MENUMAIN_DATEI = 2;
inline constexpr int MENUMAIN_DATEI_BEENDEN = 3;
inline constexpr int MENUMAIN_HILFE = 4;
inline constexpr int MENUMAIN_HILFE_INFO = 5;
// "Datei" -> "Schnittstellenprotokoll ...": the window of the link log.
inline constexpr int MENUMAIN_DATEI_PROTOKOLL = 6;

// Names without prefix for the constants that only one panel (or the menu bar) has.
inline constexpr int ADRESSE = MAINPANEL_ADRESSE;
inline constexpr int COMPORT = MAINPANEL_COMPORT;
inline constexpr int COMHILFE = MAINPANEL_COMHILFE;
inline constexpr int SCANN = MAINPANEL_SCANN;
inline constexpr int IDLESEN = MAINPANEL_IDLESEN;
inline constexpr int STATUSABFRAGE = MAINPANEL_STATUSABFRAGE;
inline constexpr int KARTENNUMMERLESEN = MAINPANEL_KARTENNUMMERLESEN;
inline constexpr int KARTENNUMMERSCHREIBEN = MAINPANEL_KARTENNUMMERSCHREIBEN;
inline constexpr int KARTENNUMMERSOLL = MAINPANEL_KARTENNUMMERSOLL;
inline constexpr int FEHLERLED = MAINPANEL_FEHLERLED;
inline constexpr int FEHLERSTRING = MAINPANEL_FEHLERSTRING;
inline constexpr int FEHLERNUMMER = MAINPANEL_FEHLERNUMMER;
inline constexpr int LED1 = MAINPANEL_LED1;
inline constexpr int ID = MAINPANEL_ID;
inline constexpr int STATUSLED10 = MAINPANEL_STATUSLED10;
inline constexpr int KARTENNUMMERIST = MAINPANEL_KARTENNUMMERIST;
inline constexpr int STATUSLED9 = MAINPANEL_STATUSLED9;
inline constexpr int COMAKTIVLED = MAINPANEL_COMAKTIVLED;
inline constexpr int DECORATION = MAINPANEL_DECORATION;
inline constexpr int DECORATION_2 = MAINPANEL_DECORATION_2;
inline constexpr int DECORATION_3 = MAINPANEL_DECORATION_3;
inline constexpr int SCANNTEXT = MAINPANEL_SCANNTEXT;
inline constexpr int OK = INFOPANEL_OK;
inline constexpr int VERSION = INFOPANEL_VERSION;
inline constexpr int DATUM = INFOPANEL_DATUM;
inline constexpr int DATEI = MENUMAIN_DATEI;
inline constexpr int BEENDEN = MENUMAIN_DATEI_BEENDEN;
inline constexpr int PROTOKOLL = MENUMAIN_DATEI_PROTOKOLL;
inline constexpr int HILFE = MENUMAIN_HILFE;
inline constexpr int INFO = MENUMAIN_HILFE_INFO;
