// Without a runtime (no QApplication) the program must end at once with -1, having shown,
// loaded, read and written nothing.
#include "app/trz4Steuerung_Main.h"
#include "app/trz4SteuerungGui.h"
#include "platform/tests/scratch_dir.h"
#include "ui/uiruntime.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(NoRuntime, MainEndsWithMinusOneAndTouchesNothing) {
    const auto previous = std::filesystem::current_path();
    const ScratchDir directory("trz4-noruntime-");
    std::filesystem::current_path(directory.path());
    char name[] = "trz4Steuerung";
    char *argv[] = {name, nullptr};
    EXPECT_EQ(trz4SteuerungMain(1, argv), -1);
    EXPECT_FALSE(std::filesystem::exists(directory.file("trz4Steuerung.ini")));
    EXPECT_EQ(loadedPanelCount(), 0);
    std::filesystem::current_path(previous);
}

TEST(NoRuntime, RuntimeCallsFailInsteadOfCrashing) {
    EXPECT_EQ(InitRuntimeEngine(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(LoadPanel(0, kTrz4GuiResource, MAINPANEL), kUiErrNoApplication);
    EXPECT_EQ(MessagePopup("Titel", "Text"), kUiErrNoApplication);
    EXPECT_EQ(RunUserInterface(), kUiErrNoApplication);
    EXPECT_EQ(SetCtrlVal(1, FEHLERLED, 1), kUiErrBadPanel);
}

} // namespace
