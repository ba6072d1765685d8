#include "errors/VEK_errorV3.h"

#include "platform/translatable.h"
#include "text/texts.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr const char *kContext = "VEK_errorV3";
constexpr const char *kFallback =
    TRZ4_TRANSLATABLE("VEK_errorV3", "Ein unbekannter Fehler ist aufgetreten");

int gLanguage = 1;
char gMessage[kVekMessageBufferSize];
char gUserString[kVekUserStringSize];

bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Copies as much of `text` as fits after `used` bytes of the message buffer and keeps the
// buffer terminated; answers the new length. German and English texts and the user string
// always fit, but a longer translation may not: it is cut before the character that would
// cross the limit, so that the message stays valid UTF-8.
int appendToMessage(int used, const char *text) {
    int room = kVekMessageBufferSize - 1 - used;
    int length = static_cast<int>(std::strlen(text));
    if (length > room) {
        length = room;
        while (length > 0 && isUtf8Continuation(text[length])) {
            --length;
        }
    }
    std::memcpy(gMessage + used, text, static_cast<size_t>(length));
    gMessage[used + length] = '\0';
    return used + length;
}

// The language the module's texts are shown in: German, unless the language value selects the
// other texts; then the process's language, or English while that is German.
Language textLanguage() {
    if (gLanguage != kVekLanguageEnglish) {
        return Language::German;
    }
    return language() == Language::German ? Language::English : language();
}

} // namespace

char *VEK_Fehlermeldung(int code) {
    // Division truncates toward zero, so INT_MIN / 1000 is a plain negative quotient and the
    // negation below cannot overflow.
    const int quotient = code / 1000;
    const Language shown = textLanguage();

    const char *german = kFallback;
    if (quotient <= 0) {
        vekCatalogueFind(-quotient, &german, nullptr);
    }
    int used = appendToMessage(0, trTextIn(shown, kContext, german).c_str());
    if (shown != Language::German && quotient == 0) {
        // The other languages' no-error answer is the bare text and keeps the user string for
        // the next lookup, while German attaches and consumes it; callers rely on this
        // asymmetry.
        return gMessage;
    }

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

void vekSetLanguage(Language language) {
    setLanguage(language);
    VEK_Fehlersprache(language == Language::German ? 1 : kVekLanguageEnglish);
}

int vekLanguage() {
    return gLanguage;
}

std::string vekText(const char *context, const char *source) {
    return trTextIn(textLanguage(), context, source);
}

const char *vekFallbackText(int language) {
    const char *english = fileTranslation(Language::English, kContext, kFallback);
    return language == kVekLanguageEnglish && english != nullptr ? english : kFallback;
}
