// Button actions of the main panel.
#include "app/Mainpanel_Funktionen.h"

#include "app/Mainpanel_Main.h"
#include "app/TrzCom.h"
#include "cardlink/cardoperations.h"
#include "cardlink/vektrz4.h"
#include "app/trz4SteuerungGui.h"
#include "panel/cardvalues.h"
#include "platform/comporthelp.h"
#include "errors/VEK_errorV3.h"
#include "text/texts.h"
#include "ui/uiruntime.h"

#include <QByteArray>
#include <QChar>
#include <QCoreApplication>
#include <QString>

#include <string>

namespace {

// Reads the card number into KARTENNUMMERIST (kept on failure) and, when `read` is not null,
// into *read. 0 or the code.
int readCardNumber(char *read) {
    char kartennummer = 0;
    int code = TrzCom_KartennummerLesen(&kartennummer);
    if (code != 0)
        return code;
    const char text[2] = {kartennummer, '\0'};
    SetCtrlVal(Mainpanel_GetMainpanel(), KARTENNUMMERIST, text);
    if (read != nullptr)
        *read = kartennummer;
    return 0;
}

// The line under the warning text that names the number the card has (as last read, when
// it was read) and the one it is to get.
QByteArray oldAndNewNumber(char kartennummer) {
    const int panel = Mainpanel_GetMainpanel();
    std::string shown;
    std::string staleNote;
    GetCtrlVal(panel, KARTENNUMMERIST, &shown);
    getCtrlStale(panel, KARTENNUMMERIST, &staleNote);
    const QChar next = QChar::fromLatin1(kartennummer);
    QString line;
    if (shown.size() != 1) {
        line = QCoreApplication::translate(
                   "Mainpanel", "Kartennummer neu: %1 (die bisherige wurde nicht gelesen)")
                   .arg(next);
    } else if (!staleNote.empty()) {
        line = QCoreApplication::translate(
                   "Mainpanel", "Kartennummer bisher: %1 (zuletzt gelesen, nicht aktuell), neu: %2")
                   .arg(QChar::fromLatin1(shown[0]), next);
    } else {
        line = QCoreApplication::translate("Mainpanel", "Kartennummer bisher: %1, neu: %2")
                   .arg(QChar::fromLatin1(shown[0]), next);
    }
    return line.toUtf8();
}

// The status as a screen reader says it: both LEDs with their meaning.
QByteArray statusSentence(int status) {
    const bool invalid = (status & kTrz4StatusInvalidCardNumber) != 0;
    const bool incomplete = (status & kTrz4StatusParametersIncomplete) != 0;
    return QCoreApplication::translate("Mainpanel", "Status gelesen: %1, %2.")
        .arg(
            invalid ? QCoreApplication::translate("Mainpanel", "Ungültige Kartennummer: ein")
                    : QCoreApplication::translate("Mainpanel", "Ungültige Kartennummer: aus"),
            incomplete
                ? QCoreApplication::translate("Mainpanel", "Nicht alle Parameter eingestellt: ein")
                : QCoreApplication::translate("Mainpanel", "Nicht alle Parameter eingestellt: aus"))
        .toUtf8();
}

} // namespace

int Callback_Main_Buttons(int, int control, int event, void *, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    // The wrappers have shown every outcome already; the results need no further look.
    switch (control) {
    case COMHILFE:
        MainFunc_ComhilfePopup();
        break;
    case STATUSABFRAGE:
        MainFunc_Statusabfrage();
        break;
    case KARTENNUMMERLESEN:
        MainFunc_KartenummerLesen();
        break;
    case KARTENNUMMERSCHREIBEN:
        MainFunc_KartenummerSchreiben();
        break;
    default:
        break;
    }
    return 0;
}

