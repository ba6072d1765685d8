#include "app/trz4Steuerung_Main.h"

#include "app/Funktionen.h"
#include "app/Mainpanel_Main.h"
#include "errors/VEK_errorV3.h"
#include "ui/uiruntime.h"

int trz4SteuerungMain(int /*argc*/, char *argv[]) {
    if (InitRuntimeEngine(nullptr, argv, nullptr) == 0) {
        return -1;
    }
    if (Func_PanelsInitialisieren(kProgramVersion, kProgramDate) != 0) {
        return -1;
    }

    // A settings file that is missing or incomplete is shown; start-up goes on with the
    // values that could be read.
    const int code = Func_IniDateiLaden();
    if (code != 0) {
        VEK_Fehlerpopup(code);
    }

    DisplayPanel(Mainpanel_GetMainpanel());
    RunUserInterface();

    // A failed write keeps the old file, and the operator's choices are lost: say so, with
    // the file and the system's reason, before the program ends, and in the exit status for
    // whoever started it. The end itself runs as after a save. When the program is being ended
    // from outside, the popup does not wait and its text goes to stderr instead
    // (ui/uiruntime.h).
    const int written = Func_IniDateiSchreiben();
    if (written != 0) {
        VEK_Fehlerpopup(written);
    }

    Func_PanelsFreigeben();
    return written != 0 ? kExitSettingsNotSaved : 0;
}

int Callback_Panels(int /*panel*/, int event, void * /*callbackData*/, int /*eventData1*/,
                    int /*eventData2*/) {
    if (event == EVENT_CLOSE) {
        QuitUserInterface(0);
    }
    return 0;
}
