#include "platform/userlocale.h"

#include <cstdlib>

bool localeNamesGerman(const std::string &localeName) {
    if (localeName.rfind("de", 0) != 0) {
        return false;
    }
    if (localeName.size() == 2) {
        return true;
    }
    const char next = localeName[2];
    return next == '_' || next == '-' || next == '.' || next == '@';
}

std::string environmentLocaleName() {
    // LC_ALL overrides LC_MESSAGES, which overrides LANG.
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char *value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') {
            return value;
        }
    }
    return {};
}
