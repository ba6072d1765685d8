#include "app/Funktionen.h"

#include "app/Mainpanel_Main.h"
#include "inifile/inifile.h"
#include "ui/uiruntime.h"

namespace {

// A name without directory: the file lives in the process's current directory.
const char *const kIniDateiName = "trz4Steuerung.ini";

} // namespace

int Func_PanelsInitialisieren(const char *version, const char *datum) {
    SetSystemAttribute(ATTR_TASKBAR_BUTTON_VISIBLE, 0);
    if (Mainpanel_Initialisieren(version, datum) != 0) {
        return -1;
    }
    return 0;
}

int Func_PanelsFreigeben() {
    Mainpanel_Freigeben();
    return 0;
}

int Func_IniDateiLaden() {
    IniDocument *handle = Ini_New(1);
    if (handle == nullptr) {
        return funktionen::kErrIniRead;
    }
    const int code = Ini_ReadFromFile(handle, kIniDateiName);
    if (code != 0) {
        Ini_Dispose(handle);
        return code == kIniCouldNotOpenFile ? funktionen::kErrIniNotFound : funktionen::kErrIniRead;
    }
    const int result = Mainpanel_ReadIni(handle);
    Ini_Dispose(handle);
    return result;
}

int Func_IniDateiSchreiben() {
    IniDocument *handle = Ini_New(1);
    if (handle == nullptr) {
        return funktionen::kErrIniWrite;
    }
    Mainpanel_WriteIni(handle);
    const int code = Ini_WriteToFile(handle, kIniDateiName);
    Ini_Dispose(handle);
    return code != 0 ? funktionen::kErrIniWrite : 0;
}
