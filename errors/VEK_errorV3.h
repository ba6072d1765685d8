// Error codes and the message catalogue.
//
// Every operation that can fail returns an int: 0 for success, a negative error code for
// failure. A code is -(kind * 1000 + site): the kind (1 to 1034 in the catalogue) selects the
// message, the site (0 to 999) names the place that raised it. code / 1000, truncated toward
// zero, gives -kind; the message lookup uses that quotient alone and ignores the site.
// Example: -400301 is kind 400 ("Unzulässige Geräteadresse") raised at site 301.
//
// The module keeps three process-wide values, alive from start to exit without any
// initialisation call: the language value (1 at start; 2 selects the non-German texts, every
// other value German), the 500-byte message buffer and the 300-byte one-shot user string (empty
// at start). The non-German texts are those of the process's language (text/language.h):
// English, or the pseudo-language; English while the process speaks German. The catalogue
// holds the German texts; the others come from the translation files (text/texts.h).
// None of the functions reports an error. They are meant for the user-interface thread only:
// nothing is locked.
//
// The error display at the end of this header works on controls of the runtime: it is
// implemented above the runtime, in panel/VEK_Fehleranzeige.cpp, and only programs with the GUI
// link it (trz4::panel). Everything before it is the Qt-free library trz4::errors.
//
// Texts are UTF-8. The byte limits are byte limits: a catalogue text is at most 192 bytes, so
// the longest text, a line feed, a full user string and the terminating zero fit the message
// buffer. Lines inside a text are separated by a line feed, never by a carriage return.
#pragma once

#include "text/language.h"

#include <string>

// Size of the message buffer that VEK_Fehlermeldung returns, terminating zero included.
inline constexpr int kVekMessageBufferSize = 500;
// Size of the user string, terminating zero included (up to 299 bytes of text).
inline constexpr int kVekUserStringSize = 300;
// Upper bound of every catalogue text in bytes, terminating zero excluded.
inline constexpr int kVekMaxCatalogueTextBytes = 192;
// Number of kinds that have a catalogue entry (kind 0, the no-error entry, included).
inline constexpr int kVekCatalogueEntries = 171;
// The language value that selects the non-German texts (English, unless the process speaks
// another language).
inline constexpr int kVekLanguageEnglish = 2;
// The silent kind: its text is empty and popups never show it.
inline constexpr int kVekSilentKind = 6;

// ---------------------------------------------------------------------------------------------
// Forming error codes
//
// Every code the system raises is formed here and nowhere else: a named constant
// `vekCode(VekKind::..., site)` with a literal site, declared in errors/raisedcodes.h in the
// namespace of the module that raises it and listed in that module's table of raised codes
// (`kRaisedCodes`, an array of VekRaisedCode). Callers elsewhere use the constant by name. A site
// number belongs to exactly one constant across the whole system, so the number an operator reports
// names the place. A test walks every module's table against the catalogue and scans the sources,
// so that a bare number, a code formed another way or a site used twice fails the build's tests.

// The kinds the system raises. Each has a catalogue entry; the values are the catalogue's.
enum class VekKind : int {
    ComOpen = 100,           // opening the serial port
    ComWrite = 101,          // writing to the serial port
    ComClose = 103,          // closing the serial port
    ComPortNumber = 110,     // a COM number outside 0-256
    ComTimeout = 111,        // setting the port's time-out
    ComFlush = 112,          // flushing either queue
    ComShortWrite = 114,     // not every byte of a frame was taken
    ComNotOpen = 122,        // an operation found no open port
    ComFlushOutput = 123,    // flushing the output queue
    ComFlushInput = 124,     // flushing the input queue
    ComBaudRate = 125,       // a baud rate the card does not use
    FileCreate = 305,        // a file or link could not be made
    FileDelete = 306,        // a file or link could not be removed
    DeviceAddress = 400,     // an address the operation does not take
    Parameter = 401,         // a parameter name the protocol does not know
    Nak = 402,               // the card answered NAK
    NoAnswer = 403,          // no (valid) handshake byte
    WrongAnswer = 404,       // an answer that breaks the protocol
    Can = 405,               // the card answered CAN
    DeviceParameter = 409,   // the card refused the parameter ("err")
    ValueOutOfLimits = 500,  // a value outside its allowed characters or range
    IniWrite = 800,          // writing the settings file
    IniRead = 801,           // reading the settings file
    IniNotFound = 802,       // the settings file cannot be opened
    DeviceMemoryWrite = 895, // the card did not take a value written into it
};

// -(kind * 1000 + site). Evaluated at compile time only: a site outside 0-999 does not compile,
// and no code is ever formed from a run-time number.
consteval int vekCode(VekKind kind, int site) {
    if (site < 0 || site > 999) {
        throw "an error site is a number from 0 to 999";
    }
    return -(static_cast<int>(kind) * 1000 + site);
}

// The kind and the site of a code (both positive for a failure code; 0 and 0 for 0).
constexpr int vekKindOf(int code) {
    return -(code / 1000);
}
constexpr int vekSiteOf(int code) {
    return -(code % 1000);
}

// One entry of a module's table of raised codes: the code and, for reports, the function
// and the condition that raise it.
struct VekRaisedCode {
    int code;
    const char *raisedBy;
};

