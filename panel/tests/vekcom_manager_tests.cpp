// The COM-port manager: the port list, choosing, opening and closing, the picture rings, the
// address rule and the registration tables.
#include "vekcom_fixture.h"
#include "cardlink/vektrz4.h"
#include "panel/comsession.h"

#include "ui/testing/popupdriver.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>

using namespace vekcomtest;

namespace {

std::string itemTooltip(int control, int index) {
    auto *ring = qobject_cast<QComboBox *>(controlWidget(mainPanel(), control));
    return ring ? ring->itemData(index, Qt::ToolTipRole).toString().toStdString() : "<no ring>";
}

int indexOf(int control, int value) {
    int index = -2;
    GetIndexFromValue(mainPanel(), control, &index, value);
    return index;
}

// A key press on the ring as the operator makes it (Shift changes no selection).
void pressKeyOn(int control) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
    QCoreApplication::sendEvent(controlWidget(mainPanel(), control), &press);
}

// The operator picks ring item `index`.
void pickRingItem(int control, int index) {
    auto *ring = qobject_cast<QComboBox *>(controlWidget(mainPanel(), control));
    ring->setCurrentIndex(index);
    emit ring->activated(index);
}

using ManagerTest = VekComTest;

} // namespace

TEST_F(ManagerTest, PortListTakesComValuesInRegistryOrder) {
    fillPortKey({{"\\Device\\Serial0", "COM1"},
                 {"\\Device\\Serial9", "COM10"},
                 {"\\Device\\Parallel0", "LPT1"}});
    VekCom_ComListeErstellen(panel, INTRING);
    EXPECT_EQ(ringItems(INTRING), (std::vector<std::string>{"nicht geöffnet", "COM 1", "COM 10"}));
    EXPECT_EQ(indexOf(INTRING, 0), 0);
    EXPECT_EQ(indexOf(INTRING, 1), 1);
    EXPECT_EQ(indexOf(INTRING, 10), 2);
    // Each port names the device behind it; "nicht geöffnet" names none.
    EXPECT_EQ(itemTooltip(INTRING, 0), "");
    EXPECT_EQ(itemTooltip(INTRING, 2), "\\Device\\Serial9");
}

TEST_F(ManagerTest, PortListSkipsWhatIsNoComNumberFrom0To256) {
    fillPortKey({{"a", "COM0"},
                 {"b", "COM257"},
                 {"c", "COMx"},
                 {"d", "com3"},
                 {"e", "COM 5 "},
                 {"f", "COM256"},
                 {"g", "COM1"},
                 {"h", "COM1"}});
    RegWriteULong(HKEY_LOCAL_MACHINE, kSerialCommKey, "i", 7);
    VekCom_ComListeErstellen(panel, INTRING);
    EXPECT_EQ(ringItems(INTRING), (std::vector<std::string>{"nicht geöffnet", "COM 0", "COM 5",
                                                            "COM 256", "COM 1", "COM 1"}));
    EXPECT_EQ(indexOf(INTRING, 0), 0); // COM 0 shares the value of "nicht geöffnet"
}

TEST_F(ManagerTest, MissingOrClosedKeyListsNoPort) {
    RegDeleteKey(HKEY_LOCAL_MACHINE, kSerialCommKey);
    // A key that exists but cannot be read.
    fillPortKey({{"a", "COM3"}});
    regDenyAccessForTesting(HKEY_LOCAL_MACHINE, kSerialCommKey, true);
    VekCom_ComListeErstellen(panel, INTRING);
    EXPECT_EQ(ringItems(INTRING), (std::vector<std::string>{"nicht geöffnet"}));
    EXPECT_EQ(intVal(INTRING), 0);
}

TEST_F(ManagerTest, ChoosingAPortThatIsNotListedChoosesNone) {
    VekCom_ComPortChose(3);
    EXPECT_EQ(VekCom_ComPortGet(), 3);
    EXPECT_EQ(intVal(INTRING), 3);
    VekCom_ComPortChose(7);
    EXPECT_EQ(VekCom_ComPortGet(), 0);
    EXPECT_EQ(intVal(INTRING), 0);
    EXPECT_EQ(serial.count("open"), 0);
}

