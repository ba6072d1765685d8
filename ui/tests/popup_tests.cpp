// Popups answered as an operator would: Enter, Escape, a click, the close box; and the modal
// panel popup that blocks the panel beneath it.
#include "ui/testing/popupdriver.h"
#include "ui/testing/testpanels.h"
#include "ui/uiruntime.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using ui::testing::PopupDriver;

int warning(char *response = nullptr, int size = 0) {
    return GenericMessagePopup("Warnung", "\nDie interne Kartennummer wird umgestellt\n",
                               "Karte jetzt auf Nr. 3 umstellen", "abbrechen", "", response, size,
                               0, kPopupBtn2, kPopupBtn1, kPopupBtn2);
}

TEST(MessagePopup, ShowsTitleAndTextAndEndsOnEnterEscapeOrClick) {
    PopupDriver driver;
    driver.pressEnter();
    driver.pressEscape();
    driver.clickButton("OK");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(MessagePopup("Fehler #802201", "INI-Datei nicht gefunden"), 0);
    }
    EXPECT_TRUE(driver.allAnswered());
    EXPECT_EQ(driver.answered(), 3);
    EXPECT_EQ(driver.seen(0).title, "Fehler #802201");
    EXPECT_EQ(driver.seen(0).text, "INI-Datei nicht gefunden");
    EXPECT_EQ(driver.seen(0).buttons, std::vector<std::string>{"OK"});
}

TEST(MessagePopup, TextIsShownAsPlainTextWithItsLineFeeds) {
    PopupDriver driver;
    driver.pressEnter();
    MessagePopup("Com-Port", "<b>Zeile 1</b>\nZeile & 2\n");
    EXPECT_EQ(driver.seen(0).text, "<b>Zeile 1</b>\nZeile & 2\n");
}

TEST(MessagePopup, AScreenReaderReadsTheTextWithoutItsLineBreaks) {
    PopupDriver driver;
    driver.pressEnter();
    // A word divided at a line end is one word again; a hyphen before a capital stays.
    MessagePopup("Warnung",
                 "\nob die Karten-\nnummer vergeben ist,\n  prüfen Sie die QDN-\nSysteme.\n");
    EXPECT_EQ(driver.seen(0).spokenText,
              "ob die Kartennummer vergeben ist, prüfen Sie die QDN- Systeme.");
}

TEST(GenericMessagePopup, FocusOnButtonTwoButEnterChoosesButtonOne) {
    PopupDriver driver;
    driver.pressEnter();
    EXPECT_EQ(warning(), 1);
    EXPECT_EQ(driver.seen(0).focusedButton, "abbrechen");
    EXPECT_EQ(driver.seen(0).buttons,
              (std::vector<std::string>{"Karte jetzt auf Nr. 3 umstellen", "abbrechen"}));
    EXPECT_EQ(driver.seen(0).title, "Warnung");
}

TEST(GenericMessagePopup, EnterButtonCarriesTheDefaultMarkAndTheFocusedOneItsRing) {
    PopupDriver driver;
    driver.pressEscape();
    driver.pressEnter();
    driver.pressEscape();
    EXPECT_EQ(warning(), 2);
    EXPECT_EQ(MessagePopup("Com-Port", "Hilfe"), 0);
    // Without an Enter button no button is marked.
    EXPECT_EQ(GenericMessagePopup("Frage", "?", "eins", "zwei", "", nullptr, 0, 0, kPopupBtn1,
                                  kPopupNoCtrl, kPopupBtn2),
              2);
    ASSERT_EQ(driver.answered(), 3);
    EXPECT_EQ(driver.seen(0).defaultButton, "Karte jetzt auf Nr. 3 umstellen");
    EXPECT_EQ(driver.seen(0).focusedButton, "abbrechen");
    EXPECT_TRUE(driver.seen(0).focusRingShown);
    // A screen reader, which says the focused button, also hears what the keys choose.
    EXPECT_EQ(driver.seen(0).description,
              "Eingabetaste: Karte jetzt auf Nr. 3 umstellen. Escape: abbrechen.");
    EXPECT_EQ(driver.seen(1).description, "");
    EXPECT_EQ(driver.seen(1).defaultButton, "OK");
    EXPECT_EQ(driver.seen(2).defaultButton, "");
}

TEST(GenericMessagePopup, EscapeClickAndSpaceChooseAsAPersonWould) {
    PopupDriver driver;
    driver.pressEscape();
    driver.clickButton("Karte jetzt auf Nr. 3 umstellen");
    driver.clickButton("abbrechen");
    driver.pressKey(Qt::Key_Space); // Space presses the focused button, "abbrechen"
    EXPECT_EQ(warning(), 2);
    EXPECT_EQ(warning(), 1);
    EXPECT_EQ(warning(), 2);
    EXPECT_EQ(warning(), 2);
    EXPECT_TRUE(driver.allAnswered());
}