// The message for `code` in the current language, with a pending user string attached.
//
// The quotient q = code / 1000 (toward zero) selects the catalogue entry of kind -q; a kind
// without an entry, and every q above 0, gives the fallback text ("Ein unbekannter Fehler ist
// aufgetreten" / "A unknown error occured"). Codes -999 ... 999 are kind 0, the no-error entry.
// Kinds 6 and 9 have empty texts.
//
// If the user string is not empty, a line feed and the user string are appended and the user
// string is emptied. Exception: in the non-German texts, a quotient of 0 yields "No error"
// alone and leaves the user string pending for the next lookup.
//
// The result points to the module's message buffer: it stays valid for the whole run, and the
// next call replaces its contents (a caller that needs a message after a further lookup copies
// it first). The buffer is always zero-terminated, never written past its 500 bytes, and never
// cut inside a UTF-8 character.
char *VEK_Fehlermeldung(int code);

// Sets the language value: 2 selects the non-German texts (English, or the process's language
// when that is another); 1 (the value at start) and every other value select German. The value
// is kept until the next call.
void VEK_Fehlersprache(int language);

// Copies `text` into the user string, replacing a text that is still pending; the next
// VEK_Fehlermeldung attaches it on a line of its own and consumes it. A text longer than 299
// bytes is cut at the last whole UTF-8 character that fits. A null pointer empties the user
// string.
void VEK_Fehleruserstring(const char *text);

// Sets the user string to "<place>: <reason>". Where that is longer than the user string
// takes, the middle of the place gives way (marked by "…", cut between whole UTF-8
// characters) and the reason stays whole: a long path must not push out the reason it is
// given for. A reason too long even alone follows "…" in place of the place and is cut as
// VEK_Fehleruserstring cuts.
void vekUserStringForPlace(const char *place, const char *reason);

// The current language value (as last set by VEK_Fehlersprache, 1 at start).
int vekLanguage();

// Puts a program's language into effect: the process's language (setLanguage of
// text/language.h) and the language value that matches it (1 for German, 2 for any other).
void vekSetLanguage(Language language);

// A text of the error reporting (a popup's title) in the language the language value selects,
// as the catalogue's messages are: trTextIn (text/texts.h) in German for every value but 2.
std::string vekText(const char *context, const char *source);

// The fallback text of a kind without entry: English for language value 2, German otherwise.
const char *vekFallbackText(int language);

// Walking the catalogue, for tools that list or document it.
//
// vekCatalogueSize() is the number of entries (kVekCatalogueEntries). vekCatalogueEntry gives
// entry i (0 <= i < size, in ascending kind order) through the non-null out-parameters and
// answers true; for an i out of range it answers false and leaves the out-parameters alone.
// The English text is the English translation file's (the German one where that lacks it).
// The texts stay valid for the whole run and must not be freed; kinds 6 and 9 give empty texts.
int vekCatalogueSize();
bool vekCatalogueEntry(int i, int *kind, const char **german, const char **english);

// Looks up the entry of `kind`. Answers true and fills the non-null out-parameters when the
// catalogue has an entry; answers false (out-parameters untouched) otherwise.
bool vekCatalogueFind(int kind, const char **german, const char **english);

// Error display
// ---------------------------------------------------------------------------------------------
// Error display: popups titled with the error number, and registered sets of display controls
// (an LED, a text control and a numeric control) that show the latest result. The number
// shown to the operator is the negated code (-403012 shows as 403012). User-interface thread
// only; the table of sets is process-wide and not locked.

// Most error-control sets that can be registered.
inline constexpr int MAX_FEHLERCONTROLS = 10;

// Shows the code in a modal popup titled "Fehler #<number>" ("Error #<number>" in English for
// the language value 2, vekText) with the message of VEK_Fehlermeldung (which consumes a pending
// user string) and returns when the operator has dismissed it. Kind 6 is silent: nothing is shown.
void VEK_Fehlerpopup(int code);

// As VEK_Fehlerpopup, but the title is `title` followed by " #<number>". The title holds at
// most 99 bytes: a longer caller's text is cut at a whole UTF-8 character so that the number
// always stays visible. A null title counts as empty.
void VEK_Fehlerpopup2(int code, const char *title);

// Adds a set of display controls on `panel`. With MAX_FEHLERCONTROLS sets registered already,
// shows the popup "Interner Fehler" / "MAX_FEHLERCONTROLS ist zu klein" and drops the set.
// Answers 0 when stored, -1 when dropped (callers need not look).
int VekCom_RegisterFehlerControls(int panel, int ledControl, int stringControl, int numberControl);

// Shows `code` in every registered set, in registration order: the LED on for a failure and
// off for 0, the message (looked up anew for each set, so a pending user string reaches only
// the first) or the empty text for 0, and the number. Answers the number of sets.
int VekCom_FehlermeldungSet(int code);

// Shows a success in words in every registered set: as VekCom_FehlermeldungSet(0) does (LED
// off, number 0), but with `text` (UTF-8; null as empty) in the text control instead of the
// empty text. Answers the number of sets.
int vekShowSuccess(const char *text);

// Tells the operator the outcome of an operation through a screen reader, once, in one
// sentence in the operator's language, after the registered sets show it: for 0 `success`
// (null or empty: nothing), for a failure "Fehler <number>: <message>", followed by
// "Angezeigte Werte sind nicht aktuell." while a value shown from the card is stale; nothing
// for a silent code. Nothing shows on the panel. Answers the number of sets.
int vekAnnounceOutcome(int code, const char *success);

// Forgets every registered set (tests start from an empty table).
void vekResetFehlerControls();
