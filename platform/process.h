// What programs ask of their process and session, the same way on every system: their
// arguments, a console that shows UTF-8, the local time, whether a display is there, and their
// memory.
#pragma once

#include <ctime>
#include <string>
#include <vector>

// The program's arguments after its name, as UTF-8. On POSIX they are argv as given; on
// Windows they come from the wide command line, so that no character is lost to the ANSI
// code page (argc and argv are not used there).
std::vector<std::string> programArguments(int argc, char **argv);

// Whether argv holds the arguments exactly as given, so that programArguments(argc, argv) of an
// argv that a library has thinned out (Qt takes its own options out) loses nothing. POSIX: true,
// argv is the bytes as given, also those that are no UTF-8 (a folder may be named so). Windows:
// false, argv is the ANSI code page's and the exact arguments are the wide command line's.
bool argvHoldsTheArguments();

// Makes UTF-8 text written to standard output and standard error show correctly. On Windows,
// where either is a console, std::cout and std::cerr write to it as UTF-16, and the console's
// output code page becomes UTF-8 for C's stdio for the life of the process (the previous one
// comes back at exit); output to a file or a pipe passes unchanged. Call it once at start,
// before anything is written. On POSIX nothing is to do.
void useUtf8Console();

// For a window program, which Windows starts without a console: standard output and standard
// error that lead nowhere are connected to the console of the process that started it (cmd,
// PowerShell), so that --help typed there shows there, and both are set up as useUtf8Console()
// says. Streams that already lead to a file, a pipe or a console stay. Answers whether standard
// error leads somewhere now: false for a program started from Explorer or a shortcut. POSIX:
// nothing to do, true.
bool attachParentConsole();

// A message box with the title and text (UTF-8) and an OK button: what a window program says
// when attachParentConsole() found nowhere to write it. Returns when the box is closed. POSIX:
// shows nothing (a program started there has its standard error).
void showMessageBox(const std::string &title, const std::string &text);

// The local time of a moment into *local, safe beside other threads (localtime_r on POSIX,
// localtime_s on Windows). False, with *local left alone, when the system cannot tell.
bool localTime(std::time_t moment, std::tm *local);

// Whether a graphical display is there for a window. On POSIX one of DISPLAY,
// WAYLAND_DISPLAY or QT_QPA_PLATFORM is set and not empty; Windows always has its desktop.
bool graphicalDisplayAvailable();

// The process's resident memory in kilobytes (POSIX: VmRSS from /proc/self/status; Windows:
// the working set), or -1 when the system does not tell.
long residentKilobytes();