int MainFunc_Statusabfrage() {
    int status = 0;
    int code = TrzCom_StatusLesen(&status);
    if (code != 0) {
        vekAnnounceOutcome(code, nullptr);
        return code;
    }
    int panel = Mainpanel_GetMainpanel();
    SetCtrlVal(panel, STATUSLED9, (status & kTrz4StatusInvalidCardNumber) != 0 ? 1 : 0);
    SetCtrlVal(panel, STATUSLED10, (status & kTrz4StatusParametersIncomplete) != 0 ? 1 : 0);
    vekAnnounceOutcome(0, statusSentence(status).constData());
    return 0;
}

int MainFunc_KartenummerLesen() {
    char kartennummer = 0;
    const int code = readCardNumber(&kartennummer);
    const QByteArray read = QCoreApplication::translate("Mainpanel", "Kartennummer gelesen: %1")
                                .arg(QChar::fromLatin1(kartennummer))
                                .toUtf8();
    vekAnnounceOutcome(code, read.constData());
    return code;
}

int MainFunc_KartenummerSchreiben() {
    char kartennummer = 0;
    GetCtrlVal(Mainpanel_GetMainpanel(), KARTENNUMMERSOLL, &kartennummer);
    if (MainFunc_WarnungPopup(kartennummer) != 0) {
        // The screen shows nothing new; a screen reader must still say what Escape did.
        vekAnnounceOutcome(0, QCoreApplication::translate(
                                  "Mainpanel", "Abgebrochen: die Kartennummer bleibt unverändert.")
                                  .toUtf8()
                                  .constData());
        return 0;
    }
    int code = TrzCom_KartennummerSchreiben(kartennummer);
    if (code != 0) {
        vekAnnounceOutcome(code, nullptr);
        return code;
    }
    // Show what the card now holds, not what was asked for. The card's ACK alone does not say
    // that the change took; only a read-back that gives the new number does, and then the
    // operator is told so in words instead of an empty error row. A read-back of another
    // number is a failure with both numbers, as the command line reports it, and the number
    // shown is marked as not the one asked for.
    char readBack = 0;
    const int readCode = readCardNumber(&readBack);
    if (readCode != 0) {
        vekAnnounceOutcome(readCode, nullptr);
        return 0;
    }
    if (const int taken = cardNumberTaken(kartennummer, readBack); taken != 0) {
        VEK_Fehleruserstring(cardNumberNotTakenText(kartennummer, readBack).c_str());
        VekCom_FehlermeldungSet(taken);
        cardValuesNumberNotTaken();
        vekAnnounceOutcome(taken, nullptr);
    } else {
        const QByteArray done =
            QCoreApplication::translate("Mainpanel",
                                        "Kartennummer %1 eingestellt und von der Karte bestätigt.")
                .arg(QChar::fromLatin1(kartennummer))
                .toUtf8();
        vekShowSuccess(done.constData());
        vekAnnounceOutcome(0, done.constData());
    }
    return 0;
}

int MainFunc_ComhilfePopup() {
    // The help speaks of the system the program runs on (platform/comporthelp.h).
    const std::string text = comPortHelpText(trText);
    return MessagePopup(trText("Mainpanel_Funktionen", "COM-Port").c_str(), text.c_str());
}

int MainFunc_WarnungPopup(char kartennummer) {
    // The translation is text, never a format: the number takes the place of its "%c". The
    // label is as long as its language needs.
    std::string label = trText("Mainpanel_Funktionen", "Karte jetzt auf Nr. %c umstellen");
    if (const size_t at = label.find("%c"); at != std::string::npos) {
        label.replace(at, 2, 1, kartennummer);
    }
    // The warning text as it stands (the card link's, which the command line shows as well),
    // then an empty line and what changes into what.
    const std::string text = trText("vektrz4", kKartennummerWarnung) + "\n" +
                             oldAndNewNumber(kartennummer).toStdString() + "\n";
    int chosen =
        GenericMessagePopup(trText("Mainpanel_Funktionen", "Warnung").c_str(), text.c_str(),
                            label.c_str(), trText("Mainpanel_Funktionen", "abbrechen").c_str(), "",
                            nullptr, 0, 0, kPopupBtn2, kPopupBtn1, kPopupBtn2);
    return chosen == kPopupBtn1 ? 0 : -1;
}
