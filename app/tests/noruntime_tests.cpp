// Without a runtime (no QApplication) the program must end at once with -1, having shown,
// loaded, read and written nothing.
#include "app/trz4Steuerung_Main.h"
#include "app/trz4SteuerungGui.h"
#include "ui/uiruntime.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(NoRuntime, MainEndsWithMinusOneAndTouchesNothing) {
    const auto previous = std::filesystem::current_path();
    const auto directory = std::filesystem::temp_directory_path() / "trz4_noruntime_test";
    std::filesystem::create_directories(directory);
    std::filesystem::current_path(directory);
    char name[] = "trz4Steuerung";
    char *argv[] = {name, nullptr};
    EXPECT_EQ(trz4SteuerungMain(1, argv), -1);
    EXPECT_FALSE(std::filesystem::exists(directory / "trz4Steuerung.ini"));
    EXPECT_EQ(loadedPanelCount(), 0);
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(directory);
}

TEST(NoRuntime, RuntimeCallsFailInsteadOfCrashing) {
    EXPECT_EQ(InitRuntimeEngine(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(LoadPanel(0, kTrz4GuiResource, MAINPANEL), kUiErrNoApplication);
    EXPECT_EQ(MessagePopup("Titel", "Text"), kUiErrNoApplication);
    EXPECT_EQ(RunUserInterface(), kUiErrNoApplication);
    EXPECT_EQ(SetCtrlVal(1, FEHLERLED, 1), kUiErrBadPanel);
}

} // namespace
