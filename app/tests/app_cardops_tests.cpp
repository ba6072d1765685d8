// The card operations behind the main panel's buttons, on the program's real panels over the
// serial test double.
#include "app/Funktionen.h"
#include "app/Mainpanel_Funktionen.h"
#include "app/Mainpanel_Main.h"
#include "app/TrzCom.h"
#include "app/language.h"
#include "cardlink/Vek_Com.h"
#include "cardlink/cardoperations.h"
#include "panel/testing/panel_testing.h"
#include "panel/cardvalues.h"
#include "errors/VEK_errorV3.h"
#include "platform/comports.h"
#include "platform/registry.h"
#include "platform/testing/registry_testing.h"
#include "platform/serial_double.h"
#include "platform/serialcomm_key.h"
#include "ui/testing/ctrlvalues.h"
#include "ui/testing/popupdriver.h"
#include "app/trz4SteuerungGui.h"
#include "ui/uiruntime.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// The program's panels, loaded and registered once per run: the error display keeps its
// control sets for the whole process.
int mainPanel() {
    static int panel = [] {
        regResetForTesting();
        RegCreateKey(HKEY_LOCAL_MACHINE, kSerialCommKey);
        RegWriteString(HKEY_LOCAL_MACHINE, kSerialCommKey, "\\Device\\Serial0", "COM3");
        Func_PanelsInitialisieren("V 1.0", "10/2010");
        return Mainpanel_GetMainpanel();
    }();
    return panel;
}

// Discards the panels before the QApplication goes, as the program's end does.
class PanelsEnvironment : public ::testing::Environment {
public:
    void TearDown() override {
        vekComResetForTesting();
        Func_PanelsFreigeben();
    }
};
const auto *const panelsEnvironment = ::testing::AddGlobalTestEnvironment(new PanelsEnvironment);

int intVal(int control) {
    return ui::testing::ctrlInt(mainPanel(), control);
}
std::string textVal(int control) {
    return ui::testing::ctrlText(mainPanel(), control);
}

void click(int control) {
    auto *button = qobject_cast<QAbstractButton *>(controlWidget(mainPanel(), control));
    ASSERT_NE(button, nullptr);
    button->click();
}

// The note of a control shown as stale; empty while its value is current.
std::string staleNote(int control) {
    std::string note = "<unset>";
    getCtrlStale(mainPanel(), control, &note);
    return note;
}

bool says(const std::string &text, const char *part) {
    return text.find(part) != std::string::npos;
}

void chooseCardNumber(char number) {
    auto *ring = qobject_cast<QComboBox *>(controlWidget(mainPanel(), KARTENNUMMERSOLL));
    int index = -1;
    GetIndexFromValue(mainPanel(), KARTENNUMMERSOLL, &index, number);
    ring->setCurrentIndex(index);
}

// A card at address "1" with a card number and a status word; writes change the number.
struct FakeCard {
    char number = '7';
    int status = 0;
    bool refuseWrites = false;
    bool silentOnRead = false;

    std::string answer(const std::string &frame) {
        if (frame == "#1S1R\r") {
            char line[32];
            std::snprintf(line, sizeof line, "\x06#1S1R%X\r", static_cast<unsigned>(status));
            return line;
        }
        if (frame == "#1DNR\r")
            return silentOnRead ? "" : std::string("\x06#1DNR") + number + "\r";
        if (frame.size() == 7 && frame.compare(0, 5, "#1DNW") == 0) {
            if (refuseWrites)
                return "\x15";
            number = frame[5];
            return "\x06";
        }
        return {};
    }
};

class CardOpsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramLanguage(Language::German);
        panel = mainPanel();
        vekComResetForTesting();
        VekCom_RegisterComControl(panel, COMPORT);
        VekCom_RegisterAdressControl(panel, ADRESSE);
        // As the program's start-up registers them; the reset above forgot them.
        cardValueRegister(CardValue::Status, panel, STATUSLED9);
        cardValueRegister(CardValue::Status, panel, STATUSLED10);
        cardValueRegister(CardValue::CardNumber, panel, KARTENNUMMERIST);
        VekCom_ComPortChose(3);
        serial.responder = [this](const std::string &frame) { return card.answer(frame); };
        SetCtrlVal(panel, STATUSLED9, 0);
        SetCtrlVal(panel, STATUSLED10, 0);
        SetCtrlVal(panel, KARTENNUMMERIST, "");
        VekCom_FehlermeldungSet(0);
        VEK_Fehleruserstring(nullptr);
    }
    void TearDown() override { vekComResetForTesting(); }

    int panel = 0;
    FakeCard card;
    SerialDouble serial;
    ScopedSerialBackend scoped{serial};
};

} // namespace

