// Two start-up hooks for the project's own scripts, armed by environment variables that only
// those scripts set; a normal run has neither.
//
// TRZ4_STARTUP_PROBE=1 (bench/startup_bench): once the main event loop runs, prints
// "shown" on stdout, waits half a second of idle time, prints "rss <kB>" (VmRSS) and ends the
// loop as "Beenden" would.
//
// TRZ4_SCREENSHOT_DIR=<dir> (scripts/screenshots): once the main event loop runs, writes
// every loaded panel as <dir>/<panel constant in lower case>.png (hidden panels are shown as
// popups for the picture, as "Info" shows them) and ends the loop.
#pragma once

namespace ui {

void armDeveloperHooks();

// Resident memory of this process in kB (VmRSS), or -1 when it cannot be read.
long residentKilobytes();

} // namespace ui
