// Start-up and shutdown steps of the program.
#pragma once

#include "errors/VEK_errorV3.h"

namespace funktionen {

// Error codes of the settings file as a whole.
inline constexpr int kErrIniNotFound = vekCode(VekKind::IniNotFound, 201);
inline constexpr int kErrIniRead = vekCode(VekKind::IniRead, 202);
inline constexpr int kErrIniWrite = vekCode(VekKind::IniWrite, 203);

inline constexpr VekRaisedCode kRaisedCodes[] = {
    {kErrIniNotFound, "Func_IniDateiLaden: the file cannot be opened"},
    {kErrIniRead, "Func_IniDateiLaden: reading fails otherwise"},
    {kErrIniWrite, "Func_IniDateiSchreiben: writing fails"},
};

} // namespace funktionen

// Hides the application-wide taskbar button (the main panel gets its own) and sets the panels
// up with Mainpanel_Initialisieren. Answers 0, or -1 when that fails.
int Func_PanelsInitialisieren(const char *version, const char *datum);

// Discards the panels (Mainpanel_Freigeben). Answers 0.
int Func_PanelsFreigeben();

// The settings file "trz4Steuerung.ini" in the current directory, read once at start-up.
// Answers 0; -802201 when the file cannot be opened and -801202 when reading it fails
// otherwise (no setting changes then); or Mainpanel_ReadIni's code for a missing key, the
// other keys being applied.
int Func_IniDateiLaden();

// Writes the three settings into "trz4Steuerung.ini" from a fresh document, so keys written
// there by hand are gone afterwards; the file is replaced in one step. Answers 0 or -800203
// (the old file then stays as it was).
int Func_IniDateiSchreiben();
