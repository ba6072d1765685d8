// The per-user directories: what both systems share.

#include "platform/userdirs.h"

#include <filesystem>

std::string settingsFileIn(const std::string &directory) {
    if (directory.empty())
        return kSettingsFileName;
    // Through char8_t std::filesystem takes the path as UTF-8 on every system. On Windows a
    // plain string goes through the C library's narrow character set, which is not UTF-8:
    // characters beyond ASCII are lost, or std::filesystem throws.
    const std::u8string joined =
        (std::filesystem::path(std::u8string(directory.begin(), directory.end())) /
         kSettingsFileName)
            .u8string();
    return std::string(joined.begin(), joined.end());
}
