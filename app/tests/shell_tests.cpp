// The program run in-process, driven as an operator drives it: start-up state, the info
// popup, both ways to quit, and every screen under the pseudo-language.
#include "app/language.h"
#include "app/linklogwindow.h"
#include "app/Mainpanel_Funktionen.h"
#include "app/Mainpanel_Main.h"
#include "app/trz4Steuerung_Main.h"
#include "app/trz4SteuerungGui.h"
#include "cardlink/Vek_Com.h"
#include "cardlink/linklog.h"
#include "cardlink/vektrz4.h"
#include "errors/VEK_errorV3.h"
#include "platform/files.h"
#include "platform/serial_double.h"
#include "platform/testing/files_testing.h"
#include "platform/tests/scratch_dir.h"
#include "text/testing/pseudo_check.h"
#include "ui/testing/ctrlvalues.h"
#include "ui/testing/popupdriver.h"
#include "ui/uiruntime.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using ui::testing::ctrlInt;
using ui::testing::ctrlText;

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

struct Shown {
    std::string where;
    std::string text;
};

void note(std::vector<Shown> *texts, const QWidget *widget, const char *what, const QString &text) {
    if (!text.isEmpty())
        texts->push_back({widget->objectName().toStdString() + " " + what, text.toStdString()});
}

// Every text that `root` and the widgets inside it show or tell assistive technology.
std::vector<Shown> textsOf(QWidget *root) {
    std::vector<Shown> texts;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : widgets) {
        if (w->isWindow())
            note(&texts, w, "title", w->windowTitle());
        note(&texts, w, "tooltip", w->toolTip());
        note(&texts, w, "name", w->accessibleName());
        note(&texts, w, "description", w->accessibleDescription());
        if (QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w)) {
            note(&texts, w, "accessible name", a->text(QAccessible::Name));
            note(&texts, w, "accessible description", a->text(QAccessible::Description));
        }
        if (auto *label = qobject_cast<QLabel *>(w))
            note(&texts, w, "text", label->text());
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            note(&texts, w, "text", button->text());
        if (auto *line = qobject_cast<QLineEdit *>(w))
            note(&texts, w, "text", line->text());
        if (auto *edit = qobject_cast<QPlainTextEdit *>(w))
            note(&texts, w, "text", edit->toPlainText());
        if (auto *ring = qobject_cast<QComboBox *>(w)) {
            for (int i = 0; i < ring->count(); ++i) {
                note(&texts, w, "item", ring->itemText(i));
                note(&texts, w, "item tooltip", ring->itemData(i, Qt::ToolTipRole).toString());
            }
        }
        if (auto *menu = qobject_cast<QMenu *>(w))
            note(&texts, w, "menu", menu->title());
        for (QAction *action : w->actions()) {
            note(&texts, w, "action", action->text());
            note(&texts, w, "action tooltip", action->toolTip());
        }
    }
    return texts;
}

// Runs `open`, which shows a modal dialog and waits for it; meanwhile takes the dialog's texts
// and closes it with Escape, as an operator who declines.
std::vector<Shown> textsOfDialog(const std::function<void()> &open) {
    std::vector<Shown> texts;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || !dialog->isVisible())
            return;
        poll.stop();
        texts = textsOf(dialog);
        QTest::keyClick(dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog,
                        Qt::Key_Escape);
    });
    poll.start();
    open();
    EXPECT_FALSE(texts.empty()) << "no dialog was shown";
    return texts;
}

struct Screen {
    const char *name;
    std::function<std::vector<Shown>()> texts;
};

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
        EXPECT_EQ(ctrlInt(main, STATUSLED9), 0);
        EXPECT_EQ(ctrlInt(main, STATUSLED10), 0);
        EXPECT_EQ(ctrlText(main, SCANNTEXT), "");
        EXPECT_EQ(ctrlInt(main, FEHLERLED), 0);
        EXPECT_EQ(ctrlText(info, VERSION), "V 1.0");
        EXPECT_EQ(ctrlText(info, DATUM), "10/2010");
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
        EXPECT_EQ(ctrlInt(main, FEHLERLED), 1);
        EXPECT_EQ(ctrlInt(main, FEHLERNUMMER), 403012);
        EXPECT_EQ(VekCom_FehlermeldungSet(0), 1);
        EXPECT_EQ(ctrlText(main, FEHLERSTRING), "");
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
            EXPECT_EQ(ctrlText(info, VERSION), "V 1.0");
            EXPECT_EQ(ctrlText(info, DATUM), "10/2010");

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

