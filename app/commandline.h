// The program's command line: its own options beside Qt's.
//
// Qt's options (-platform offscreen, -style Fusion, -display :1, ...) are taken out of argv by
// QApplication; whatever is left must be one of the program's own options:
//   --settings-dir DIR   the settings file is DIR/trz4Steuerung.ini (also --settings-dir=DIR)
//   --user-settings      the settings file is in the per-user configuration directory
//                        (userConfigDirectory(), created when missing), where the port map
//                        lives: the spelling for launchers that cannot expand variables
//   --lang de|en|qps     the language the program speaks (also --lang=de; qps the
//                        pseudo-language); without it, the user's locale's (text/language.h)
//   -h, --help           the help on stdout, exit status 0
//   --version            "trz4Steuerung <version>" on stdout, exit status 0
// Without a settings option the file is trz4Steuerung.ini in the current directory. A usage
// error ends the program with a line on stderr and exit status 2 before anything is shown.
// On Windows, where the program has no console of its own, the help, the version and usage
// errors go to the console it was started from, or into a message box when there is none.
// The help and the usage errors are in the program's language (--lang, else the locale's;
// the locale's for an error in --lang itself).
#pragma once

#include "app/language.h"

#include <optional>
#include <string>
#include <vector>

// Exit status of a wrong command line.
inline constexpr int kExitUsage = 2;

struct ProgramOptions {
    bool help = false;
    bool version = false;             // --version
    std::string settingsDirectory;    // --settings-dir; empty when not given
    bool userSettings = false;        // --user-settings
    std::optional<Language> language; // --lang; none when not given
};

// Parses args (the program name excluded) into *options. With qtOptionsRemoved false (before
// QApplication has seen argv) arguments that are not the program's own are passed over, as
// they may be Qt's options and their values; with true every such argument is an error.
// Answers false with a message in *error (in the language in effect) for an unknown option or
// argument, a missing or empty directory, a --lang other than de, en or qps, a value given to an
// option that takes none, or both settings options.
bool parseProgramOptions(const std::vector<std::string> &args, bool qtOptionsRemoved,
                         ProgramOptions *options, std::string *error);

// The help text in the language in effect.
std::string programHelpText();

// Puts the options into effect: the language (--lang, else the user's locale's;
// setProgramLanguage of app/language.h), the settings directory (setSettingsDirectory), and for
// --user-settings the per-user configuration directory, created first when it is missing (a
// directory that cannot be made shows as a settings file that cannot be read or written).
void applyProgramOptions(const ProgramOptions &options);

// The whole process from main: --help, --version and errors in the program's own options are
// answered before the runtime starts, so that they need no display; then the runtime's process
// start-up runs trz4SteuerungMain with the options in effect. Returns the exit status: 0 after a
// normal run, the help or the version, kExitUsage for a wrong command line, -1 as trz4SteuerungMain
// gives it.
int runTrz4Steuerung(int argc, char *argv[]);
