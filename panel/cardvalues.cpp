// Values shown from the card's answers: their cards, and the stale mark after doubtful failures.
#include "panel/cardvalues.h"

#include "panel/Vek_Com_internal.h"
#include "panel/testing/panel_testing.h"
#include "errors/VEK_errorV3.h"
#include "ui/uiruntime.h"

#include <QByteArray>
#include <QCoreApplication>

using panel::detail::Control;
using panel::detail::state;

namespace {

constexpr int kMaxControlsPerValue = 8;

// Why a value is stale; the first doubt keeps its note.
enum class Note { None, ReadFailed, CardDoubtful, NotReadBack, NotTaken };

struct Shown {
    bool known = false; // an answer set it
    int port = 0;
    char address = 0;
    Note note = Note::None;
};

struct Registered {
    Control controls[kMaxControlsPerValue];
    int count = 0;
};

struct Values {
    Shown idText;
    Shown leds[MAX_ADRESSLEDS];
    Shown status;
    Shown number;
    Registered statusControls;
    Registered numberControls;
};

Values &values() {
    static Values instance;
    return instance;
}

QByteArray noteText(Note note) {
    switch (note) {
    case Note::ReadFailed:
        return QCoreApplication::translate("CardValues",
                                           "Nicht aktuell: die letzte Abfrage ist fehlgeschlagen. "
                                           "Angezeigt wird der zuletzt gelesene Wert.")
            .toUtf8();
    case Note::CardDoubtful:
        return QCoreApplication::translate("CardValues",
                                           "Nicht aktuell: die Karte war zuletzt nicht "
                                           "erreichbar. Angezeigt wird der zuletzt gelesene Wert.")
            .toUtf8();
    case Note::NotReadBack:
        return QCoreApplication::translate("CardValues",
                                           "Nicht aktuell: die Kartennummer wurde umgestellt und "
                                           "noch nicht zurückgelesen.")
            .toUtf8();
    case Note::NotTaken:
        return QCoreApplication::translate("CardValues",
                                           "Nicht die gewünschte Nummer: die Karte hat die neue "
                                           "Kartennummer nicht übernommen.")
            .toUtf8();
    case Note::None:
        break;
    }
    return {};
}

void showOn(const Shown &value, const Control &control) {
    if (!control.registered())
        return;
    const QByteArray note = noteText(value.note);
    setCtrlStale(control.panel, control.control, note.isEmpty() ? nullptr : note.constData());
}

void showOn(const Shown &value, const Registered &controls) {
    for (int i = 0; i < controls.count; ++i)
        showOn(value, controls.controls[i]);
}

// Every value with the controls that show it, the address LEDs by their index.
template <typename Visit> void forEachValue(Visit visit) {
    Values &v = values();
    visit(v.idText, [&] { showOn(v.idText, state().idText); });
    for (int i = 0; i < state().adressLedCount && i < MAX_ADRESSLEDS; ++i)
        visit(v.leds[i], [&, i] { showOn(v.leds[i], state().adressLeds[i]); });
    visit(v.status, [&] { showOn(v.status, v.statusControls); });
    visit(v.number, [&] { showOn(v.number, v.numberControls); });
}

void markCurrent(Shown &value, int port, char address) {
    value = Shown{true, port, address, Note::None};
}

void doubt(Shown &value, Note note) {
    if (value.known && value.note == Note::None)
        value.note = note;
}

// How much of what is shown a failure puts in doubt (rule 4).
enum class Reach { Nothing, Card, Port };

Reach reachOf(int code) {
    switch (static_cast<VekKind>(vekKindOf(code))) {
    case VekKind::ComOpen:
        return Reach::Port;
    case VekKind::ComWrite:
    case VekKind::ComFlush:
    case VekKind::ComShortWrite:
    case VekKind::ComFlushOutput:
    case VekKind::ComFlushInput:
    case VekKind::NoAnswer:
    case VekKind::WrongAnswer:
        return Reach::Card;
    default:
        return Reach::Nothing;
    }
}

void doubtCard(Reach reach, int port, char address, const Shown *except) {
    if (reach == Reach::Nothing)
        return;
    forEachValue([&](Shown &value, auto) {
        if (&value != except && value.known && value.port == port &&
            (reach == Reach::Port || value.address == address))
            doubt(value, Note::CardDoubtful);
    });
}

Shown *ledOf(char address) {
    const int index = address - '1';
    if (index < 0 || index >= state().adressLedCount || index >= MAX_ADRESSLEDS)
        return nullptr;
    return &values().leds[index];
}

void showAll() {
    forEachValue([](Shown &, auto show) { show(); });
}

} // namespace

int cardValueRegister(CardValue value, int panel, int control) {
    Registered &table =
        value == CardValue::Status ? values().statusControls : values().numberControls;
    if (table.count >= kMaxControlsPerValue)
        return -1;
    table.controls[table.count++] = Control{panel, control};
    return 0;
}

void cardValuesAfterExchange(CardQuestion question, int code, int port, char address) {
    Values &v = values();
    if (code == 0) {
        switch (question) {
        case CardQuestion::Identification:
            markCurrent(v.idText, port, address);
            break;
        case CardQuestion::Status:
            markCurrent(v.status, port, address);
            break;
        case CardQuestion::CardNumberRead:
            markCurrent(v.number, port, address);
            break;
        case CardQuestion::CardNumberWrite:
            doubt(v.number, Note::NotReadBack);
            break;
        case CardQuestion::Scan:
            break;
        }
    } else {
        doubtCard(reachOf(code), port, address, nullptr);
        switch (question) {
        case CardQuestion::Identification:
            doubt(v.idText, Note::ReadFailed);
            break;
        case CardQuestion::Scan:
            doubt(v.idText, Note::ReadFailed);
            for (Shown &led : v.leds)
                doubt(led, Note::ReadFailed);
            break;
        case CardQuestion::Status:
            doubt(v.status, Note::ReadFailed);
            break;
        case CardQuestion::CardNumberRead:
            doubt(v.number, Note::ReadFailed);
            break;
        case CardQuestion::CardNumberWrite:
            break;
        }
    }
    showAll();
}

void cardValuesAfterProbe(int port, char address, CardProbeKind finding) {
    Shown *led = ledOf(address);
    if (led != nullptr)
        markCurrent(*led, port, address);
    if (finding == CardProbeKind::Card)
        markCurrent(values().idText, port, address);
    else
        doubtCard(Reach::Card, port, address, led);
    showAll();
}

void cardValuesNumberNotTaken() {
    Shown &number = values().number;
    if (number.known)
        number.note = Note::NotTaken;
    showAll();
}

void cardValuesPortGone(int port) {
    doubtCard(Reach::Port, port, 0, nullptr);
    showAll();
}

bool cardValuesAnyStale() {
    bool stale = false;
    forEachValue([&stale](const Shown &value, auto) { stale = stale || value.note != Note::None; });
    return stale;
}

void cardValuesIdentificationEmptied() {
    values().idText = Shown{};
    showOn(values().idText, state().idText);
}

void cardValuesResetForTesting() {
    for (Shown &value : values().leds)
        value = Shown{};
    Values &v = values();
    v.idText = v.status = v.number = Shown{};
    showAll();
    v.statusControls = Registered{};
    v.numberControls = Registered{};
}
