// The one lookup of every text a user reads, for every program, with and without Qt.
//
// A text is written in the code in German, in a context (a module's or a screen's name), and
// marked where it is written: a call of trText with literals, or TRZ4_TRANSLATABLE
// (platform/translatable.h) / Qt's QT_TRANSLATE_NOOP where the text is kept in a table. The
// catalogue tools find the marks and bring each language's file up to date
// (cmake --build <build> --target update_translations); each file holds the translation of
// every marked text, found by context and German wording. The files are Qt Linguist's .ts
// files, compiled into the libraries as they are and read at the first lookup of their language
// by a reader of our own, so that the programs without Qt read the same data as the program with
// it. Qt's tr() and QCoreApplication::translate answer from this lookup too, once the program
// has installed its translator (app/language.h).
//
// The lookup in a language: German, the text as written; a language with a file, its
// translation; the pseudo-language, the English translation made pseudo (pseudoText). A text
// without translation in the file, or marked unfinished there, is shown as written, in German,
// in every language.
#pragma once

#include "text/language.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// `source` of `context` in the process's language (language()). Null source: "".
std::string trText(const char *context, const char *source);

// The same in `language`.
std::string trTextIn(Language language, const char *context, const char *source);

// The text in `language` when a file translates it: the file's translation, for the
// pseudo-language the English one made pseudo; nothing for German and for a text without
// translation (Qt's translator answers with this, so that Qt's own texts stay Qt's).
std::optional<std::string> translatedText(Language language, const char *context,
                                          const char *source);

// The translation that the file of `language` holds for the text: null for German, for the
// pseudo-language (it has no file), and for a text the file lacks or marks unfinished. The text
// stays valid for the whole run.
const char *fileTranslation(Language language, const char *context, const char *source);

// Whether the file of `language` could be read: "" when it was (and for the languages without
// file), else what is wrong with it ("line 12: ..."). Its texts are then shown as written.
std::string languageFileError(Language language);

// The pseudo-language's form of `text` (UTF-8): every ASCII letter that has an accented twin
// in the Latin-1 and Latin Extended-A ranges takes it ("Read status" -> "Ŕéåđ šţåţûš"), each
// line is padded with middle dots to about 1.4 times its length, and the text is put in
// brackets. Kept as they are: line feeds (those that begin or end the text stay outside the
// brackets), placeholders (%1, %d, %-4d, %%, {...}), the shortcut mark '&' (before the accented
// letter), and in a text that begins with '<' (rich text) its tags and entities. "" stays "".
std::string pseudoText(std::string_view text);

// `text` with each "%1" ... "%9" replaced by the first ... ninth of `arguments` (a translation
// keeps its placeholders where its language wants the arguments), in one pass: a "%2" that an
// argument brings along stays as it is. A placeholder without argument stays too.
std::string withArguments(std::string_view text, std::initializer_list<std::string_view> arguments);
// The same with one argument.
std::string withArgument(std::string_view text, std::string_view argument);

// One message of a translation file.
struct TranslationMessage {
    std::string context;
    std::string source;
    std::string translation;
    bool finished = false; // translated and not marked unfinished, vanished or obsolete
};

// Reads the messages of a translation file (Qt Linguist's .ts format, UTF-8): the contexts with
// their names and messages, each with its source and translation; comments, locations and
// attributes other than a translation's type are passed over. Answers false with what is wrong
// and its line in *error for text that is not such a file.
bool readTranslationFile(std::string_view text, std::vector<TranslationMessage> *messages,
                         std::string *error);

// The messages of the file that the libraries carry for `language` (none for German and the
// pseudo-language), for the tests that check it is complete.
std::vector<TranslationMessage> languageFileMessages(Language language);
