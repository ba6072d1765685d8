// The program in-process with its real panels and the real serial layer, and the card
// simulator on a pseudo-terminal linked as COM 9 into a port map under a scratch
// XDG_CONFIG_HOME. The run's current directory is scratch too, so the settings file of the
// test never meets the user's.
#pragma once

#include "app/language.h"
#include "app/Funktionen.h"
#include "app/Mainpanel_Main.h"
#include "cardlink/Vek_Com.h"
#include "panel/testing/panel_testing.h"
#include "errors/VEK_errorV3.h"
#include "platform/comports.h"
#include "platform/registry.h"
#include "platform/testing/registry_testing.h"
#include "platform/tests/scratch_dir.h"
#include "tools/sim/trz4sim_engine.h"
#include "app/trz4SteuerungGui.h"
#include "ui/testing/ctrlvalues.h"
#include "ui/uiruntime.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPixmap>
#include <QWidget>
#include <QComboBox>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace e2e {

namespace fs = std::filesystem;

inline constexpr int kSimCom = 9;

// With TRZ4_SCAN_PICTURE naming a file, the scan test saves the main panel there after the
// scan (scripts/screenshot-demo runs it under a virtual X server for the documentation).
inline void savePanelPicture(int panel) {
    const char *file = std::getenv("TRZ4_SCAN_PICTURE");
    if (file == nullptr || *file == '\0')
        return;
    QWidget *window = panelWidget(panel);
    QApplication::processEvents();
    EXPECT_TRUE(window->grab().save(QString::fromLocal8Bit(file))) << file;
}

class E2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramLanguage(Language::German);
        for (const char *sub : {"config", "run", "dev", "sys"})
            fs::create_directory(base / sub);
        setenv("XDG_CONFIG_HOME", (base / "config").c_str(), 1);
        // Empty device and sysfs roots: only the port map lists ports, whatever this machine
        // has plugged in.
        setComPortRoots({(base / "dev").string(), (base / "sys").string(), ""});
        previous = fs::current_path();
        fs::current_path(base / "run");
        freshProcess();
    }

    void TearDown() override {
        stopProgram();
        sim.reset();
        freshProcess();
        setComPortRoots({});
        unsetenv("XDG_CONFIG_HOME");
        fs::current_path(previous);
    }

    // What a new process would start with.
    static void freshProcess() {
        vekComResetForTesting();
        vekResetFehlerControls();
        regResetForTesting();
        VEK_Fehleruserstring(nullptr);
    }

    void startSim(SimOptions options = {}) {
        options.com = kSimCom;
        sim = std::make_unique<CardSimulator>(options);
        ASSERT_EQ(sim->start(), 0);
    }

    // Start-up up to the shown panel, without the event loop: the test is the operator.
    void startProgram() {
        ASSERT_EQ(Func_PanelsInitialisieren(kProgramVersion, kProgramDate), 0);
        started = true;
        panel = Mainpanel_GetMainpanel();
        DisplayPanel(panel);
    }

    void stopProgram() {
        if (started)
            Func_PanelsFreigeben();
        started = false;
    }

    // The operator picks the ring item with `value` (int ring) and commits it.
    void pick(int control, int value) {
        auto *ring = qobject_cast<QComboBox *>(controlWidget(panel, control));
        ASSERT_NE(ring, nullptr);
        int index = -1;
        GetIndexFromValue(panel, control, &index, value);
        ASSERT_GE(index, 0) << "no item " << value;
        ring->setCurrentIndex(index);
        emit ring->activated(index);
    }
    void pickChar(int control, char value) {
        auto *ring = qobject_cast<QComboBox *>(controlWidget(panel, control));
        int index = -1;
        GetIndexFromValue(panel, control, &index, value);
        ASSERT_GE(index, 0) << "no item " << value;
        ring->setCurrentIndex(index);
        emit ring->activated(index);
    }

    void click(int control) {
        auto *button = qobject_cast<QAbstractButton *>(controlWidget(panel, control));
        ASSERT_NE(button, nullptr);
        button->click();
    }

    int intVal(int control) { return ui::testing::ctrlInt(panel, control); }
    std::string textVal(int control) { return ui::testing::ctrlText(panel, control); }
    // The note of a control shown as stale; empty while its value is current.
    std::string staleNote(int control) {
        std::string note = "<unset>";
        getCtrlStale(panel, control, &note);
        return note;
    }
    int ledColour(int control) {
        int colour = -1;
        GetCtrlAttribute(panel, control, ATTR_ON_COLOR, &colour);
        return colour;
    }

    ScratchDir scratch{"trz4-e2e-"};
    const fs::path base{scratch.path()};
    fs::path previous;
    std::unique_ptr<CardSimulator> sim;
    int panel = 0;
    bool started = false;
};

} // namespace e2e