TEST_F(ManagerTest, RingCommitChoosesWithoutOpening) {
    pickRingItem(INTRING, 2);
    EXPECT_EQ(VekCom_ComPortGet(), 20);
    EXPECT_EQ(serial.count("open"), 0);
}

TEST_F(ManagerTest, KeyOnRingRebuildsListAndShowsAVanishedChoiceAsNotConnected) {
    VekCom_ComPortChose(3);
    ASSERT_EQ(VekCom_Open(3), 0);
    // The adapter is pulled: the list loses COM 3, the open port is closed, and the ring keeps
    // showing the choice that operations still go to, marked, instead of "nicht geöffnet".
    fillPortKey({{"\\Device\\Serial1", "COM20"}});
    pressKeyOn(INTRING);
    EXPECT_EQ(ringItems(INTRING),
              (std::vector<std::string>{"nicht geöffnet", "COM 20", "COM 3 (getrennt)"}));
    EXPECT_EQ(intVal(INTRING), 3);
    EXPECT_NE(itemTooltip(INTRING, 2).find("nicht angeschlossen"), std::string::npos);
    EXPECT_EQ(VekCom_ComPortGet(), 3);
    EXPECT_FALSE(serial.isOpen);
    EXPECT_EQ(VekCom_LastComPortGet(), 3);

    // Another rebuild does not add the item twice; the operator's Up key then picks a port
    // that is there, and that is the new choice.
    pressKeyOn(INTRING);
    EXPECT_EQ(ringItems(INTRING).size(), 3u);
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(controlWidget(panel, INTRING), &up);
    EXPECT_EQ(intVal(INTRING), 20);
    EXPECT_EQ(VekCom_ComPortGet(), 20);

    // Back: the port is listed as usual and selected once chosen again.
    VekCom_ComPortChose(3);
    EXPECT_EQ(VekCom_ComPortGet(), 3);
    fillPortKey({{"\\Device\\Serial1", "COM20"}, {"\\Device\\Serial0", "COM3"}});
    Callback_ComPortEinstellen(panel, INTRING, EVENT_LEFT_CLICK, nullptr, 0, 0);
    EXPECT_EQ(ringItems(INTRING), (std::vector<std::string>{"nicht geöffnet", "COM 20", "COM 3"}));
    EXPECT_EQ(intVal(INTRING), 3);
}

TEST_F(ManagerTest, TheNotConnectedMarkFollowsWhatThePortShows) {
    // The system's list lags behind (an entry whose device sits behind a further link): the
    // port itself has the last word until the list changes again.
    choosePort(3);
    serial.openResult = kComNoDevice;
    EXPECT_NE(VekCom_Open(3), 0);
    EXPECT_EQ(ringItems(INTRING),
              (std::vector<std::string>{"nicht geöffnet", "COM 20", "COM 3 (getrennt)"}))
        << "a failed open found no device";
    EXPECT_EQ(intVal(INTRING), 3);
    EXPECT_EQ(VekCom_ComPortGet(), 3);

    // The list now drops it too; then the adapter is back and a command succeeds on it before
    // the list has it again.
    fillPortKey({{"\\Device\\Serial1", "COM20"}});
    pressKeyOn(INTRING);
    serial.openResult = 0;
    serial.responder = [](const std::string &frame) { return idAnswer(frame, '1', "VEK-TRZ4-1"); };
    ASSERT_EQ(VekCom_OpenChosen(nullptr), 0);
    char text[kTrz4IdBufferSize] = {};
    ASSERT_EQ(vekComSession().identification('1', text), 0);
    VekCom_Close();
    EXPECT_EQ(ringItems(INTRING), (std::vector<std::string>{"nicht geöffnet", "COM 20", "COM 3"}))
        << "a command succeeded on it";
    EXPECT_EQ(intVal(INTRING), 3);
}

