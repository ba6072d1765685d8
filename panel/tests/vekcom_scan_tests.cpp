// The identification and the device scan, started by their buttons on the panel.
#include "vekcom_fixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTextDocument>

using namespace vekcomtest;

namespace {

void click(int control) {
    auto *button = qobject_cast<QAbstractButton *>(controlWidget(mainPanel(), control));
    ASSERT_NE(button, nullptr);
    button->click();
}

int ledColour() {
    int colour = -1;
    GetCtrlAttribute(mainPanel(), LED, ATTR_ON_COLOR, &colour);
    return colour;
}

// The address LED as a screen reader says it.
std::string ledSpoken() {
    return QAccessible::queryAccessibleInterface(controlWidget(mainPanel(), LED))
        ->text(QAccessible::Name)
        .toStdString();
}

class ScanTest : public VekComTest {
protected:
    // A device at address "1" that identifies itself with `text`.
    void deviceSays(const std::string &text) {
        serial.responder = [text](const std::string &frame) { return idAnswer(frame, '1', text); };
    }
};

} // namespace

TEST_F(ScanTest, ScanWithoutPortReportsNotOpenAndChangesNothing) {
    SetCtrlVal(panel, LED, 1);
    SetCtrlVal(panel, STRING, "alt");
    click(BUTTON);
    EXPECT_EQ(intVal(ERRORNUMBER), 122305);
    EXPECT_EQ(intVal(ERRORLED), 1);
    EXPECT_EQ(intVal(LED), 1);
    EXPECT_EQ(textVal(STRING), "alt");
    EXPECT_EQ(serial.calls.size(), 0u);
}

TEST_F(ScanTest, CardAtAddressOneLightsGreenAndShowsItsText) {
    VekCom_ComPortChose(3);
    VekCom_FehlermeldungSet(-403012); // an earlier failure is cleared by the scan
    std::string progressDuringProbe;
    bool waitCursorDuringProbe = false;
    serial.responder = [&](const std::string &frame) {
        progressDuringProbe = textVal(TEXT);
        const QCursor *cursor = QApplication::overrideCursor();
        waitCursorDuringProbe = cursor && cursor->shape() == Qt::WaitCursor;
        return idAnswer(frame, '1', "VEK-TRZ4-V1.0");
    };
    click(BUTTON);
    EXPECT_EQ(progressDuringProbe, "Suche nach Gerät 1");
    EXPECT_TRUE(waitCursorDuringProbe);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(serial.written, "#1IDR\r"); // only address "1" exists
    EXPECT_EQ(intVal(LED), 1);
    EXPECT_EQ(ledColour(), 0x00FF00);
    EXPECT_EQ(ledSpoken(), "Karte an Adresse 1: gefunden");
    EXPECT_EQ(charVal(CHARRING), '1');
    EXPECT_EQ(textVal(STRING), "VEK-TRZ4-V1.0");
    EXPECT_EQ(textVal(TEXT), "");
    EXPECT_EQ(intVal(ERRORLED), 0);
    EXPECT_EQ(intVal(ERRORNUMBER), 0);
    EXPECT_FALSE(serial.isOpen);
    EXPECT_EQ(VekCom_LastComPortGet(), 3);
}

TEST_F(ScanTest, NearlyTheCardPrefixIsAForeignDevice) {
    VekCom_ComPortChose(3);
    for (const char *text : {"VEK-TRZ4", "vek-trz4-V1.0", "XVEK-TRZ4-"}) {
        SCOPED_TRACE(text);
        SetCtrlVal(panel, LED, 0);
        SetCtrlVal(panel, STRING, "alt");
        deviceSays(text);
        EXPECT_EQ(VekCom_Scan(), 0);
        EXPECT_EQ(intVal(LED), 1);
        EXPECT_EQ(ledColour(), 0xFF0000);
        EXPECT_EQ(ledSpoken(), "Karte an Adresse 1: anderes Gerät");
        EXPECT_EQ(textVal(STRING), "");
    }
}

