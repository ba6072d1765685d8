// The program's link log: every exchange with the card is kept (the newest 1,000), and the
// window "Schnittstellenprotokoll" shows them, newest at the bottom, with "Kopieren" and
// "Speichern unter ...". Lines are those of cardlink/linklog.h, in the program's language.
//
// User-interface thread only.
#pragma once

#include <string>

class QWidget;

// Starts keeping the exchanges (installs the link log's sink). Calling it again changes
// nothing.
void linkLogStart();

// Stops keeping them, forgets them and closes the window.
void linkLogStop();

// Opens the window as a window of its own beside the panel (or raises it when it is open),
// filled with what has been kept; later exchanges appear in it as they happen.
void linkLogShow(int parentPanel);

// The window, or null while it was never opened or after linkLogStop.
QWidget *linkLogWindow();

// The kept exchanges as text, as "Kopieren" puts them on the clipboard when nothing is
// selected and "Speichern unter ..." writes them.
std::string linkLogText();

// Writes linkLogText() to path, replacing a file there in one step (the old file stays when
// writing fails), its lines ending as the system's text files do (CR LF on Windows). Answers
// an empty text on success, else the reason.
std::string linkLogSave(const std::string &path);
