// Operations from the main panel against the simulated card through a real pseudo-terminal.
#include "app_e2e_fixture.h"

#include "ui/testing/paintclock.h"
#include "ui/testing/popupdriver.h"

#include <QComboBox>
#include <QTimer>

#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace e2e;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

TEST_F(E2eTest, ScanFindsTheCardOnTheMappedPort) {
    startSim();
    startProgram();
    auto *ring = qobject_cast<QComboBox *>(controlWidget(panel, COMPORT));
    int index = -1;
    GetIndexFromValue(panel, COMPORT, &index, kSimCom);
    ASSERT_GE(index, 1);
    EXPECT_EQ(ring->itemText(index).toStdString(), "COM 9");
    EXPECT_EQ(ring->itemData(index, Qt::ToolTipRole).toString().toStdString(), sim->devicePath());

    pick(COMPORT, kSimCom);
    click(SCANN);
    EXPECT_EQ(intVal(LED1), 1);
    EXPECT_EQ(ledColour(LED1), 0x00FF00);
    EXPECT_EQ(textVal(ID), "VEK-TRZ4-SIM");
    EXPECT_EQ(textVal(SCANNTEXT), "");
    EXPECT_EQ(intVal(FEHLERLED), 0);
    EXPECT_EQ(VekCom_LastComPortGet(), kSimCom);
    savePanelPicture(panel);
}

TEST_F(E2eTest, ScanShowsAForeignDeviceRedAndSilenceOff) {
    SimOptions options;
    SimCard foreign;
    foreign.foreign = true;
    foreign.id = "ACME-PUMPE-3";
    options.cards.push_back(foreign);
    startSim(options);
    startProgram();
    pick(COMPORT, kSimCom);
    click(SCANN);
    EXPECT_EQ(intVal(LED1), 1);
    EXPECT_EQ(ledColour(LED1), 0xFF0000);
    EXPECT_EQ(textVal(ID), "");

    // Nothing answers: one port time-out, then the LED goes off and the scan still succeeds.
    sim->setFault(SimFault::Silence);
    auto start = std::chrono::steady_clock::now();
    click(SCANN);
    double took = secondsSince(start);
    EXPECT_EQ(intVal(LED1), 0);
    EXPECT_EQ(intVal(FEHLERLED), 0);
    EXPECT_GT(took, 0.8);
    EXPECT_LT(took, 3.0);
}

TEST_F(E2eTest, IdentificationStatusAndCardNumberRead) {
    SimOptions options;
    SimCard card;
    card.id = "VEK-TRZ4-V2.1";
    card.cardNumber = '7';
    card.status = 0x300;
    options.cards.push_back(card);
    startSim(options);
    startProgram();
    pick(COMPORT, kSimCom);

    click(IDLESEN);
    EXPECT_EQ(textVal(ID), "VEK-TRZ4-V2.1");
    click(STATUSABFRAGE);
    EXPECT_EQ(intVal(STATUSLED9), 1);
    EXPECT_EQ(intVal(STATUSLED10), 1);
    sim->setStatus('1', 0x200);
    click(STATUSABFRAGE);
    EXPECT_EQ(intVal(STATUSLED9), 0);
    EXPECT_EQ(intVal(STATUSLED10), 1);
    click(KARTENNUMMERLESEN);
    EXPECT_EQ(textVal(KARTENNUMMERIST), "7");
    EXPECT_EQ(intVal(FEHLERLED), 0);
    EXPECT_EQ(intVal(COMAKTIVLED), 0);
}

TEST_F(E2eTest, WriteConfirmedByEnterAndDeclinedByEscape) {
    startSim();
    startProgram();
    pick(COMPORT, kSimCom);
    ui::testing::PopupDriver driver;
    driver.pressEnter();
    driver.pressEscape();

    pickChar(KARTENNUMMERSOLL, 'c');
    click(KARTENNUMMERSCHREIBEN);
    EXPECT_EQ(sim->cardNumber('1'), 'c');
    EXPECT_EQ(textVal(KARTENNUMMERIST), "c");

    size_t frames = sim->frames().size();
    pickChar(KARTENNUMMERSOLL, 'd');
    click(KARTENNUMMERSCHREIBEN);
    EXPECT_TRUE(driver.allAnswered());
    EXPECT_EQ(sim->frames().size(), frames);
    EXPECT_EQ(sim->cardNumber('1'), 'c');
    EXPECT_EQ(driver.seen(1).buttons.at(0), "Karte jetzt auf Nr. d umstellen");
}