TEST_F(ScanTest, SilenceSwitchesTheLedOffAndStillSucceeds) {
    VekCom_ComPortChose(3);
    SetCtrlVal(panel, LED, 1);
    SetCtrlAttribute(panel, LED, ATTR_ON_COLOR, 0xFF0000);
    EXPECT_EQ(VekCom_Scan(), 0);
    EXPECT_EQ(serial.written, "#1IDR\r");
    EXPECT_EQ(intVal(LED), 0);
    EXPECT_EQ(ledColour(), 0xFF0000); // the colour stays as it was
    EXPECT_EQ(ledSpoken(), "Karte an Adresse 1: nicht gefunden");
    EXPECT_EQ(textVal(TEXT), "");
    EXPECT_FALSE(serial.isOpen);
}

TEST_F(ScanTest, ScanProbesNoMoreAddressesThanLedsOrTheHighestAddress) {
    vekComResetForTesting();
    VekCom_RegisterComControl(panel, INTRING);
    VekCom_RegisterIdTextdisplay(panel, STRING);
    VekCom_RegisterScanStringControl(panel, TEXT);
    VekCom_ComPortChose(3);
    SetCtrlVal(panel, STRING, "alt");
    SetCtrlVal(panel, TEXT, "alt");
    EXPECT_EQ(VekCom_Scan(), 0);
    EXPECT_EQ(serial.written, "");
    EXPECT_EQ(textVal(STRING), "");
    EXPECT_EQ(textVal(TEXT), "");
    EXPECT_EQ(serial.count("close"), 1);

    // More LEDs than addresses: "1" is the highest address, so a second LED is never probed.
    VekCom_RegisterAdressLeds(panel, LED);
    VekCom_RegisterAdressLeds(panel, ERRORLED);
    SetCtrlVal(panel, ERRORLED, 1);
    deviceSays("VEK-TRZ4-V1.0");
    EXPECT_EQ(VekCom_Scan(), 0);
    EXPECT_EQ(serial.written, "#1IDR\r");
    EXPECT_EQ(intVal(LED), 1);
    EXPECT_EQ(intVal(ERRORLED), 1);
}

TEST_F(ScanTest, IdentificationShowsTheTextWhateverItSays) {
    VekCom_ComPortChose(3);
    deviceSays("Fremdgeraet-7");
    SetCtrlVal(panel, STRING, "alt");
    click(BUTTON2);
    EXPECT_EQ(textVal(STRING), "Fremdgeraet-7");
    EXPECT_EQ(intVal(ERRORNUMBER), 0);
    EXPECT_FALSE(serial.isOpen);
    EXPECT_EQ(VekCom_LastComPortGet(), 3);
}

TEST_F(ScanTest, IdentificationFailuresLeaveTheDisplayEmpty) {
    VekCom_ComPortChose(3);
    // NAK from the card.
    serial.responder = [](const std::string &) { return std::string("\x15"); };
    SetCtrlVal(panel, STRING, "alt");
    click(BUTTON2);
    EXPECT_EQ(intVal(ERRORNUMBER), 402010);
    EXPECT_EQ(textVal(STRING), "");
    EXPECT_FALSE(serial.isOpen);

    // The collective address is refused by the command; the port is still closed again.
    ASSERT_EQ(VekCom_AdresseSet('&'), 0);
    deviceSays("VEK-TRZ4-V1.0");
    size_t written = serial.written.size();
    SetCtrlVal(panel, STRING, "alt");
    EXPECT_EQ(VekCom_IdLesen(), -400006);
    EXPECT_EQ(serial.written.size(), written);
    EXPECT_EQ(textVal(STRING), "");
    EXPECT_FALSE(serial.isOpen);
}

TEST_F(ScanTest, IdentificationWithoutOpenPortReportsNotOpenWithTheReason) {
    click(BUTTON2);
    EXPECT_EQ(intVal(ERRORNUMBER), 122304);
    EXPECT_EQ(serial.count("close"), 0);

    VekCom_ComPortChose(3);
    serial.openResult = kComBusy;
    serial.failure.kind = OpenFailureKind::Busy;
    serial.failure.device = "/dev/ttyUSB0";
    SetCtrlVal(panel, STRING, "alt");
    click(BUTTON2);
    EXPECT_EQ(intVal(ERRORNUMBER), 122304);
    EXPECT_NE(textVal(ERRORTEXT).find("/dev/ttyUSB0 ist belegt"), std::string::npos)
        << textVal(ERRORTEXT);
    EXPECT_EQ(textVal(STRING), "alt"); // nothing else happens
}

