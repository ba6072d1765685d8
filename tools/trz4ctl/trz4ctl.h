// trz4ctl: the card link of trz4-Steuerung from the command line, for scripts and test benches.
//
// One invocation runs one subcommand on the same libraries as the program (card protocol,
// COM numbering and port map, error catalogue, ini library) and ends with an exit status:
//   0  success;
//   1  a card or port error: "Fehler #<number>: <message>" on stderr ("Error #..." in
//      English), the number being the positive form of the error code; also a write that the
//      card reads back as another number, and a port watch that cannot start;
//   2  wrong usage: unknown subcommand or option, a missing or malformed value, or `write`
//      without --yes. Nothing is sent to a card then.
// Nothing is ever read from stdin and nothing is asked. Card commands open the port, send one
// command (the scan one per probed address) and close the port again, as the program does.
// Text from the card reaches the terminal with its control characters escaped (\x1b, and a
// backslash as \\), so a card cannot steer the operator's terminal.
//
// Language: German under a German locale (LC_ALL, LC_MESSAGES, LANG; on Windows without them
// the user's display language: localeLanguage of text/language.h), English otherwise; --lang
// overrides (qps: the pseudo-language). Every text goes through the one lookup (text/texts.h):
// help, usage errors, the write warning, messages and their detail lines, JSON members.
#pragma once

#include "cardlink/vektrz4.h"
#include "errors/raisedcodes.h"
#include "text/language.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

enum CtlExitStatus {
    kCtlExitOk = 0,
    kCtlExitCardError = 1,
    kCtlExitUsage = 2,
};

struct CtlOptions {
    std::string command;               // the subcommand; empty when only --help was given
    std::vector<std::string> operands; // what follows the subcommand, options excluded
    std::optional<int> com;            // --com N: 0 (none) or 1-256
    std::optional<char> address;       // --address A: one character, checked when used
    std::optional<Language> language;  // --lang: the language asked for
    bool json = false;                 // --json
    bool yes = false;                  // --yes: the confirmation of `write`
    bool help = false;                 // --help or -h
    bool trace = false;                // --trace: every exchange with the card on stderr
    bool watch = false;                // --watch (ports): print changes until interrupted
    bool allPorts = false;             // --all-ports (scan): every listed port, address 1
    bool version = false;              // --version
    std::string settingsDirectory;     // --settings-dir DIR; empty when not given
    bool userSettings = false;         // --user-settings: the per-user configuration directory

    // --timeout S: above 0; the card's own time-out unless given.
    double timeoutSeconds = kTrz4TimeoutSeconds;
};

// The subcommands and the options, as the help and the shell completion name them.
inline constexpr const char *kCtlCommands[] = {"ports", "id",  "scan",  "status", "read",
                                               "write", "map", "unmap", "help"};
inline constexpr const char *kCtlOptions[] = {
    "--com",           "--address", "--timeout", "--lang",      "--json",  "--yes",
    "--help",          "-h",        "--trace",   "--all-ports", "--watch", "--settings-dir",
    "--user-settings", "--version"};

// The language of an invocation: a valid --lang anywhere among the options (the last), else the
// locale's. runTrz4ctl puts it into effect before it parses, so that a mistake earlier on the
// line is reported in the language asked for.
Language ctlLanguage(const std::vector<std::string> &args);

// Parses the arguments (the program name excluded). Options may stand before or after the
// subcommand, as "--name value" or "--name=value"; "--" ends the options. Answers false with a
// message in *error, in the process's language, when an option is unknown or its value
// malformed (an empty --settings-dir included), or when --settings-dir and --user-settings are
// both given; the subcommand, the number of operands and which options suit it are checked by
// runTrz4ctl, so that --help works for every command.
bool parseCtlArguments(const std::vector<std::string> &args, CtlOptions *options,
                       std::string *error);

// The program's stored choice: the "com" and "adresse" items of section "com". A missing file
// or key leaves the start values (no port, address "1"); so does a value that the program
// itself would not take up (a port outside 0-256, an address other than "1" or "&").
struct CtlSettings {
    int com = 0;
    char address = '1';
};
CtlSettings readCtlSettings(const char *path);

// The settings file the options name, as the program finds it with the same options:
// kSettingsFileName (cardlink/settingsfile.h) in the current directory, in DIR for
// --settings-dir DIR, or in userConfigDirectory() for --user-settings. Nothing is created.
std::string ctlSettingsPath(const CtlOptions &options);

// The help of the tool (command empty) or of one subcommand, in the process's language; empty
// for an unknown command.
std::string ctlHelpText(const std::string &command);

// Runs one invocation: results go to out (one JSON object with --json; `ports --watch` one
// line or object per change after the list), messages to err. Puts the invocation's language
// into effect (ctlLanguage, vekSetLanguage). With --trace every exchange with a card is written to
// err as the link log's lines (cardlink/linklog.h) while the invocation runs. Returns the exit
// status.
int runTrz4ctl(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
