// The process on Windows: the termination watch over console control events and a socket pair,
// the per-user directories below the roaming application data, and the process helpers.

#include <winsock2.h>

#include <windows.h>

#include "platform/process.h"
#include "platform/termination.h"
#include "platform/tests/scratch_dir.h"
#include "platform/userdirs.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// Whether the notifier has data within the time (milliseconds), as Qt's notifier would see.
bool readable(std::intptr_t notifier, long milliseconds = 0) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(static_cast<SOCKET>(notifier), &set);
    timeval wait{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &wait) == 1;
}

class TerminationWatch : public ::testing::Test {
protected:
    void TearDown() override { stopTerminationWatch(); }
};

} // namespace

TEST_F(TerminationWatch, ArmsAReadableNotifierAndStopsAgain) {
    EXPECT_EQ(terminationNotifier(), -1);
    EXPECT_EQ(takeTerminationRequests(), 0);
    ASSERT_EQ(startTerminationWatch(), 0);
    const std::intptr_t notifier = terminationNotifier();
    ASSERT_NE(notifier, -1);
    EXPECT_FALSE(readable(notifier));
    EXPECT_EQ(takeTerminationRequests(), 0);
    EXPECT_EQ(startTerminationWatch(), 0);
    EXPECT_EQ(terminationNotifier(), notifier) << "arming again changes nothing";
    stopTerminationWatch();
    EXPECT_EQ(terminationNotifier(), -1);
    EXPECT_EQ(takeTerminationRequests(), 0);
    ASSERT_EQ(startTerminationWatch(), 0) << "and it can be armed again";
    EXPECT_NE(terminationNotifier(), -1);
}

// A console Ctrl-C from outside: scripts/test runs this case alone with
// TRZ4_TEST_AWAIT_CTRL_C set, waits for "armed" and sends the Wine process SIGINT, which Wine
// delivers as CTRL_C_EVENT.
TEST_F(TerminationWatch, ACtrlCFromTheConsoleBecomesAPendingRequestAndTheProcessLivesOn) {
    if (!std::getenv("TRZ4_TEST_AWAIT_CTRL_C"))
        GTEST_SKIP() << "needs a Ctrl-C from outside (TRZ4_TEST_AWAIT_CTRL_C)";
    ASSERT_EQ(startTerminationWatch(), 0);
    std::printf("armed\n");
    std::fflush(stdout);
    ASSERT_TRUE(readable(terminationNotifier(), 20000));
    EXPECT_GE(takeTerminationRequests(), 1);
    EXPECT_FALSE(readable(terminationNotifier()));
}

TEST(UserDirs, ConfigDirectoryIsBelowTheRoamingApplicationData) {
    const std::string directory = userConfigDirectory();
    const char *appData = std::getenv("APPDATA");
    ASSERT_NE(appData, nullptr);
    EXPECT_EQ(directory, std::string(appData) + "\\trz4steuerung");
}

TEST(UserDirs, CreatesMissingLevelsAndRefusesAFileInTheWay) {
    const ScratchDir scratch("userdirs_");
    const fs::path root = scratch.path();
    const fs::path dir = root / "a" / "b" / "trz4steuerung";
    EXPECT_EQ(createPrivateDirectories(dir.string()), 0);
    EXPECT_TRUE(fs::is_directory(dir));
    EXPECT_EQ(createPrivateDirectories(dir.string() + "\\"), 0) << "everything exists";
    EXPECT_EQ(createPrivateDirectories((root / "c/d").string()), 0) << "forward slashes too";
    EXPECT_TRUE(fs::is_directory(root / "c" / "d"));
    std::ofstream(root / "file") << "x";
    EXPECT_EQ(createPrivateDirectories((root / "file").string()), -ENOTDIR);
    EXPECT_EQ(createPrivateDirectories((root / "file" / "sub").string()), -ENOTDIR);
    EXPECT_EQ(createPrivateDirectories(""), -ENOENT);
}

TEST(ProcessHelpers, LocalTimeFromTheSystem) {
    std::tm local{};
    ASSERT_TRUE(localTime(86400 * 365, &local));
    EXPECT_EQ(local.tm_year, 71);
}

TEST(ProcessHelpers, ArgumentsDisplayAndMemory) {
    // The test program's own command line: its arguments after the program's name.
    const std::vector<std::string> arguments = programArguments(0, nullptr);
    for (const std::string &argument : arguments)
        EXPECT_EQ(argument.find('\0'), std::string::npos);
    EXPECT_TRUE(graphicalDisplayAvailable());
    EXPECT_GT(residentKilobytes(), 0);
    useUtf8Console();
    useUtf8Console();
}
