// Where the program keeps what belongs to the user rather than to a directory: the port map
// and, when asked to, the settings file (cardlink/settingsfile.h).
#pragma once

#include <string>

// The per-user configuration directory of trz4-Steuerung: $XDG_CONFIG_HOME/trz4steuerung, or
// ~/.config/trz4steuerung when XDG_CONFIG_HOME is unset, empty or not an absolute path (the
// base directory rule of freedesktop.org counts a relative one as invalid). The home directory
// is $HOME, else the user database's entry, else /tmp. Nothing is created. No trailing '/'.
std::string userConfigDirectory();

// How the program's help names that directory to the user, in German, as lines of the help's
// option column (continuation lines indented to it). Its wording is marked for the program's
// translation files under the context "commandline".
const char *userConfigDirectoryHelp();

// Creates dir with each missing level, private to the user (mode 0700, as the entries tell
// which devices and settings this user has). Existing levels are left as they are. Answers 0
// (also when everything exists), or -errno of the first level that cannot be made (-ENOTDIR
// when a level is a file).
int createPrivateDirectories(const std::string &dir);
