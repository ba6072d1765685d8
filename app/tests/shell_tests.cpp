// The program run in-process, driven as an operator drives it: start-up state, the info
// popup, and both ways to quit.
#include "app/language.h"
#include "app/Mainpanel_Main.h"
#include "app/trz4Steuerung_Main.h"
#include "errors/VEK_errorV3.h"
#include "platform/files.h"
#include "platform/testing/files_testing.h"
#include "ui/testing/popupdriver.h"
#include "app/trz4SteuerungGui.h"
#include "ui/uiruntime.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

namespace {

// Runs `step` once the program's event loop runs with the main panel on screen.
void whenRunning(std::function<void()> step) {
    QTimer::singleShot(10, [step] {
        const int main = Mainpanel_GetMainpanel();
        if (userInterfaceRunning() && panelWidget(main) != nullptr &&
            panelWidget(main)->isVisible()) {
            step();
        } else {
            whenRunning(step);
        }
    });
}

int runProgram() {
    char name[] = "trz4Steuerung";
    char *argv[] = {name, nullptr};
    return trz4SteuerungMain(1, argv);
}

std::string text(int panel, int control) {
    std::string value;
    EXPECT_EQ(GetCtrlVal(panel, control, &value), 0);
    return value;
}

int number(int panel, int control) {
    int value = -1;
    EXPECT_EQ(GetCtrlVal(panel, control, &value), 0);
    return value;
}

// Clicks a control through the window system, so that modal blocking applies as for a mouse.
void clickThroughWindow(int panel, int control) {
    QWidget *window = panelWidget(panel);
    QWidget *widget = controlWidget(panel, control);
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      widget->mapTo(window, widget->rect().center()));
}

int gButtonCommits = 0;
int countButtons(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) {
        ++gButtonCommits;
    }
    return 0;
}

