// The parts of trz4ctl's help that differ per system, one file each (help_posix.cpp,
// help_win32.cpp; the build compiles the one for its system): the tool's help but for its common
// options, the help of the commands about the port list and the port map, and the COM number the
// other examples use. Written in German and marked for the translation files like the rest of the
// help.
#pragma once

struct CommandHelp {
    const char *command;
    const char *text;
};

// The tool's help: its beginning up to the options that depend on the system, and its examples.
extern const char *const kSystemToolHelp;
extern const char *const kSystemToolExamples;
// The exit statuses only this system has, after the common ones; null where there are none.
extern const char *const kSystemExitStatuses;
// ports, map, unmap.
extern const CommandHelp kSystemCommandHelp[3];
// The COM number of a typical USB adapter on this system, for "%1" in the examples of the
// commands that talk to the card.
extern const char *const kExampleCom;
