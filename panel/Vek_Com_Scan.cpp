// The identification and the device scan on the chosen COM port.
#include "cardlink/Vek_Com.h"

#include "panel/Vek_Com_internal.h"
#include "panel/cardvalues.h"
#include "cardlink/vektrz4.h"
#include "errors/VEK_errorV3.h"
#include "platform/translatable.h"
#include "text/texts.h"
#include "ui/uiruntime.h"

#include <string>

using panel::detail::Control;
using panel::detail::state;

namespace {

// Shown while an address is probed, in the operator's language, with the address in the place
// of "%1": "Suche nach Gerät 1". A placeholder, not the last character: a translation puts the
// address where its grammar wants it, and a longer one may end in a character of several bytes.
constexpr const char kProgressText[] = TRZ4_TRANSLATABLE("Vek_Com", "Suche nach Gerät %1");

void setText(const Control &c, const char *text) {
    if (c.registered())
        SetCtrlVal(c.panel, c.control, text);
}

// What the last scan found, in one sentence per address, for the screen reader.
std::string gScanFindings;

std::string scanFinding(char address, const CardProbe &found) {
    const std::string at(1, address);
    switch (found.kind) {
    case CardProbeKind::Card:
        return withArguments(trText("Vek_Com", "Karte an Adresse %1 gefunden: %2"),
                             {at, found.text});
    case CardProbeKind::OtherDevice:
        return withArgument(
            trText("Vek_Com", "Keine Karte an Adresse %1, dort antwortet ein anderes Gerät"), at);
    case CardProbeKind::NoAnswer:
    case CardProbeKind::Error:
        break;
    }
    return withArgument(trText("Vek_Com", "Keine Karte an Adresse %1"), at);
}

} // namespace

int VekCom_IdLesen() {
    auto &s = state();
    ExchangeScope exchange;
    const int opened = VekCom_OpenChosen(nullptr);
    const char address = VekCom_AdresseGet();
    // The open's own code is not passed on: what the operator needs to know is that there is
    // no open port (a pending reason from the failed open rides along with this message). What
    // the failure says about the values shown depends on the open's own code, though.
    if (!s.session.isOpen()) {
        cardValuesAfterExchange(CardQuestion::Identification,
                                opened != 0 ? opened : vekcom::kErrIdNotOpen, s.chosenPort,
                                address);
        return vekcom::kErrIdNotOpen;
    }
    const int port = s.session.port();
    setText(s.idText, "");
    cardValuesIdentificationEmptied();
    char idText[kTrz4IdBufferSize] = {};
    int code = s.session.identification(address, idText);
    if (code != 0) {
        VekCom_Close();
        cardValuesAfterExchange(CardQuestion::Identification, code, port, address);
        return code;
    }
    setText(s.idText, idText);
    VekCom_Close();
    cardValuesAfterExchange(CardQuestion::Identification, 0, port, address);
    return 0;
}

int VekCom_Scan() {
    auto &s = state();
    const std::string progress = trText("Vek_Com", kProgressText);
    ExchangeScope exchange;
    const int opened = VekCom_OpenChosen(nullptr);
    if (!s.session.isOpen()) {
        cardValuesAfterExchange(CardQuestion::Scan, opened != 0 ? opened : vekcom::kErrScanNotOpen,
                                s.chosenPort, vekcom::kHighestAddress);
        return vekcom::kErrScanNotOpen;
    }
    const int port = s.session.port();
    setText(s.idText, "");
    cardValuesIdentificationEmptied();
    gScanFindings.clear();

    char address = '1';
    for (int i = 0; address <= vekcom::kHighestAddress && i < s.adressLedCount; ++i, ++address) {
        const Control &led = s.adressLeds[i];
        // The text control paints at once, and the window keeps repainting while the probe
        // waits, so the operator sees which address is being asked.
        setText(s.scanText, withArgument(progress, std::string(1, address)).c_str());
        const CardProbe found = s.session.probe(address);
        switch (found.kind) {
        case CardProbeKind::Card:
            setLedStateTexts(led.panel, led.control, trText("Vek_Com", "gefunden").c_str(),
                             nullptr);
            SetCtrlAttribute(led.panel, led.control, ATTR_ON_COLOR, kVekComColourCard);
            SetCtrlVal(led.panel, led.control, 1);
            if (s.adressRing.registered())
                SetCtrlVal(s.adressRing.panel, s.adressRing.control, address);
            setText(s.idText, found.text);
            break;
        case CardProbeKind::OtherDevice:
            setLedStateTexts(led.panel, led.control, trText("Vek_Com", "anderes Gerät").c_str(),
                             nullptr);
            SetCtrlAttribute(led.panel, led.control, ATTR_ON_COLOR, kVekComColourForeign);
            SetCtrlVal(led.panel, led.control, 1);
            break;
        case CardProbeKind::NoAnswer:
        case CardProbeKind::Error:
            // Whatever failed, nothing usable is at the address.
            SetCtrlVal(led.panel, led.control, 0);
            break;
        }
        cardValuesAfterProbe(port, address, found.kind);
        gScanFindings += (gScanFindings.empty() ? "" : ". ") + scanFinding(address, found);
    }
    setText(s.scanText, "");
    VekCom_Close();
    return 0;
}

int Callback_IdLesen(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    const int code = VekCom_IdLesen();
    VekCom_FehlermeldungSet(code);
    std::string id;
    const Control &shown = state().idText;
    if (code == 0 && shown.registered())
        GetCtrlVal(shown.panel, shown.control, &id);
    vekAnnounceOutcome(code, withArguments(trText("Vek_Com", "ID an Adresse %1: %2"),
                                           {std::string(1, VekCom_AdresseGet()), id})
                                 .c_str());
    return 0;
}

int Callback_Scan(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    const int code = VekCom_Scan();
    VekCom_FehlermeldungSet(code);
    vekAnnounceOutcome(code, gScanFindings.empty() ? "" : (gScanFindings + '.').c_str());
    return 0;
}
