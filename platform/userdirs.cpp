// The per-user directories: what both systems share.

#include "platform/userdirs.h"

#include "platform/files.h"

std::string settingsFileIn(const std::string &directory) {
    if (directory.empty())
        return kSettingsFileName;
    return utf8FromPath(pathFromUtf8(directory) / kSettingsFileName);
}
