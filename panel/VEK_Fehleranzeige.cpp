// The error display: popups and the registered sets of display controls.
#include "errors/VEK_errorV3.h"

#include "panel/cardvalues.h"
#include "text/texts.h"
#include "ui/uiruntime.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The title buffer of the popups: 99 bytes of text and the terminating zero.
constexpr int kTitleSize = 100;

struct FehlerControls {
    int panel;
    int ledControl;
    int stringControl;
    int numberControl;
};

FehlerControls gSets[MAX_FEHLERCONTROLS];
int gSetCount = 0;

bool isSilent(int code) {
    return code / 1000 == -kVekSilentKind;
}

// The number the operator sees. Negating INT_MIN is undefined, and no code of the scheme is
// that large, so it shows as the largest number a numeric control can hold.
int shownNumber(int code) {
    return code == INT_MIN ? INT_MAX : -code;
}

// Length of the first `maxBytes` bytes of `text` or less, never splitting a UTF-8 character.
size_t utf8Prefix(const char *text, size_t maxBytes) {
    size_t length = std::strlen(text);
    if (length <= maxBytes) {
        return length;
    }
    length = maxBytes;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length;
    }
    return length;
}

} // namespace

void VEK_Fehlerpopup(int code) {
    if (isSilent(code)) {
        return;
    }
    // The title follows the catalogue's language; a translation is text, never a format.
    std::string title = vekText("VEK_Fehleranzeige", "Fehler #%d");
    if (const size_t at = title.find("%d"); at != std::string::npos) {
        title.replace(at, 2, std::to_string(shownNumber(code)));
    }
    title.resize(utf8Prefix(title.c_str(), kTitleSize - 1));
    MessagePopup(title.c_str(), VEK_Fehlermeldung(code));
}

void VEK_Fehlerpopup2(int code, const char *title) {
    if (isSilent(code)) {
        return;
    }
    char suffix[24];
    const int suffixLength = std::snprintf(suffix, sizeof suffix, " #%d", shownNumber(code));
    const char *text = title != nullptr ? title : "";
    const size_t room = kTitleSize - 1 - static_cast<size_t>(suffixLength);
    const size_t textLength = utf8Prefix(text, room);
    char full[kTitleSize];
    std::memcpy(full, text, textLength);
    std::memcpy(full + textLength, suffix, static_cast<size_t>(suffixLength) + 1);
    MessagePopup(full, VEK_Fehlermeldung(code));
}

int VekCom_RegisterFehlerControls(int panel, int ledControl, int stringControl, int numberControl) {
    if (gSetCount >= MAX_FEHLERCONTROLS) {
        MessagePopup(trText("VEK_Fehleranzeige", "Interner Fehler").c_str(),
                     trText("VEK_Fehleranzeige", "MAX_FEHLERCONTROLS ist zu klein").c_str());
        return -1;
    }
    gSets[gSetCount++] = FehlerControls{panel, ledControl, stringControl, numberControl};
    return 0;
}

int VekCom_FehlermeldungSet(int code) {
    for (int i = 0; i < gSetCount; ++i) {
        const FehlerControls &set = gSets[i];
        SetCtrlVal(set.panel, set.ledControl, code != 0 ? 1 : 0);
        SetCtrlVal(set.panel, set.stringControl, code != 0 ? VEK_Fehlermeldung(code) : "");
        SetCtrlVal(set.panel, set.numberControl, shownNumber(code));
    }
    return gSetCount;
}

int vekShowSuccess(const char *text) {
    VekCom_FehlermeldungSet(0);
    for (int i = 0; i < gSetCount; ++i) {
        SetCtrlVal(gSets[i].panel, gSets[i].stringControl, text != nullptr ? text : "");
    }
    return gSetCount;
}

int vekAnnounceOutcome(int code, const char *success) {
    if (gSetCount == 0 || (code != 0 && isSilent(code))) {
        return gSetCount;
    }
    const FehlerControls &set = gSets[0];
    std::string sentence = success != nullptr ? success : "";
    if (code != 0) {
        // The message as the row shows it: asking the catalogue again would lose the reason
        // that the row's message has taken along.
        std::string shown;
        GetCtrlVal(set.panel, set.stringControl, &shown);
        // A message ends a sentence, so that the stale note is heard as one of its own.
        if (!shown.empty() && std::strchr(".!?", shown.back()) == nullptr) {
            shown += '.';
        }
        sentence = withArguments(vekText("VEK_Fehleranzeige", "Fehler %1: %2"),
                                 {std::to_string(shownNumber(code)), shown});
        if (cardValuesAnyStale()) {
            sentence += ' ';
            sentence += vekText("VEK_Fehleranzeige", "Angezeigte Werte sind nicht aktuell.");
        }
    }
    announceToScreenReader(set.panel, sentence.c_str());
    return gSetCount;
}

void vekResetFehlerControls() {
    gSetCount = 0;
}