TEST(GenericMessagePopup, ThirdButtonAndLabelsWithAmpersand) {
    PopupDriver driver;
    driver.clickButton("Ja & Nein");
    EXPECT_EQ(GenericMessagePopup("Frage", "?", "Ja", nullptr, "Ja & Nein", nullptr, 0, 0,
                                  kPopupBtn1, kPopupBtn1, kPopupNoCtrl),
              3);
    EXPECT_EQ(driver.seen(0).buttons, (std::vector<std::string>{"Ja", "Ja & Nein"}));
}

TEST(GenericMessagePopup, WithoutEscapeButtonEscapeAndCloseBoxKeepItOpen) {
    PopupDriver driver;
    driver.pressEscape();
    driver.justLook(); // still the same box: the driver waits, so look via a timer instead
    QTimer::singleShot(300, [] {
        QWidget *box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        box->close();
        EXPECT_TRUE(box->isVisible());
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
    });
    EXPECT_EQ(GenericMessagePopup("Frage", "?", "Weiter", "", "", nullptr, 0, 0, kPopupBtn1,
                                  kPopupBtn1, kPopupNoCtrl),
              1);
}

TEST(GenericMessagePopup, ResponseIsCopiedAndCutAtAWholeCharacter) {
    QTimer::singleShot(50, [] {
        QWidget *box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        auto *input = box->findChild<QLineEdit *>("popupInput");
        ASSERT_NE(input, nullptr);
        EXPECT_TRUE(input->hasFocus() || box->focusWidget() == input);
        input->setText("Gerät");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(input, &enter);
    });
    char response[5];
    std::memset(response, 'x', sizeof response);
    // "Gerät" is 6 bytes in UTF-8; 4 fit beside the zero, and the cut must not split the "ä".
    EXPECT_EQ(GenericMessagePopup("Eingabe", "Name", "OK", "", "", response, sizeof response, 0,
                                  kPopupInputString, kPopupBtn1, kPopupBtn1),
              1);
    EXPECT_STREQ(response, "Ger");
}

TEST(GenericMessagePopup, NoButtonAtAllIsRefused) {
    EXPECT_EQ(GenericMessagePopup("t", "m", "", nullptr, "", nullptr, 0, 0, 0, 0, 0),
              kUiErrBadArgument);
}

TEST(PopupDriver, MissingButtonFailsWithoutHanging) {
    PopupDriver driver(2000);
    driver.clickButton("Gibt es nicht");
    MessagePopup("t", "m");
    EXPECT_FALSE(driver.allAnswered());
    EXPECT_TRUE(driver.seen(0).seen);
}

int gClicks = 0;
int countClick(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) {
        ++gClicks;
    }
    return 0;
}

TEST(InstallPopup, PanelBeneathTakesNoInputUntilRemoved) {
    ui::testing::registerTestPanels();
    const int main = LoadPanel(0, kTestPanelsResource, TESTPANEL);
    const int info = LoadPanel(main, kTestPanelsResource, CHILDPANEL);
    InstallCtrlCallback(main, BOUNDBUTTON, countClick, nullptr);
    DisplayPanel(main);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panelWidget(main)));
    QWidget *button = controlWidget(main, BOUNDBUTTON);
    QWindow *window = panelWidget(main)->windowHandle();
    const QPoint at = button->mapTo(panelWidget(main), button->rect().center());

    gClicks = 0;
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(gClicks, 1);

    EXPECT_EQ(InstallPopup(info), 0);
    EXPECT_TRUE(isPopupInstalled(info));
    EXPECT_EQ(QApplication::activeModalWidget(), panelWidget(info));
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(gClicks, 1);

    EXPECT_EQ(RemovePopup(info), 0);
    EXPECT_FALSE(isPopupInstalled(info));
    EXPECT_FALSE(panelWidget(info)->isVisible());
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(gClicks, 2);
    DiscardPanel(main);
}

TEST(InstallPopup, DriverSeesThePanelPopup) {
    ui::testing::registerTestPanels();
    const int main = LoadPanel(0, kTestPanelsResource, TESTPANEL);
    const int info = LoadPanel(main, kTestPanelsResource, CHILDPANEL);
    DisplayPanel(main);
    PopupDriver driver;
    driver.justLook();
    InstallPopup(info);
    QTRY_VERIFY_WITH_TIMEOUT(driver.answered() == 1, 2000);
    EXPECT_EQ(driver.seen(0).title, "Info");
    EXPECT_NE(driver.seen(0).text.find("unter dem Testpanel"), std::string::npos);
    EXPECT_EQ(driver.seen(0).buttons, std::vector<std::string>{"OK"});
    RemovePopup(info);
    DiscardPanel(main);
}

} // namespace

namespace {

TEST(MessagePopup, ShowsTheNormalPointerEvenDuringAnExchange) {
    WaitCursor busy;
    Qt::CursorShape during = Qt::WaitCursor;
    QTimer::singleShot(50, [&during] {
        during = QApplication::overrideCursor()->shape();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(QApplication::activeModalWidget(), &enter);
    });
    MessagePopup("Fehler #403012", "Keine Antwort vom Gerät");
    EXPECT_EQ(during, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
}

} // namespace
