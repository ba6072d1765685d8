// Whole runs of the program from start-up to "Beenden", with the settings file in the run's
// current directory.
#include "app_e2e_fixture.h"

#include "app/trz4Steuerung_Main.h"
#include "inifile/inifile.h"
#include "ui/testing/popupdriver.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>
#include <pthread.h>
#include <thread>

using namespace e2e;

namespace {

constexpr const char *kIniFile = "trz4Steuerung.ini";

// Plays the operator of one run: once the main panel is shown and no popup is open, does
// `work` and chooses "Datei" -> "Beenden". Notes whether the main panel was visible while a
// popup was open before that.
class Operator {
public:
    explicit Operator(std::function<void(int panel)> work) : work(std::move(work)) {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] { poll(); });
        timer.start();
    }

    bool mainPanelShownDuringPopup = false;
    bool done = false;

private:
    void poll() {
        QWidget *mainWindow = panelWidget(Mainpanel_GetMainpanel());
        if (QApplication::activeModalWidget() != nullptr) {
            if (mainWindow && mainWindow->isVisible())
                mainPanelShownDuringPopup = true;
            return;
        }
        if (!mainWindow || !mainWindow->isVisible())
            return;
        timer.stop();
        int panel = Mainpanel_GetMainpanel();
        work(panel);
        done = true;
        menuItemAction(panel, BEENDEN)->trigger();
    }

    std::function<void(int)> work;
    QTimer timer;
};

int runProgram() {
    char name[] = "trz4Steuerung";
    char *argv[] = {name, nullptr};
    return trz4SteuerungMain(1, argv);
}

int iniValue(const char *key) {
    IniDocument *doc = Ini_New(1);
    int value = -1;
    if (Ini_ReadFromFile(doc, kIniFile) != 0 || Ini_GetInt(doc, "com", key, &value) != 1)
        value = -1;
    Ini_Dispose(doc);
    return value;
}

} // namespace

TEST_F(E2eTest, SettingsAreCreatedAtExitAndPickedUpByTheNextRun) {
    startSim();

    // First run: no settings file yet.
    ui::testing::PopupDriver driver;
    driver.pressEnter();
    Operator first([this](int shown) {
        panel = shown;
        EXPECT_EQ(intVal(COMPORT), 0);
        pick(COMPORT, kSimCom);
        click(KARTENNUMMERLESEN);
        EXPECT_EQ(textVal(KARTENNUMMERIST), "1");
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_TRUE(first.done);
    ASSERT_TRUE(driver.allAnswered());
    EXPECT_EQ(driver.seen(0).title, "Fehler #802201");
    EXPECT_EQ(driver.seen(0).text, "INI-Datei nicht gefunden");
    EXPECT_FALSE(first.mainPanelShownDuringPopup);
    EXPECT_EQ(iniValue("com"), kSimCom);
    EXPECT_EQ(iniValue("lcom"), kSimCom);
    EXPECT_EQ(iniValue("adresse"), 49);

    // Second run, as a new process: the stored port is chosen again, no popup.
    freshProcess();
    std::ofstream(kIniFile, std::ios::app) << "[hand]\nnotiz = 1\n";
    int chosen = -1;
    int ring = -1;
    Operator second([&](int shown) {
        panel = shown;
        chosen = VekCom_ComPortGet();
        ring = intVal(COMPORT);
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_TRUE(second.done);
    EXPECT_EQ(driver.answered(), 1);
    EXPECT_EQ(chosen, kSimCom);
    EXPECT_EQ(ring, kSimCom);
    EXPECT_EQ(iniValue("com"), kSimCom);
    std::ifstream in(kIniFile);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find("notiz"), std::string::npos) << text;
}

TEST_F(E2eTest, TerminationDuringACardExchangeLetsItFinishThenEndsTheRun) {
    startSim();
    std::ofstream(kIniFile) << "[com]\ncom = 9\nlcom = 0\nadresse = 49\n";
    ASSERT_EQ(watchTerminationRequests(), 0);
    // About half a second on the line: the signal comes while the exchange waits for bytes.
    sim->setByteDelay(0.03);
    const pthread_t uiThread = pthread_self();
    std::string shown;
    bool takenUpDuringExchange = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *mainWindow = panelWidget(Mainpanel_GetMainpanel());
        if (!userInterfaceRunning() || !mainWindow || !mainWindow->isVisible())
            return;
        poll.stop();
        panel = Mainpanel_GetMainpanel();
        std::thread sender([uiThread] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            pthread_kill(uiThread, SIGTERM);
        });
        click(KARTENNUMMERLESEN);
        shown = textVal(KARTENNUMMERIST);
        takenUpDuringExchange = terminationRequested();
        sender.join();
    });
    poll.start();
    EXPECT_EQ(runProgram(), 0);
    unwatchTerminationRequests();
    EXPECT_EQ(shown, "1") << "the interrupted exchange completes";
    // The window stays alive during the exchange, so the request is taken up at once; the
    // loop still ends only after the exchange's callback.
    EXPECT_TRUE(takenUpDuringExchange);
    int number = 0;
    EXPECT_EQ(GetCtrlVal(panel, FEHLERNUMMER, &number), kUiErrBadPanel)
        << "the panels are discarded";
    EXPECT_EQ(iniValue("com"), kSimCom);
    EXPECT_EQ(iniValue("lcom"), kSimCom);
}
