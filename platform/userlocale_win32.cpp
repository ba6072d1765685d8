#include "platform/userlocale.h"

#include <windows.h>

std::string messagesLocaleName() {
    const std::string chosen = environmentLocaleName();
    if (!chosen.empty()) {
        return chosen;
    }
    // The language Windows itself speaks to the user, not the regional format.
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const LCID language = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
    if (LCIDToLocaleName(language, name, LOCALE_NAME_MAX_LENGTH, 0) == 0) {
        return {};
    }
    char utf8[4 * LOCALE_NAME_MAX_LENGTH] = {};
    if (WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof utf8, nullptr, nullptr) == 0) {
        return {};
    }
    return utf8;
}