TEST_F(ShellTest, FailedSaveIsShownBeforeTheEndAndInTheResult) {
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
    EXPECT_EQ(runProgram(), kExitSettingsNotSaved);
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

// A saved log is a text file of the system: its bytes are what a text stream writes for the
// log's lines (CR LF on Windows, where a file of bare LFs shows as one line in old editors).
TEST(LinkLogFile, LinesEndAsTheSystemsTextFiles) {
    linkLogStart();
    LinkLogSink sink = setLinkLogSink(nullptr);
    setLinkLogSink(sink);
    LinkExchange exchange;
    exchange.port = 9;
    exchange.sent = "#1IDR\r";
    exchange.received = "\x06#1IDR\r";
    exchange.end = LinkEnd::Complete;
    sink(exchange);
    sink(exchange);
    ScratchDir dir;
    const std::string saved = dir.file("log.txt");
    const std::string asText = dir.file("text.txt");
    ASSERT_EQ(linkLogSave(saved), "");
    const std::string text = linkLogText();
    std::ofstream(asText) << text;
    ASSERT_GT(std::count(text.begin(), text.end(), '\n'), 1) << "lines whose ends count";
    EXPECT_EQ(readFileBytes(saved), readFileBytes(asText));
    linkLogStop();
}

// Under the pseudo-language every screen, popup and dialog of the program is walked for its texts
// (titles, labels, buttons, ring items, menus, tooltips, accessible names and descriptions,
// shown values), and every word of them must have gone through the lookup. What may stay plain
// is data: names (the program's, the maker's), the version, port names, file and device names,
// the card's bytes, the names of internal limits.
TEST_F(ShellTest, UnderThePseudoLanguageEveryScreenShowsOnlyLookedUpTextsAndData) {
    setProgramLanguage(Language::Pseudo);
    std::vector<std::pair<std::string, std::vector<Shown>>> seen;
    whenRunning([&seen] {
        const int main = Mainpanel_GetMainpanel();
        const int info = mainpanelGetInfopanel();
        // What the panel shows after work: a failed operation in the error display, and one
        // exchange in the link log.
        Callback_Main_Buttons(main, STATUSABFRAGE, EVENT_COMMIT, nullptr, 0, 0);
        {
            SerialDouble card; // silent: the exchange ends in a time-out
            ScopedSerialBackend installed(card);
            char id[kTrz4IdBufferSize] = {};
            VEKTRZ4_IDLesen(9, '1', id);
        }
        const Screen screens[] = {
            {"the main panel with its menus", [&] { return textsOf(panelWidget(main)); }},
            {"the info panel", [&] { return textsOf(panelWidget(info)); }},
            {"an error popup", [] { return textsOfDialog([] { VEK_Fehlerpopup(-403012); }); }},
            {"an error popup with a title of the caller's",
             [] { return textsOfDialog([] { VEK_Fehlerpopup2(-802201, "Hinweis"); }); }},
            {"the warning before a card number changes",
             [] { return textsOfDialog([] { MainFunc_WarnungPopup('5'); }); }},
            {"the help about the COM port",
             [] { return textsOfDialog([] { MainFunc_ComhilfePopup(); }); }},
            {"the error display's internal error",
             [&] {
                 return textsOfDialog([&] {
                     // Sets are added until the table is full and one is refused.
                     while (VekCom_RegisterFehlerControls(main, FEHLERLED, FEHLERSTRING,
                                                          FEHLERNUMMER) == 0) {
                     }
                 });
             }},
            {"the COM-port manager's internal error",
             [&] {
                 return textsOfDialog([&] {
                     while (VekCom_RegisterAdressLeds(main, LED1) == 0) {
                     }
                 });
             }},
            {"the link log window",
             [&] {
                 menuItemAction(main, PROTOKOLL)->trigger();
                 return textsOf(linkLogWindow());
             }},
        };
        for (const Screen &screen : screens)
            seen.emplace_back(screen.name, screen.texts());
        QuitUserInterface(0);
    });
    ASSERT_EQ(runProgram(), 0);
    setProgramLanguage(Language::German);

    ASSERT_EQ(seen.size(), 9u);
    // The caller's title of the second popup is the caller's text, not the program's.
    const std::vector<std::string> data = {
        "trz4-Steuerung", kMakerName, kProgramVersion,  "COM",
        "<CR>",           "IDR",      "MAX_ADRESSLEDS", "Hinweis"};
    for (const auto &[screen, texts] : seen) {
        EXPECT_FALSE(texts.empty()) << screen;
        for (const Shown &shown : texts) {
            EXPECT_EQ(wordsBypassingTheLookup(shown.text, data), std::vector<std::string>{})
                << screen << ", " << shown.where << ": " << shown.text;
        }
    }
}

} // namespace