TEST_F(ScanTest, ControlCharactersOfAnIdentificationShowAsReplacementCharacters) {
    // An escape sequence that would clear a terminal and an OSC title sequence: the panel shows
    // each control character as U+FFFD, and markup in the text stays text in the tooltip.
    VekCom_ComPortChose(3);
    deviceSays("VEK-TRZ4-\x1b[2J\x1b]0;x\x07<b>y");
    click(BUTTON2);
    EXPECT_EQ(intVal(ERRORLED), 0);
    const std::string shown = "VEK-TRZ4-\uFFFD[2J\uFFFD]0;x\uFFFD<b>y";
    EXPECT_EQ(textVal(STRING), shown);
    auto *edit = qobject_cast<QLineEdit *>(controlWidget(mainPanel(), STRING));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->displayText().toStdString(), shown);
    QTextDocument tooltip;
    tooltip.setHtml(edit->toolTip());
    EXPECT_EQ(tooltip.toPlainText().toStdString(), shown);

    click(BUTTON);
    EXPECT_EQ(textVal(STRING), shown);
}

TEST_F(ScanTest, WhatTheCardNoLongerConfirmsIsGreyedNotCleared) {
    auto stale = [this](int control) {
        std::string note = "<unset>";
        getCtrlStale(panel, control, &note);
        return note;
    };
    VekCom_ComPortChose(3);
    deviceSays("VEK-TRZ4-X");
    click(BUTTON);
    ASSERT_EQ(textVal(STRING), "VEK-TRZ4-X");
    EXPECT_EQ(stale(LED), "");
    EXPECT_EQ(stale(STRING), "");

    // The adapter is pulled: the COM-port list loses the port, and what came from it is greyed.
    fillPortKey({{"\\Device\\Serial1", "COM20"}});
    VekCom_ComListeErstellen(panel, INTRING);
    EXPECT_NE(stale(STRING).find("nicht erreichbar"), std::string::npos) << stale(STRING);
    EXPECT_NE(stale(LED), "");
    click(BUTTON); // the double still answers: the scan vouches for both again
    EXPECT_EQ(stale(STRING), "");
    EXPECT_EQ(stale(LED), "");

    // The adapter is gone: the identification cannot even open the port. The text and the
    // green LED are the last known ones, kept and greyed.
    serial.openResult = kComNoDevice;
    click(BUTTON2);
    EXPECT_EQ(intVal(ERRORNUMBER), 122304);
    EXPECT_EQ(textVal(STRING), "VEK-TRZ4-X");
    EXPECT_EQ(intVal(LED), 1);
    EXPECT_NE(stale(STRING).find("nicht erreichbar"), std::string::npos) << stale(STRING);
    EXPECT_NE(stale(LED).find("nicht erreichbar"), std::string::npos) << stale(LED);

    // Back, but the card refuses: the identification empties its display as always (nothing
    // left to grey); the LED is still not vouched for.
    serial.openResult = 0;
    serial.responder = [](const std::string &) { return std::string("\x15"); };
    click(BUTTON2);
    EXPECT_EQ(textVal(STRING), "");
    EXPECT_EQ(stale(STRING), "");
    EXPECT_NE(stale(LED), "");

    // The scan asks again: what it finds is current, the card or nothing.
    deviceSays("VEK-TRZ4-X");
    click(BUTTON);
    EXPECT_EQ(stale(LED), "");
    EXPECT_EQ(stale(STRING), "");
    serial.responder = [](const std::string &) { return std::string(); };
    click(BUTTON);
    EXPECT_EQ(intVal(LED), 0);
    EXPECT_EQ(stale(LED), "");
}