TEST_F(CardOpsTest, StatusBitsDriveTheTwoStatusLeds) {
    struct Case {
        int status;
        int led9;
        int led10;
    };
    for (Case c : {Case{0x300, 1, 1}, Case{0x100, 1, 0}, Case{0x200, 0, 1}, Case{0x0FF, 0, 0},
                   Case{0xFFFF, 1, 1}}) {
        SCOPED_TRACE(c.status);
        SetCtrlVal(panel, STATUSLED9, 1 - c.led9);
        SetCtrlVal(panel, STATUSLED10, 1 - c.led10);
        card.status = c.status;
        click(STATUSABFRAGE);
        EXPECT_EQ(intVal(STATUSLED9), c.led9);
        EXPECT_EQ(intVal(STATUSLED10), c.led10);
        EXPECT_EQ(intVal(FEHLERLED), 0);
    }
    EXPECT_EQ(serial.count("open"), 5);
    EXPECT_EQ(serial.count("close"), 5);
}

TEST_F(CardOpsTest, FailedStatusReadKeepsTheLedsAndShowsTheError) {
    SetCtrlVal(panel, STATUSLED9, 1);
    serial.responder = [](const std::string &) { return std::string("\x15"); };
    EXPECT_EQ(MainFunc_Statusabfrage(), -402158);
    EXPECT_EQ(intVal(STATUSLED9), 1);
    EXPECT_EQ(intVal(STATUSLED10), 0);
    EXPECT_EQ(intVal(COMAKTIVLED), 0);
    EXPECT_EQ(intVal(FEHLERLED), 1);
    EXPECT_EQ(intVal(FEHLERNUMMER), 402158);
    EXPECT_FALSE(serial.isOpen);
}

