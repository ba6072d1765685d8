// The program's language, put into effect for everything it shows.
//
// The language itself and its choice (--lang, else the user's locale) are the process's
// (text/language.h); the texts come from the one lookup (text/texts.h). What the program adds:
// Qt's tr() and QCoreApplication::translate answer from that lookup, so that the panels and
// every Qt-marked text need no second catalogue; and Qt's own texts (a line edit's context
// menu) are Qt's German translation under German, where it is installed (with Qt, or in
// "translations" beside the program), and Qt's own English under every other language.
//
// User-interface thread only.
#pragma once

#include "text/language.h"

// Puts `language` into effect: the process's language and the catalogue's language value
// (vekSetLanguage), and, once a QCoreApplication exists, the translators (before, call it again
// once the application exists). Panels loaded afterwards speak it; texts shown before keep
// theirs. Answers 0, or -1 when the language's translation file cannot be read (the program then
// shows its texts as written).
int setProgramLanguage(Language language);