class ShellTest : public ::testing::Test {
protected:
    // Each run registers the error display once more; this process runs the program often.
    // The program reads and writes its settings file in the current directory: each run gets
    // a directory of its own with a complete file, so that start-up shows no popup.
    void SetUp() override {
        setProgramLanguage(Language::German);
        vekResetFehlerControls();
        ASSERT_TRUE(directory.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(directory.path());
        QFile settings(QStringLiteral("trz4Steuerung.ini"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[com]\ncom = 0\nlcom = 0\nadresse = 49\n");
    }
    void TearDown() override {
        QDir::setCurrent(previous);
        EXPECT_EQ(loadedPanelCount(), 0);
    }
    QTemporaryDir directory;
    QString previous;
};

TEST_F(ShellTest, StartUpStateAndBeendenEndsWithZero) {
    bool checked = false;
    whenRunning([&checked] {
        const int main = Mainpanel_GetMainpanel();
        const int info = mainpanelGetInfopanel();
        EXPECT_EQ(number(main, STATUSLED9), 0);
        EXPECT_EQ(number(main, STATUSLED10), 0);
        EXPECT_EQ(text(main, SCANNTEXT), "");
        EXPECT_EQ(number(main, FEHLERLED), 0);
        EXPECT_EQ(text(info, VERSION), "V 1.0");
        EXPECT_EQ(text(info, DATUM), "10/2010");
        EXPECT_FALSE(panelWidget(info)->isVisible());
        EXPECT_EQ(panelWidget(main)->windowTitle().toStdString(), "trz-4 Steuerung");
        checked = true;
        menuItemAction(main, BEENDEN)->trigger();
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_TRUE(checked);
}

TEST_F(ShellTest, CloseBoxEndsWithZero) {
    whenRunning([] { panelWidget(Mainpanel_GetMainpanel())->close(); });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(ShellTest, ErrorDisplayIsRegisteredAtStartUp) {
    whenRunning([] {
        const int main = Mainpanel_GetMainpanel();
        EXPECT_GE(VekCom_FehlermeldungSet(-403012), 1);
        EXPECT_EQ(number(main, FEHLERLED), 1);
        EXPECT_EQ(number(main, FEHLERNUMMER), 403012);
        EXPECT_EQ(VekCom_FehlermeldungSet(0), 1);
        EXPECT_EQ(text(main, FEHLERSTRING), "");
        QuitUserInterface(0);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(ShellTest, InfoBlocksTheMainPanelUntilOkAndOpensAgain) {
    gButtonCommits = 0;
    int rounds = 0;
    whenRunning([&rounds] {
        const int main = Mainpanel_GetMainpanel();
        const int info = mainpanelGetInfopanel();
        InstallCtrlCallback(main, STATUSABFRAGE, countButtons, nullptr);
        for (int round = 0; round < 2; ++round) {
            menuItemAction(main, INFO)->trigger();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(panelWidget(info)));
            EXPECT_TRUE(isPopupInstalled(info));
            EXPECT_EQ(QApplication::activeModalWidget(), panelWidget(info));
            EXPECT_EQ(text(info, VERSION), "V 1.0");
            EXPECT_EQ(text(info, DATUM), "10/2010");

            clickThroughWindow(main, STATUSABFRAGE);
            EXPECT_EQ(gButtonCommits, round) << "main panel reacted behind the popup";

            clickThroughWindow(info, OK);
            EXPECT_FALSE(panelWidget(info)->isVisible());
            clickThroughWindow(main, STATUSABFRAGE);
            EXPECT_EQ(gButtonCommits, round + 1);
            ++rounds;
        }
        QuitUserInterface(0);
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(rounds, 2);
}

TEST_F(ShellTest, InfoClosesWithTheKeyboardAndItsCloseBox) {
    whenRunning([] {
        const int main = Mainpanel_GetMainpanel();
        const int info = mainpanelGetInfopanel();
        menuItemAction(main, INFO)->trigger();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panelWidget(info)));
        // Alt+O is the shortcut of "OK".
        auto *ok = qobject_cast<QPushButton *>(controlWidget(info, OK));
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->shortcut(), QKeySequence(Qt::ALT | Qt::Key_O));
        // Space on the focused OK button.
        ok->setFocus();
        QTest::keyClick(ok, Qt::Key_Space);
        EXPECT_FALSE(panelWidget(info)->isVisible());
        // Enter on the focused OK button.
        menuItemAction(main, INFO)->trigger();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panelWidget(info)));
        controlWidget(info, OK)->setFocus();
        QTest::keyClick(controlWidget(info, OK), Qt::Key_Return);
        EXPECT_FALSE(panelWidget(info)->isVisible());
        // Escape and the window's close box close it like every other box; the main panel
        // takes input again and the program goes on.
        menuItemAction(main, INFO)->trigger();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panelWidget(info)));
        QTest::keyClick(controlWidget(info, OK), Qt::Key_Escape);
        EXPECT_FALSE(panelWidget(info)->isVisible());
        EXPECT_FALSE(isPopupInstalled(info));
        menuItemAction(main, INFO)->trigger();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panelWidget(info)));
        EXPECT_FALSE(panelWidget(info)->windowFlags() & Qt::CustomizeWindowHint)
            << "the window offers its close box";
        panelWidget(info)->close();
        EXPECT_FALSE(panelWidget(info)->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(userInterfaceRunning());
        QuitUserInterface(0);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(ShellTest, FailedSaveIsShownBeforeTheEndAndTheRunStillEndsWithZero) {
    VEK_Fehlersprache(1);
    // The message names the file as the system writes paths (backslashes on Windows).
    const std::string file =
        QDir::toNativeSeparators(QDir(directory.path()).filePath("trz4Steuerung.ini"))
            .toStdString();
    // The temporary file that replaces the settings cannot be created, as on a read-only disk.
    setFileFaultForTesting(FileFault::Create, EROFS);
    ui::testing::PopupDriver driver;
    driver.pressEnter();
    whenRunning([] { menuItemAction(Mainpanel_GetMainpanel(), BEENDEN)->trigger(); });
    EXPECT_EQ(runProgram(), 0);
    setFileFaultForTesting(FileFault::None, 0);
    ASSERT_TRUE(driver.allAnswered());
    EXPECT_EQ(driver.seen(0).title, "Fehler #800203");
    EXPECT_EQ(driver.seen(0).text,
              "Fehler beim schreiben in die INI-Datei\n" + file + ": " + std::strerror(EROFS));
}

TEST_F(ShellTest, TerminationRequestEndsTheRunLikeBeendenEvenWithTheInfoPopupOpen) {
    ASSERT_EQ(watchTerminationRequests(), 0);
    QFile::resize(QStringLiteral("trz4Steuerung.ini"), 0);
    ui::testing::PopupDriver driver;
    driver.pressEnter(); // the empty file lacks "com"
    bool infoOpen = false;
    whenRunning([&infoOpen] {
        const int info = mainpanelGetInfopanel();
        menuItemAction(Mainpanel_GetMainpanel(), INFO)->trigger();
        infoOpen = isPopupInstalled(info);
        // The request as the end of the session makes it, the way every system shares (a
        // signal or a console event takes the same way on; ui/ and platform/ test those).
        QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
    });
    EXPECT_EQ(runProgram(), 0);
    unwatchTerminationRequests();
    EXPECT_TRUE(infoOpen);
    EXPECT_EQ(driver.seen(0).title, "Fehler #801451");
    QFile settings(QStringLiteral("trz4Steuerung.ini"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("adresse = 49"));
}

} // namespace
