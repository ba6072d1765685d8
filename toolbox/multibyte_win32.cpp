// Double-byte mode from the system's ANSI code page (Windows).

#include <windows.h>

#include "toolbox/toolbox.h"

#include <vector>

void initMultibyteModeFromLocale() {
    setMultibyteModeForCodePage(GetACP());
}

// The system's own lead bytes of the code page, gathered into ranges.
bool setMultibyteModeForCodePage(unsigned codePage) {
    std::vector<LeadByteRange> ranges;
    for (unsigned byte = 1; byte <= 0xFF; ++byte) {
        if (!IsDBCSLeadByteEx(codePage, static_cast<BYTE>(byte))) {
            continue;
        }
        if (!ranges.empty() && ranges.back().last + 1u == byte) {
            ranges.back().last = static_cast<unsigned char>(byte);
        } else {
            ranges.push_back({static_cast<unsigned char>(byte), static_cast<unsigned char>(byte)});
        }
    }
    setLeadByteRanges(ranges.data(), static_cast<int>(ranges.size()));
    return !ranges.empty();
}
