// The settings file "trz4Steuerung.ini": the link settings that the program keeps from one run
// to the next and that trz4ctl takes as its defaults. One section "com" with three integer
// keys; the text form is the ini library's (inifile/inifile.h). The program reads the file at
// start-up and writes it from a fresh document at exit; trz4ctl only reads it.
#pragma once

#include <string>

struct IniDocument;

inline constexpr const char *kSettingsFileName = "trz4Steuerung.ini";

// The keys of section "com", in the order the program reads and writes them.
enum class SettingsKey {
    Com,     // "com": the chosen COM port, 0 for none
    LastCom, // "lcom": the last COM port that was open, 0 for none
    Address, // "adresse": the address character's code as a signed number (49 for "1")
};

// The settings file in `directory`, UTF-8 in and out on every system: the name alone (the
// current directory) when `directory` is empty.
std::string settingsFileIn(const std::string &directory);

// One key: true with *value set when the item exists and its text is an integer; false when it
// is missing, blank or no integer (*value untouched).
bool settingsGet(IniDocument *doc, SettingsKey key, int *value);

// Adds or replaces one key's item: Ini_PutInt's result.
int settingsPut(IniDocument *doc, SettingsKey key, int value);

// The address character that a stored "adresse" value names: its lowest byte (305 = 0x131
// gives "1").
constexpr char settingsAddressOf(int value) {
    return static_cast<char>(value & 0xFF);
}

// A write that failed, and why: the ini library's code, the errno value of the system call
// that failed (0 when the library refused without one), and the file as an absolute path
// (as given when it cannot be made absolute), for the operator's message.
struct SettingsWriteFailure {
    int code = 0;
    int systemError = 0;
    std::string file;
};

// Writes the document to `path`, replacing the file in one step (Ini_WriteToFile). 0, or the
// ini library's negative code with *failure (when not null) filled in.
int settingsWrite(IniDocument *doc, const std::string &path, SettingsWriteFailure *failure);
