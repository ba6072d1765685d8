// The language the program speaks: German, the language its texts are written in, or English.
//
// The operator's choice: the option --lang de|en, else the user's locale (messagesLocaleName(),
// platform/userlocale.h): German when it names German, English for every other locale, "C"
// and none at all included. The language takes effect for
//  - the program's texts, the panels' included: English comes from the program's translation
//    catalogue, which the build compiles into the program; German is the texts as written,
//    byte for byte;
//  - Qt's own texts (a line edit's context menu, standard buttons): Qt's German translation
//    where it is installed (with Qt, or in "translations" beside the program), Qt's own
//    English otherwise;
//  - the error catalogue's messages and the error popups' titles (VEK_Fehlersprache).
//
// User-interface thread only.
#pragma once

#include <QString>

#include <optional>
#include <string>

enum class ProgramLanguage { German, English };

// The language of the user's locale: German when it names German (localeNamesGerman of
// platform/userlocale.h), English otherwise.
ProgramLanguage userLanguage();

// The value of --lang: "de" German, "en" English, nothing for any other text.
std::optional<ProgramLanguage> languageOfOption(const std::string &value);

// Puts `language` into effect. Panels loaded afterwards speak it; texts shown before keep
// theirs. Without a QCoreApplication only programText() and the error catalogue follow at
// once; call it again once the application exists to install the translators. Answers 0, or
// -1 when the English catalogue cannot be loaded (the program then shows its texts as written).
int setProgramLanguage(ProgramLanguage language);

// The language last put into effect; German before any call.
ProgramLanguage programLanguage();

// A text of the program's catalogue in the language in effect, also before the application
// exists (the command line's help and errors): the translation of `source` in `context`, or
// `source` itself.
QString programText(const char *context, const char *source);
