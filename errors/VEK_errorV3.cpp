#include "errors/VEK_errorV3.h"

#include "platform/userlocale.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

namespace {

constexpr const char *kFallbackGerman = "Ein unbekannter Fehler ist aufgetreten";
constexpr const char *kFallbackEnglish = "A unknown error occured";
// In English the no-error lookup answers with this text and nothing else.
constexpr const char *kNoErrorEnglish = "No error";

int gLanguage = 1;
char gMessage[kVekMessageBufferSize];
char gUserString[kVekUserStringSize];

// Copies as much of `text` as fits after `used` bytes of the message buffer and keeps the
// buffer terminated; answers the new length. Catalogue texts and the user string always fit,
// but the buffer limit is enforced here rather than trusted.
int appendToMessage(int used, const char *text) {
    int room = kVekMessageBufferSize - 1 - used;
    int length = static_cast<int>(std::strlen(text));
    if (length > room) {
        length = room;
    }
    std::memcpy(gMessage + used, text, static_cast<size_t>(length));
    gMessage[used + length] = '\0';
    return used + length;
}

bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

char *VEK_Fehlermeldung(int code) {
    // Division truncates toward zero, so INT_MIN / 1000 is a plain negative quotient and the
    // negation below cannot overflow.
    const int quotient = code / 1000;
    const bool english = gLanguage == kVekLanguageEnglish;

    if (english && quotient == 0) {
        // The English no-error answer is the bare text and keeps the user string for the next
        // lookup, while German attaches and consumes it; callers rely on this asymmetry.
        appendToMessage(0, kNoErrorEnglish);
        return gMessage;
    }

    const char *german = kFallbackGerman;
    const char *englishText = kFallbackEnglish;
    if (quotient <= 0) {
        vekCatalogueFind(-quotient, &german, &englishText);
    }
    int used = appendToMessage(0, english ? englishText : german);

    if (gUserString[0] != '\0') {
        used = appendToMessage(used, "\n");
        appendToMessage(used, gUserString);
        gUserString[0] = '\0';
    }
    return gMessage;
}

void VEK_Fehlersprache(int language) {
    gLanguage = language;
}

void VEK_Fehleruserstring(const char *text) {
    if (text == nullptr) {
        gUserString[0] = '\0';
        return;
    }
    size_t length = std::strlen(text);
    const size_t limit = kVekUserStringSize - 1;
    if (length > limit) {
        // Cut before the character that straddles the limit, so the stored text stays valid
        // UTF-8. A UTF-8 character has at most three continuation bytes; stepping back further
        // would only happen on malformed input, which is then cut at the byte limit.
        length = limit;
        size_t cut = limit;
        int steps = 0;
        while (cut > 0 && steps < 3 && isUtf8Continuation(text[cut])) {
            --cut;
            ++steps;
        }
        if (!isUtf8Continuation(text[cut])) {
            length = cut;
        }
    }
    // memmove: the caller may hand in a text that lives in this module's own buffers.
    std::memmove(gUserString, text, length);
    gUserString[length] = '\0';
}

void vekUserStringForPlace(const char *place, const char *reason) {
    const std::string where = place ? place : "";
    const std::string why = std::string(": ") + (reason ? reason : "");
    const size_t limit = kVekUserStringSize - 1;
    const std::string mark = "…";
    if (where.size() + why.size() <= limit) {
        VEK_Fehleruserstring((where + why).c_str());
        return;
    }
    if (why.size() + mark.size() >= limit) {
        VEK_Fehleruserstring((mark + why).c_str());
        return;
    }
    // A third of the room for the start of the place, the rest for its end, which names the
    // file itself.
    const size_t room = limit - why.size() - mark.size();
    size_t head = room / 3;
    while (head > 0 && isUtf8Continuation(where[head])) {
        --head;
    }
    size_t tail = where.size() - (room - room / 3);
    while (tail < where.size() && isUtf8Continuation(where[tail])) {
        ++tail;
    }
    VEK_Fehleruserstring((where.substr(0, head) + mark + where.substr(tail) + why).c_str());
}

int vekLanguageFromEnvironment() {
    return localeNamesGerman(messagesLocaleName()) ? 1 : kVekLanguageEnglish;
}

int vekLanguage() {
    return gLanguage;
}

const char *vekFallbackText(int language) {
    return language == kVekLanguageEnglish ? kFallbackEnglish : kFallbackGerman;
}
