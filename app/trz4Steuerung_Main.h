// The program's outermost control flow and the main panel's own callback.
#pragma once

// The program's main function, called by the runtime's process start-up (app/commandline.h)
// once the runtime exists and the command line is in effect: loads and fills the panels,
// applies the settings file, shows the main panel and runs the event loop until "Beenden",
// the close box or a termination request (a kill, Ctrl-C, the session's end; ui/uiruntime.h);
// then writes the settings file, shows a failed write in a popup ("Fehler #800203" with the
// file and the system's reason), and discards the panels. argv is passed on to the runtime
// only. Answers 0 after a normal run, kExitSettingsNotSaved after a run whose settings file
// could not be written (the run itself ends as any other), -1 when the runtime is not ready
// or a panel cannot be loaded (then nothing has been shown, and the settings file is neither
// read nor written).
int trz4SteuerungMain(int argc, char *argv[]);

// Exit status of a run whose settings could not be saved: a script that starts the program
// can tell it from a run that saved them (0).
inline constexpr int kExitSettingsNotSaved = 1;

// Panel callback of the main panel: the close event (the window's close box) ends the event
// loop; every other event is ignored. Answers 0.
int Callback_Panels(int panel, int event, void *callbackData, int eventData1, int eventData2);
