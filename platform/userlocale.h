// The user's locale as it decides the language of messages: German or English.
#pragma once

#include <string>

// The name of the locale that decides the language of messages, as the system gives it:
// POSIX: the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty ("de_DE.UTF-8",
// "C", ...), or "" when none is; Windows: the user's display language ("de-DE", "en-US").
std::string messagesLocaleName();

// True for a locale name of the German language: "de" alone or followed by '_', '-', '.' or
// '@' ("de_DE.UTF-8", "de-AT", "de@euro"); false for every other name, "" included.
bool localeNamesGerman(const std::string &localeName);
