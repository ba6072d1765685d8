// Two start-up hooks for the project's own scripts, armed by environment variables that only
// those scripts set. They live in the developer library ui_devhooks, which only the developer
// build of the program (trz4Steuerung-dev) links: the installed program has neither hook nor
// environment switch. Linking the library is enough; it hands armDeveloperHooks to the
// runtime's start-up (setStartupHook, ui/uiruntime.h) when the program is loaded.
//
// TRZ4_STARTUP_PROBE=1 (bench/startup_bench): once the main event loop runs, prints
// "shown" on stdout, waits half a second of idle time, prints "rss <kB>" (residentKilobytes(),
// platform/process.h) and ends the loop as "Beenden" would.
//
// TRZ4_SCREENSHOT_DIR=<dir> (scripts/screenshots): once the main event loop runs, writes
// every loaded panel as <dir>/<panel constant in lower case>.png (hidden panels are shown as
// popups for the picture, as "Info" shows them) and ends the loop.
//
// TRZ4_DRIVE=<button>[,<button>...] (scripts/test-windows: the program under Wine, where no
// test can reach in): once the main event loop runs, clicks the named command buttons of the
// main panel one after the other, each callback running to its end as on the operator's
// click, then prints each LED, string control and text message of that panel as
// "<NAME>=<value>" on stdout and closes the panel's window through its close box, so that the
// program ends its own way. An unknown name is reported on stderr and ends the program with 3.
// TRZ4_DRIVE_HOLD_MS=<ms> keeps the panel that long on screen before the close.
#pragma once

namespace ui {

// Arms each hook whose environment variable is set and not empty; needs the QApplication.
void armDeveloperHooks();

} // namespace ui
