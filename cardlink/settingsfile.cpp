#include "cardlink/settingsfile.h"

#include "inifile/inifile.h"
#include "platform/files.h"

#include <filesystem>
#include <system_error>

namespace {

constexpr const char *kSection = "com";

const char *keyName(SettingsKey key) {
    switch (key) {
    case SettingsKey::Com:
        return "com";
    case SettingsKey::LastCom:
        return "lcom";
    case SettingsKey::Address:
        return "adresse";
    }
    return "";
}

} // namespace

std::string settingsFileIn(const std::string &directory) {
    if (directory.empty())
        return kSettingsFileName;
    return utf8FromPath(pathFromUtf8(directory) / kSettingsFileName);
}

bool settingsGet(IniDocument *doc, SettingsKey key, int *value) {
    return Ini_GetInt(doc, kSection, keyName(key), value) > 0;
}

int settingsPut(IniDocument *doc, SettingsKey key, int value) {
    return Ini_PutInt(doc, kSection, keyName(key), value);
}

int settingsWrite(IniDocument *doc, const std::string &path, SettingsWriteFailure *failure) {
    int systemError = 0;
    const int code = Ini_WriteToFileWithReason(doc, path.c_str(), &systemError);
    if (code == 0 || failure == nullptr)
        return code;
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(pathFromUtf8(path), ignored);
    *failure =
        SettingsWriteFailure{code, systemError, absolute.empty() ? path : utf8FromPath(absolute)};
    return code;
}
