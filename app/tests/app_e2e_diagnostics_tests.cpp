// The link log's window and the COM-port ring that follows plugging, with the program
// in-process against the card simulator on a pseudo-terminal.
#include "app_e2e_fixture.h"

#include "app/linklogwindow.h"
#include "cardlink/vektrz4.h"
#include "ui/testing/eventwait.h"

#include <QAction>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QKeyEvent>
#include <QTextDocument>

#include <algorithm>

using namespace e2e;
using ui::testing::spinUntil;

namespace {

std::vector<std::string> ringLabels(int panel) {
    std::vector<std::string> labels;
    int count = 0;
    GetNumListItems(panel, COMPORT, &count);
    for (int i = 0; i < count; ++i) {
        std::string label;
        GetLabelFromIndex(panel, COMPORT, i, &label);
        labels.push_back(label);
    }
    return labels;
}

bool lists(int panel, const std::string &label) {
    const std::vector<std::string> labels = ringLabels(panel);
    return std::find(labels.begin(), labels.end(), label) != labels.end();
}

// With TRZ4_LOG_PICTURE naming a file, the log window is saved there (scripts/screenshot-demo).
void saveWindowPicture(QWidget *window) {
    const char *file = std::getenv("TRZ4_LOG_PICTURE");
    if (file == nullptr || *file == '\0')
        return;
    QApplication::processEvents();
    EXPECT_TRUE(window->grab().save(QString::fromLocal8Bit(file))) << file;
}

} // namespace

TEST_F(E2eTest, TheRingFollowsPluggingWithoutBeingOpenedAndKeepsTheChosenPort) {
    startProgram();
    EXPECT_EQ(ringLabels(panel), std::vector<std::string>{"nicht geöffnet"});

    // The simulator links itself into the port map: the ring lists it, nobody clicked it.
    startSim();
    ASSERT_TRUE(spinUntil([&] { return lists(panel, "COM 9"); })) << ringLabels(panel).size();
    pick(COMPORT, kSimCom);
    EXPECT_EQ(VekCom_ComPortGet(), kSimCom);

    // Pulled: the ring changes by itself, the chosen port stays.
    sim.reset();
    ASSERT_TRUE(spinUntil([&] { return !lists(panel, "COM 9"); }));
    EXPECT_EQ(VekCom_ComPortGet(), kSimCom);

    // Plugged in again: selected again, as the port the operator chose.
    startSim();
    ASSERT_TRUE(spinUntil([&] { return lists(panel, "COM 9"); }));
    EXPECT_EQ(intVal(COMPORT), kSimCom);
    EXPECT_EQ(VekCom_ComPortGet(), kSimCom);
    click(SCANN);
    EXPECT_EQ(textVal(ID), "VEK-TRZ4-SIM");
}

TEST_F(E2eTest, TheLogWindowShowsTheExchangesOfAScanAndCopiesAndSavesThem) {
    VEK_Fehlersprache(1);
    startSim();
    startProgram();
    pick(COMPORT, kSimCom);
    click(SCANN);
    click(STATUSABFRAGE);

    menuItemAction(panel, PROTOKOLL)->trigger();
    QWidget *window = linkLogWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle().toStdString(), "Schnittstellenprotokoll");
    auto *text = window->findChild<QPlainTextEdit *>("LINKLOG_TEXT");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->document()->blockCount(), 2) << "one block per exchange";
    const std::string shown = text->toPlainText().toStdString();
    EXPECT_NE(shown.find("COM 9  ->  #1IDR<CR>\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("COM 9  <-  <06>#1VEK-TRZ4-SIM<CR>  ACK\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("COM 9  ->  #1S1R<CR>\n"), std::string::npos) << shown;
    EXPECT_EQ(shown + "\n", linkLogText());

    // Newest at the bottom, also for exchanges made while the window is open.
    sim->setFault(SimFault::Nak);
    click(KARTENNUMMERLESEN);
    EXPECT_EQ(text->document()->blockCount(), 3);
    EXPECT_NE(text->document()->lastBlock().text().toStdString().find("NAK, Fehler #402022"),
              std::string::npos);
    saveWindowPicture(window);

    // "Kopieren" without a selection: everything.
    window->findChild<QPushButton *>("LINKLOG_COPY")->click();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), linkLogText());

    const fs::path saved = base / "run" / "log.txt";
    EXPECT_EQ(linkLogSave(saved.string()), "");
    EXPECT_EQ(readFileBytes(saved), linkLogText());
    EXPECT_NE(linkLogSave((base / "missing" / "log.txt").string()), "");

    // Escape closes it, wherever the focus is in it.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(text, &escape);
    EXPECT_FALSE(window->isVisible());

    // Closing the program closes the window and forgets the log.
    stopProgram();
    EXPECT_EQ(linkLogWindow(), nullptr);
    EXPECT_EQ(linkLogText(), "");
}

TEST_F(E2eTest, TheLogKeepsTheNewestThousandExchanges) {
    startSim();
    startProgram();
    pick(COMPORT, kSimCom);
    menuItemAction(panel, PROTOKOLL)->trigger();
    auto *text = linkLogWindow()->findChild<QPlainTextEdit *>("LINKLOG_TEXT");
    VekCom_Open(kSimCom);
    for (int i = 0; i < 1005; ++i)
        VEKTRZ4_IDLesen(kSimCom, '1', nullptr);
    VekCom_Close();
    EXPECT_EQ(text->document()->blockCount(), 1000);
    std::string all = linkLogText();
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 2000);
}
