#include "platform/userlocale.h"

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
