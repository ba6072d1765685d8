#include "app/Funktionen.h"

#include "app/Mainpanel_Main.h"
#include "errors/VEK_errorV3.h"
#include "inifile/inifile.h"
#include "platform/files.h"
#include "platform/userdirs.h"
#include "text/texts.h"
#include "ui/uiruntime.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

std::string gSettingsDirectory;

// What the ini library's result says where no system call left a reason in errno.
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

// "<absolute path>: <reason>" for a settings file that could not be written, the reason being
// the failing system call's where there is one.
std::string writeFailureReason(const std::string &path, int code, int errnoValue) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(pathFromUtf8(path), ignored);
    const std::string where = absolute.empty() ? path : utf8FromPath(absolute);
    // All temporary names taken leaves EEXIST behind, which would mislead.
    const bool systemReason = errnoValue != 0 && code != kIniNoUnusedTempName;
    return where + ": " + (systemReason ? std::strerror(errnoValue) : iniResultReason(code));
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
    const std::string path = settingsFilePath();
    errno = 0;
    const int code = Ini_WriteToFile(handle, path.c_str());
    const int errnoValue = errno;
    Ini_Dispose(handle);
    if (code != 0) {
        VEK_Fehleruserstring(writeFailureReason(path, code, errnoValue).c_str());
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