TEST_F(ManagerTest, OpenConfiguresThePortAndShowsIt) {
    EXPECT_EQ(VekCom_Open(3), 0);
    EXPECT_TRUE(serial.isOpen);
    EXPECT_EQ(serial.openedPort, 3);
    // The line settings are the card session's; the manager keeps the card's time-out.
    EXPECT_DOUBLE_EQ(serial.timeoutSet, kTrz4TimeoutSeconds);
    EXPECT_EQ(intVal(INTRING), 3);
    EXPECT_EQ(VekCom_ComPortGet(), 0); // opening is no choice
}

TEST_F(ManagerTest, OpeningTheOpenPortTouchesNothing) {
    EXPECT_EQ(VekCom_Open(0), 0); // none open: already "open"
    EXPECT_EQ(serial.calls.size(), 0u);
    ASSERT_EQ(VekCom_Open(3), 0);
    SetCtrlVal(panel, INTRING, 20);
    size_t calls = serial.calls.size();
    EXPECT_EQ(VekCom_Open(3), 0);
    EXPECT_EQ(serial.calls.size(), calls);
    EXPECT_EQ(intVal(INTRING), 20); // the display is not refreshed

    EXPECT_EQ(VekCom_Open(0), 0);
    EXPECT_FALSE(serial.isOpen);
    EXPECT_EQ(intVal(INTRING), 0);
    EXPECT_EQ(VekCom_LastComPortGet(), 3);
}

TEST_F(ManagerTest, OpenOutOfRangeAndCloseRecordTheLastPort) {
    EXPECT_EQ(VekCom_Open(257), -110303);
    EXPECT_EQ(VekCom_Open(-1), -110303);
    EXPECT_EQ(serial.count("open"), 0);

    ASSERT_EQ(VekCom_Open(3), 0);
    SetCtrlVal(panel, INTRING, 20);
    EXPECT_EQ(VekCom_Close(), 0);
    EXPECT_FALSE(serial.isOpen);
    EXPECT_EQ(VekCom_LastComPortGet(), 3);
    EXPECT_EQ(intVal(INTRING), 20); // closing leaves the display alone
    EXPECT_EQ(VekCom_Close(), 0);
    EXPECT_EQ(VekCom_LastComPortGet(), 0);
    EXPECT_EQ(serial.count("close"), 1);
}

TEST_F(ManagerTest, FailedOpenKeepsShowingTheChoiceAndCarriesTheSystemsReason) {
    VekCom_ComPortChose(3);
    serial.openResult = kComAccessDenied;
    serial.failure.kind = OpenFailureKind::AccessDenied;
    serial.failure.device = "/dev/ttyUSB0";
    serial.failure.group = "dialout";
    int port = -1;
    EXPECT_EQ(VekCom_OpenChosen(&port), -100003);
    EXPECT_EQ(port, 3);
    // The next operation tries COM 3 again: the ring says so, not "nicht geöffnet".
    EXPECT_EQ(intVal(INTRING), 3);
    EXPECT_EQ(VekCom_ComPortGet(), 3);
    VekCom_FehlermeldungSet(-100003);
    std::string shown = textVal(ERRORTEXT);
    EXPECT_NE(shown.find("dialout"), std::string::npos) << shown;
    EXPECT_EQ(intVal(ERRORNUMBER), 100003);
}

TEST_F(ManagerTest, PictureRingsShowPortsUpTo16And99Above) {
    int other = LoadPanel(0, kTestPanelsResource, TESTPANEL);
    ClearListCtrl(other, INTRING);
    for (int value : {0, 3, 99})
        InsertListItem(other, INTRING, -1, std::to_string(value).c_str(), value);
    SetCtrlVal(other, INTRING, 99);
    VekCom_RegisterPictureringControl(other, INTRING);
    auto picture = [&] {
        int value = -1;
        GetCtrlVal(other, INTRING, &value);
        return value;
    };
    ASSERT_EQ(VekCom_Open(3), 0);
    EXPECT_EQ(picture(), 3);
    ASSERT_EQ(VekCom_Open(20), 0);
    EXPECT_EQ(picture(), 99);
    serial.openResult = kComNoDevice;
    EXPECT_EQ(VekCom_Open(3), -100003);
    EXPECT_EQ(picture(), 0);
    vekComResetForTesting();
    DiscardPanel(other);
}

