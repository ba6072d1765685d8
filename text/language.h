// The language a program speaks, chosen once per process, the same way in every program.
//
// German is the language the texts are written in: the code holds them, byte for byte. Every
// other language is a file of translations (text/languages.def names them; English is one),
// except the pseudo-language "qps", which is made from the English texts while they are looked
// up (text/texts.h) and serves tests that look for texts that bypass the lookup or do not fit.
//
// The choice: the option --lang <code>, else the user's locale (platform/userlocale.h): the
// language whose code the locale's language part names ("de_DE.UTF-8" German), English for
// every other locale, none at all included. A locale never chooses the pseudo-language.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class Language {
    German, // the texts as written
#define TRZ4_LANGUAGE(name, code) name,
#include "text/languages.def"
#undef TRZ4_LANGUAGE
    Pseudo, // "qps": English, accented, bracketed and about 40 % longer
};

// The code of a language as --lang takes it: "de", "en", "qps".
std::string_view languageCode(Language language);

// The language of a --lang value; nothing for any other text (codes are lower case).
std::optional<Language> languageOfCode(std::string_view code);

// The language a locale name asks for: the language whose code is the part of the name before
// '_', '-', '.' or '@' ("de", "de_AT", "de-CH", "de.UTF-8", "de@euro" German), English for
// every other name ("C", "POSIX", "", "en_GB.UTF-8", "DE", "dea"). Never the pseudo-language.
Language languageOfLocale(std::string_view localeName);

// The language of the user's locale: languageOfLocale(messagesLocaleName()).
Language localeLanguage();

// The language that a valid --lang among `args` asks for: "--lang CODE" or "--lang=CODE", the
// last valid one; nothing when there is none. "--" ends the options. With `takesValue`, the
// argument after an option for which it answers true is that option's value, never a --lang.
std::optional<Language>
languageOption(const std::vector<std::string> &args,
               const std::function<bool(const std::string &)> &takesValue = {});

// The process's language: German until set. Every lookup without a language of its own follows
// it (text/texts.h). A program sets it once, before it says anything; tests switch it.
void setLanguage(Language language);
Language language();