TEST_F(CardOpsTest, ComLedAndWaitCursorShowOnlyDuringTheExchange) {
    int ledDuring = -1;
    bool waitDuring = false;
    serial.responder = [&](const std::string &frame) {
        ledDuring = intVal(COMAKTIVLED);
        const QCursor *cursor = QApplication::overrideCursor();
        waitDuring = cursor && cursor->shape() == Qt::WaitCursor;
        return card.answer(frame);
    };
    click(KARTENNUMMERLESEN);
    EXPECT_EQ(ledDuring, 1);
    EXPECT_TRUE(waitDuring);
    EXPECT_EQ(intVal(COMAKTIVLED), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(textVal(KARTENNUMMERIST), "7");
    EXPECT_EQ(VekCom_LastComPortGet(), 3);
}

TEST_F(CardOpsTest, WithoutAChosenPortEveryOperationSaysNotOpenAndSendsNothing) {
    VekCom_ComPortChose(0);
    ui::testing::PopupDriver driver;
    driver.pressEnter(); // the warning of "Einstellen" is confirmed
    for (int control : {STATUSABFRAGE, KARTENNUMMERLESEN, KARTENNUMMERSCHREIBEN}) {
        SCOPED_TRACE(control);
        VekCom_FehlermeldungSet(0);
        click(control);
        EXPECT_EQ(intVal(FEHLERNUMMER), 122500);
        EXPECT_EQ(textVal(FEHLERSTRING), "Serielle Schnittstelle ist nicht geöffnet");
        EXPECT_EQ(intVal(COMAKTIVLED), 0);
    }
    EXPECT_TRUE(driver.allAnswered());
    EXPECT_TRUE(serial.calls.empty());
}

TEST_F(CardOpsTest, PortThatCannotBeOpenedIsReportedAndClosedAgain) {
    serial.openResult = kComNoDevice;
    EXPECT_EQ(MainFunc_KartenummerLesen(), -100003);
    EXPECT_EQ(intVal(FEHLERNUMMER), 100003);
    EXPECT_EQ(intVal(COMAKTIVLED), 0);
    EXPECT_EQ(VekCom_LastComPortGet(), 0);
    EXPECT_EQ(serial.written, "");
}

TEST_F(CardOpsTest, WarningAsksWithTheChosenNumberAndFocusOnCancel) {
    chooseCardNumber('a');
    ui::testing::PopupDriver driver;
    driver.pressEnter();
    click(KARTENNUMMERSCHREIBEN);
    ASSERT_TRUE(driver.allAnswered());
    ui::testing::SeenPopup box = driver.seen(0);
    EXPECT_EQ(box.title, "Warnung");
    EXPECT_EQ(box.buttons,
              (std::vector<std::string>{"Karte jetzt auf Nr. a umstellen", "abbrechen"}));
    EXPECT_EQ(box.focusedButton, "abbrechen");
    EXPECT_TRUE(box.focusRingShown);
    EXPECT_EQ(box.defaultButton, "Karte jetzt auf Nr. a umstellen");
    // Word for word: an empty first line, every line ended by a line feed; then an empty line
    // and the old and new number, of which the old one has not been read.
    EXPECT_EQ(box.text,
              "\n"
              "Die interne Kartennummer der trz-4 wird jetzt umgestellt\n"
              "WICHTIG: JEDE KARTENNUMMER DARF IM QDN-7K-SYSTEM NUR EINMAL VORKOMMEN!\n"
              "Wenn Sie ein QDN-7K System verwenden und nicht sicher sind, ob die Karten-\n"
              "nummer bereits vergeben ist, prüfen Sie die trz-4-Kartennummern mit dem\n"
              "Programm \"QDN7K-Steuerung\".\n"
              "\n"
              "Kartennummer neu: a (die bisherige wurde nicht gelesen)\n");
    // Enter confirms, although the focus is on "abbrechen".
    EXPECT_EQ(serial.written, "#1DNWa\r#1DNR\r");
    EXPECT_EQ(card.number, 'a');
    chooseCardNumber('1');
}

TEST_F(CardOpsTest, WarningNamesTheNumberLastReadAndSaysWhenItIsNotCurrent) {
    chooseCardNumber('b');
    ASSERT_EQ(MainFunc_KartenummerLesen(), 0);
    card.silentOnRead = true;
    ui::testing::PopupDriver driver;
    driver.pressEscape();
    driver.pressEscape();
    EXPECT_EQ(MainFunc_KartenummerSchreiben(), 0);
    EXPECT_NE(MainFunc_KartenummerLesen(), 0); // the 7 shown is no longer vouched for
    EXPECT_EQ(MainFunc_KartenummerSchreiben(), 0);
    ASSERT_TRUE(driver.allAnswered());
    auto lastLine = [&](int i) {
        const std::string text = driver.seen(i).text;
        const size_t end = text.rfind('\n');
        return text.substr(text.rfind('\n', end - 1) + 1, end - text.rfind('\n', end - 1) - 1);
    };
    EXPECT_EQ(lastLine(0), "Kartennummer bisher: 7, neu: b");
    EXPECT_EQ(lastLine(1), "Kartennummer bisher: 7 (zuletzt gelesen, nicht aktuell), neu: b");
    EXPECT_EQ(card.number, '7');
    chooseCardNumber('1');
}

TEST_F(CardOpsTest, DeclinedWarningSendsNothingAndKeepsTheDisplay) {
    VekCom_FehlermeldungSet(-403012);
    SetCtrlVal(panel, KARTENNUMMERIST, "7");
    ui::testing::PopupDriver driver;
    driver.pressEscape();
    driver.clickButton("abbrechen");
    EXPECT_EQ(MainFunc_KartenummerSchreiben(), 0);
    EXPECT_EQ(MainFunc_KartenummerSchreiben(), 0);
    EXPECT_TRUE(driver.allAnswered());
    EXPECT_TRUE(serial.calls.empty());
    EXPECT_EQ(intVal(FEHLERNUMMER), 403012);
    EXPECT_EQ(textVal(KARTENNUMMERIST), "7");
}

// The fault: an acknowledged write whose read-back gives another number looked like success
// (LED dark, number 0, the display unmarked).
TEST_F(CardOpsTest, AWriteTheCardDidNotTakeShowsTheErrorWithBothNumbers) {
    chooseCardNumber('5');
    // The card takes the write but keeps its own idea of the number.
    serial.responder = [this](const std::string &frame) {
        if (frame.compare(0, 5, "#1DNW") == 0)
            return std::string("\x06");
        return card.answer(frame);
    };
    ui::testing::PopupDriver driver;
    driver.pressEnter();
    EXPECT_EQ(MainFunc_KartenummerSchreiben(), 0);
    EXPECT_EQ(textVal(KARTENNUMMERIST), "7");
    EXPECT_EQ(intVal(FEHLERLED), 1);
    EXPECT_EQ(intVal(FEHLERNUMMER), -trzcom::kErrWriteNotTaken);
    EXPECT_EQ(textVal(FEHLERSTRING), std::string(VEK_Fehlermeldung(trzcom::kErrWriteNotTaken)) +
                                         "\n" + cardNumberNotTakenText('5', '7'))
        << textVal(FEHLERSTRING);
    EXPECT_TRUE(says(staleNote(KARTENNUMMERIST), "nicht übernommen")) << staleNote(KARTENNUMMERIST);
    // A read that shows the number anew makes it current again.
    EXPECT_EQ(MainFunc_KartenummerLesen(), 0);
    EXPECT_EQ(staleNote(KARTENNUMMERIST), "");
    chooseCardNumber('1');
}

TEST_F(CardOpsTest, ReadBackOfTheNewNumberSaysSoInTheErrorRow) {
    VekCom_FehlermeldungSet(-403012);
    chooseCardNumber('5');
    ui::testing::PopupDriver driver;
    driver.pressEnter();
    EXPECT_EQ(MainFunc_KartenummerSchreiben(), 0);
    EXPECT_EQ(textVal(KARTENNUMMERIST), "5");
    EXPECT_EQ(textVal(FEHLERSTRING), "Kartennummer 5 eingestellt und von der Karte bestätigt.");
    EXPECT_EQ(intVal(FEHLERLED), 0);
    EXPECT_EQ(intVal(FEHLERNUMMER), 0);
    // The next operation's outcome replaces the words.
    EXPECT_EQ(MainFunc_Statusabfrage(), 0);
    EXPECT_EQ(textVal(FEHLERSTRING), "");
    chooseCardNumber('1');
}

TEST_F(CardOpsTest, FailedReadBackShowsItsErrorAndKeepsTheOldNumberAsStale) {
    ASSERT_EQ(MainFunc_KartenummerLesen(), 0);
    card.silentOnRead = true;
    ui::testing::PopupDriver driver;
    driver.pressEnter();
    EXPECT_EQ(MainFunc_KartenummerSchreiben(), 0);
    EXPECT_EQ(card.number, '1');
    EXPECT_EQ(textVal(KARTENNUMMERIST), "7");
    EXPECT_EQ(intVal(FEHLERNUMMER), 403024);
    EXPECT_TRUE(says(staleNote(KARTENNUMMERIST), "umgestellt")) << staleNote(KARTENNUMMERIST);
    EXPECT_NE(textVal(FEHLERSTRING).find("Keine Antwort"), std::string::npos);
}

TEST_F(CardOpsTest, ValuesAFailureMadeDoubtfulAreShownStaleUntilReadAgain) {
    card.status = 0x300;
    ASSERT_EQ(MainFunc_Statusabfrage(), 0);
    ASSERT_EQ(MainFunc_KartenummerLesen(), 0);
    EXPECT_EQ(staleNote(STATUSLED9), "");
    EXPECT_EQ(staleNote(KARTENNUMMERIST), "");

    // The card refuses the status read: the LEDs are not its answer, but the card is there,
    // so the number it gave stays current.
    serial.responder = [](const std::string &) { return std::string("\x15"); };
    EXPECT_EQ(MainFunc_Statusabfrage(), -402158);
    EXPECT_TRUE(says(staleNote(STATUSLED9), "fehlgeschlagen"));
    EXPECT_TRUE(says(staleNote(STATUSLED10), "fehlgeschlagen"));
    EXPECT_EQ(intVal(STATUSLED9), 1) << "kept, not cleared";
    EXPECT_EQ(staleNote(KARTENNUMMERIST), "");

    // Now it is silent: whatever it answered before is in doubt.
    serial.responder = [](const std::string &) { return std::string(); };
    EXPECT_EQ(MainFunc_Statusabfrage(), -403160);
    EXPECT_TRUE(says(staleNote(KARTENNUMMERIST), "nicht erreichbar"));
    EXPECT_EQ(textVal(KARTENNUMMERIST), "7");

    // It answers the status again: only the status is current, the number waits for a read.
    serial.responder = [this](const std::string &frame) { return card.answer(frame); };
    EXPECT_EQ(MainFunc_Statusabfrage(), 0);
    EXPECT_EQ(staleNote(STATUSLED9), "");
    EXPECT_NE(staleNote(KARTENNUMMERIST), "");
    EXPECT_EQ(MainFunc_KartenummerLesen(), 0);
    EXPECT_EQ(staleNote(KARTENNUMMERIST), "");

    // The port is gone: everything from it is in doubt.
    serial.openResult = kComNoDevice;
    EXPECT_EQ(MainFunc_KartenummerLesen(), -100003);
    EXPECT_TRUE(says(staleNote(STATUSLED9), "nicht erreichbar"));
    EXPECT_TRUE(says(staleNote(KARTENNUMMERIST), "nicht erreichbar"));
    serial.openResult = 0;
    EXPECT_EQ(MainFunc_Statusabfrage(), 0);
    EXPECT_EQ(MainFunc_KartenummerLesen(), 0);

    // Another choice (here none) that cannot give the status: the LEDs of the card before are
    // not its answer; nothing was sent, so the number stays current.
    VekCom_ComPortChose(0);
    EXPECT_EQ(MainFunc_Statusabfrage(), -122500);
    EXPECT_TRUE(says(staleNote(STATUSLED10), "fehlgeschlagen"));
    EXPECT_EQ(staleNote(KARTENNUMMERIST), "");
}

TEST_F(CardOpsTest, RefusedWriteReturnsItsCodeWithoutReadBack) {
    card.refuseWrites = true;
    ui::testing::PopupDriver driver;
    driver.pressEnter();
    EXPECT_EQ(MainFunc_KartenummerSchreiben(), -402038);
    EXPECT_EQ(serial.written, "#1DNW1\r");
    EXPECT_EQ(intVal(FEHLERNUMMER), 402038);
}

TEST_F(CardOpsTest, ACardNumberAnswerWithoutANumberIsAWrongAnswer) {
    // "#1DNR" and CR: the line end is no card number, and no success either.
    SetCtrlVal(panel, KARTENNUMMERIST, "7");
    card.number = '\r';
    click(KARTENNUMMERLESEN);
    EXPECT_EQ(textVal(KARTENNUMMERIST), "7");
    EXPECT_EQ(intVal(FEHLERLED), 1);
    EXPECT_EQ(intVal(FEHLERNUMMER), 404029);
}

TEST_F(CardOpsTest, SuccessClearsAnEarlierError) {
    serial.responder = [](const std::string &) { return std::string(); };
    EXPECT_EQ(MainFunc_KartenummerLesen(), -403024);
    EXPECT_EQ(intVal(FEHLERLED), 1);
    serial.responder = [this](const std::string &frame) { return card.answer(frame); };
    EXPECT_EQ(MainFunc_KartenummerLesen(), 0);
    EXPECT_EQ(intVal(FEHLERLED), 0);
    EXPECT_EQ(intVal(FEHLERNUMMER), 0);
    EXPECT_EQ(textVal(FEHLERSTRING), "");
    EXPECT_EQ(textVal(KARTENNUMMERIST), "7");
}

// On Linux the help speaks of the device files, trz4ctl, the port map in effect and the
// group dialout, in the program's language, with one spelling of "COM-Port".
TEST_F(CardOpsTest, HelpButtonShowsTheComPortHelpOfThisSystem) {
    ui::testing::PopupDriver driver;
    driver.pressEnter();
    driver.pressEnter();
    setProgramLanguage(Language::German);
    click(COMHILFE);
    setProgramLanguage(Language::English);
    click(COMHILFE);
    setProgramLanguage(Language::German);
    ASSERT_TRUE(driver.allAnswered());
    const ui::testing::SeenPopup german = driver.seen(0);
    EXPECT_EQ(german.title, "COM-Port");
    EXPECT_EQ(german.text.rfind("Die trz-4 Karte muss mit einem USB-Kabel mit dem PC verbunden "
                                "werden.\nLinux ",
                                0),
              0u)
        << german.text;
    for (const std::string &part :
         {std::string("/dev/ttyUSB<k> ist COM 33+k"), std::string("\"COM-Port (USB)\""),
          std::string("\"trz4ctl ports\""), portMapDirectory(), std::string("\"dialout\"")}) {
        EXPECT_NE(german.text.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(german.text.find("Com-Port"), std::string::npos);
    EXPECT_EQ(german.text.find("Windows"), std::string::npos);

    const ui::testing::SeenPopup english = driver.seen(1);
    EXPECT_EQ(english.title, "COM port");
    EXPECT_EQ(english.text.rfind("The trz-4 card must be connected", 0), 0u) << english.text;
    EXPECT_NE(english.text.find(portMapDirectory()), std::string::npos);
    EXPECT_TRUE(serial.calls.empty());
}

TEST_F(CardOpsTest, ButtonsCallbackActsOnCommitOnly) {
    EXPECT_EQ(Callback_Main_Buttons(panel, STATUSABFRAGE, EVENT_LEFT_CLICK, nullptr, 0, 0), 0);
    EXPECT_EQ(Callback_Main_Buttons(panel, IDLESEN, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_TRUE(serial.calls.empty());
}
