#include "app/Funktionen.h"

#include "app/Mainpanel_Main.h"
#include "cardlink/settingsfile.h"
#include "errors/VEK_errorV3.h"
#include "inifile/inifile.h"
#include "text/texts.h"
#include "ui/uiruntime.h"

#include <cerrno>
#include <cstring>

namespace {

std::string gSettingsDirectory;

// What the ini library's result says where no system call gave a reason.
std::string iniResultReason(int code) {
    switch (code) {
    case kIniAccessDenied:
        // Access problems come with errno; without it the name is taken by a directory, a
        // device or the like, which is never replaced.
        return trText("Funktionen", "keine gewöhnliche Datei");
    case kIniNoUnusedTempName:
        return trText("Funktionen", "kein freier Name für die temporäre Datei");
    case kIniOutOfMemory:
        return std::strerror(ENOMEM);
    case kIniDiskFull:
        return std::strerror(ENOSPC);
    default:
        return withArgument(trText("Funktionen", "Fehler %1 der INI-Bibliothek"),
                            std::to_string(code));
    }
}

// Hands "<absolute path>: <reason>" for a settings file that could not be written to the next
// message, the reason being the failing system call's where there is one. A long path is
// shortened in the message, never the reason.
void reportWriteFailure(const SettingsWriteFailure &failure) {
    const std::string reason = failure.systemError != 0 ? std::strerror(failure.systemError)
                                                        : iniResultReason(failure.code);
    vekUserStringForPlace(failure.file.c_str(), reason.c_str());
}

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
    const int code = Ini_ReadFromFile(handle, settingsFilePath().c_str());
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
    SettingsWriteFailure failure;
    const int code = settingsWrite(handle, settingsFilePath(), &failure);
    Ini_Dispose(handle);
    if (code != 0) {
        reportWriteFailure(failure);
        return funktionen::kErrIniWrite;
    }
    return 0;
}

void setSettingsDirectory(const std::string &directory) {
    gSettingsDirectory = directory;
}

std::string settingsFilePath() {
    // Unless a settings directory is chosen, the file lives in the process's current directory.
    return settingsFileIn(gSettingsDirectory);
}
