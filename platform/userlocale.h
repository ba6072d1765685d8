// The user's locale as it decides the language of messages (text/language.h chooses by it).
#pragma once

#include <string>

// The name of the locale that decides the language of messages, as the system gives it: the
// first of LC_ALL, LC_MESSAGES and LANG that is set and not empty ("de_DE.UTF-8", "C", ...);
// when none is, "" on POSIX and the user's display language on Windows ("de-DE", "en-US"),
// where these variables are set only by someone who wants them (a POSIX-style shell, a test).
std::string messagesLocaleName();

// The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty, or "": the precedence of
// setlocale(LC_MESSAGES, "").
std::string environmentLocaleName();