TEST_F(ManagerTest, FullTablesShowInternalErrorAndDropTheControl) {
    ui::testing::PopupDriver driver;
    driver.pressEnter();
    driver.pressEnter();
    for (int i = 0; i < MAX_PICTURERINGCONTROLS; ++i)
        EXPECT_EQ(VekCom_RegisterPictureringControl(panel, ERRORNUMBER), 0);
    EXPECT_EQ(VekCom_RegisterPictureringControl(panel, ERRORNUMBER), -1);
    for (int i = 1; i < MAX_ADRESSLEDS; ++i) // LED is registered already
        EXPECT_EQ(VekCom_RegisterAdressLeds(panel, LED), 0);
    EXPECT_EQ(VekCom_RegisterAdressLeds(panel, LED), -1);
    EXPECT_TRUE(driver.allAnswered());
    EXPECT_EQ(driver.seen(0).title, "Interner Fehler");
    EXPECT_EQ(driver.seen(0).text, "MAX_PICTURERINGCONTROLS ist zu klein");
    EXPECT_EQ(driver.seen(1).text, "MAX_ADRESSLEDS ist zu klein");
}

TEST_F(ManagerTest, AddressRuleAcceptsOneAndTheCollectiveAddress) {
    EXPECT_EQ(VekCom_AdresseGet(), '1');
    EXPECT_EQ(VekCom_AdresseSet('2'), -400301);
    EXPECT_EQ(VekCom_AdresseSet('a'), -400301);
    EXPECT_EQ(VekCom_AdresseGet(), '1');
    EXPECT_EQ(VekCom_AdresseSet('&'), 0);
    EXPECT_EQ(VekCom_AdresseGet(), '&');
    EXPECT_EQ(charVal(CHARRING), '1'); // the ring has no "&" to show
    EXPECT_EQ(VekCom_AdresseSet('1'), 0);
    EXPECT_EQ(VekCom_AdresseGet(), '1');
}

TEST_F(ManagerTest, AddressRingCommitShowsItsResult) {
    InsertListItem(panel, CHARRING, -1, "2", '2');
    pickRingItem(CHARRING, 1);
    EXPECT_EQ(intVal(ERRORNUMBER), 400301);
    EXPECT_EQ(intVal(ERRORLED), 1);
    EXPECT_EQ(VekCom_AdresseGet(), '1');
    pickRingItem(CHARRING, 0);
    EXPECT_EQ(intVal(ERRORNUMBER), 0);
    EXPECT_EQ(intVal(ERRORLED), 0);
    ClearListCtrl(panel, CHARRING);
    InsertListItem(panel, CHARRING, -1, "1", '1');
}

TEST_F(ManagerTest, LastComPortAcceptsOnly0To256) {
    EXPECT_EQ(VekCom_LastComPortSet(257), -110302);
    EXPECT_EQ(VekCom_LastComPortSet(-1), -110302);
    EXPECT_EQ(VekCom_LastComPortGet(), 0);
    EXPECT_EQ(VekCom_LastComPortSet(256), 0);
    EXPECT_EQ(VekCom_LastComPortGet(), 256);
    EXPECT_EQ(VekCom_LastComPortSet(0), 0);
    EXPECT_EQ(VekCom_LastComPortGet(), 0);
}

TEST_F(ManagerTest, PortsPresentBecomeTheKeyWhenNoOneFilledIt) {
    RegDeleteKey(HKEY_LOCAL_MACHINE, kSerialCommKey);
    ensureSerialCommKey();
    EXPECT_EQ(RegKeyExists(HKEY_LOCAL_MACHINE, kSerialCommKey), 1);
    // Values are refused: the key only mirrors the system.
    EXPECT_EQ(RegWriteString(HKEY_LOCAL_MACHINE, kSerialCommKey, "x", "COM1"), kRegAccessDenied);
}
