// Start-up and shutdown steps of the program.
#pragma once

#include "errors/raisedcodes.h"

#include <string>

// Hides the application-wide taskbar button (the main panel gets its own) and sets the panels
// up with Mainpanel_Initialisieren. Answers 0, or -1 when that fails.
int Func_PanelsInitialisieren(const char *version, const char *datum);

// Discards the panels (Mainpanel_Freigeben). Answers 0.
int Func_PanelsFreigeben();

// The settings file "trz4Steuerung.ini" (settingsFilePath()), read once at start-up.
// Answers 0; -802201 when the file cannot be opened and -801202 when reading it fails
// otherwise (no setting changes then); or Mainpanel_ReadIni's code for a missing key, the
// other keys being applied.
int Func_IniDateiLaden();

// Writes the three settings into "trz4Steuerung.ini" (settingsFilePath()) from a fresh
// document, so keys written there by hand are gone afterwards; the file is replaced in one
// step. Answers 0 or -800203; then the old file stays as it was, and the system's reason,
// "<absolute path>: <reason>", is handed to VEK_Fehleruserstring, so that the popup that
// shows the code tells the operator which file failed and why.
int Func_IniDateiSchreiben();

// Where the settings file lives. The empty directory (the default) keeps the bare file name,
// so the file is read and written in the process's current directory; any other directory
// holds it as "<directory>/trz4Steuerung.ini". Set before start-up reads the file.
void setSettingsDirectory(const std::string &directory);

// The path of the settings file that Func_IniDateiLaden and Func_IniDateiSchreiben use.
std::string settingsFilePath();