TEST_F(E2eTest, SimulatorGoneDuringAnOperationIsReportedAndTheProgramGoesOn) {
    startSim();
    startProgram();
    pick(COMPORT, kSimCom);
    click(SCANN);
    ASSERT_EQ(textVal(ID), "VEK-TRZ4-SIM");
    // The line dies right after the handshake of the next answer.
    sim->vanishAfter(1);
    auto start = std::chrono::steady_clock::now();
    click(STATUSABFRAGE);
    EXPECT_LT(secondsSince(start), 1.5);
    EXPECT_EQ(intVal(FEHLERLED), 1);
    EXPECT_NE(intVal(FEHLERNUMMER), 0);
    EXPECT_EQ(intVal(COMAKTIVLED), 0);
    // What the card told before is kept for the operator, greyed as no longer vouched for.
    EXPECT_EQ(textVal(ID), "VEK-TRZ4-SIM");
    EXPECT_EQ(intVal(LED1), 1);
    EXPECT_NE(staleNote(ID), "");
    EXPECT_NE(staleNote(LED1), "");

    // The card comes back on the same COM number: the next operation works again; the
    // identification waits for an answer that shows it.
    sim.reset();
    startSim();
    click(KARTENNUMMERLESEN);
    EXPECT_EQ(intVal(FEHLERLED), 0);
    EXPECT_EQ(textVal(KARTENNUMMERIST), "1");
    EXPECT_EQ(staleNote(KARTENNUMMERIST), "");
    EXPECT_NE(staleNote(ID), "");
    click(IDLESEN);
    EXPECT_EQ(staleNote(ID), "");
}

TEST_F(E2eTest, SilentCardTimeOutKeepsTheWindowPaintingAndDropsTheClicksMeanwhile) {
    SimOptions options;
    options.fault = SimFault::Silence;
    startSim(options);
    startProgram();
    pick(COMPORT, kSimCom);
    QWidget *window = panelWidget(panel);
    auto *button = qobject_cast<QAbstractButton *>(controlWidget(panel, STATUSABFRAGE));
    QApplication::processEvents();

    ui::testing::PaintClock paints(window);
    QTimer asker; // as the window manager does when another window moves across
    asker.setInterval(5);
    QObject::connect(&asker, &QTimer::timeout, window, [window] { window->update(); });
    asker.start();
    QTimer::singleShot(200, [button] {
        for (int i = 0; i < 2; ++i)
            ui::testing::postClick(button);
    });
    auto start = std::chrono::steady_clock::now();
    click(STATUSABFRAGE);
    auto end = std::chrono::steady_clock::now();
    QApplication::processEvents();
    asker.stop();

    EXPECT_GT(secondsSince(start), 0.8);
    EXPECT_LT(paints.longestGapMs(start, end), 50.0);
    EXPECT_EQ(sim->frames().size(), 1u) << "the clicks meanwhile ran no exchange";
    EXPECT_EQ(intVal(FEHLERNUMMER), 403160);
}

TEST_F(E2eTest, PortHeldByAnotherProgramTellsWhy) {
    startSim();
    startProgram();
    pick(COMPORT, kSimCom);
    // Another program holds the device.
    int other = ::open(sim->devicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    click(IDLESEN);
    ::close(other);
    EXPECT_EQ(intVal(FEHLERNUMMER), 122304);
    EXPECT_NE(textVal(FEHLERSTRING).find("ist belegt"), std::string::npos) << textVal(FEHLERSTRING);
    EXPECT_EQ(intVal(COMPORT), kSimCom) << "the ring shows where the next try goes";
    EXPECT_EQ(VekCom_ComPortGet(), kSimCom);
    // Free again: the same choice works.
    click(IDLESEN);
    EXPECT_EQ(textVal(ID), "VEK-TRZ4-SIM");
}
