// The termination watch (signals turned into pending requests on a descriptor) and the
// per-user directories.
#include "platform/termination.h"
#include "platform/tests/scratch_dir.h"
#include "platform/userdirs.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

bool readable(std::intptr_t fd) {
    pollfd pfd{static_cast<int>(fd), POLLIN, 0};
    return ::poll(&pfd, 1, 0) == 1 && (pfd.revents & POLLIN);
}

void (*disposition(int signal))(int) {
    struct sigaction current {};
    ::sigaction(signal, nullptr, &current);
    return current.sa_handler;
}

class TerminationWatch : public ::testing::Test {
protected:
    void TearDown() override {
        stopTerminationWatch();
        std::signal(SIGHUP, SIG_DFL);
    }
};

TEST_F(TerminationWatch, EachSignalBecomesAPendingRequestAndTheProcessLivesOn) {
    EXPECT_EQ(terminationNotifier(), -1);
    EXPECT_EQ(takeTerminationRequests(), 0);
    ASSERT_EQ(startTerminationWatch(), 0);
    const std::intptr_t notifier = terminationNotifier();
    ASSERT_GE(notifier, 0);
    EXPECT_FALSE(readable(notifier));
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        errno = 4711;
        ASSERT_EQ(std::raise(signal), 0);
        EXPECT_EQ(errno, 4711) << "the handler leaves errno alone";
        EXPECT_TRUE(readable(notifier));
        EXPECT_EQ(takeTerminationRequests(), 1);
        EXPECT_FALSE(readable(notifier));
        EXPECT_EQ(takeTerminationRequests(), 0);
    }
    // A burst (a second and third Ctrl-C) is pending as a whole; arming again changes nothing.
    std::raise(SIGINT);
    std::raise(SIGINT);
    std::raise(SIGTERM);
    EXPECT_EQ(startTerminationWatch(), 0);
    EXPECT_EQ(terminationNotifier(), notifier);
    EXPECT_EQ(takeTerminationRequests(), 3);
}

TEST_F(TerminationWatch, AnIgnoredSignalStaysIgnoredAndStopRestoresTheRest) {
    std::signal(SIGHUP, SIG_IGN);
    ASSERT_EQ(disposition(SIGTERM), SIG_DFL);
    ASSERT_EQ(startTerminationWatch(), 0);
    EXPECT_EQ(disposition(SIGHUP), SIG_IGN);
    EXPECT_NE(disposition(SIGTERM), SIG_DFL);
    std::raise(SIGHUP);
    EXPECT_EQ(takeTerminationRequests(), 0);

    stopTerminationWatch();
    EXPECT_EQ(disposition(SIGTERM), SIG_DFL);
    EXPECT_EQ(disposition(SIGINT), SIG_DFL);
    EXPECT_EQ(disposition(SIGHUP), SIG_IGN);
    EXPECT_EQ(terminationNotifier(), -1);
    EXPECT_EQ(takeTerminationRequests(), 0);
}

class UserDirs : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char *name : {"HOME", "XDG_CONFIG_HOME"}) {
            const char *value = std::getenv(name);
            saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        setenv("HOME", (root / "home").c_str(), 1);
    }
    void TearDown() override {
        for (const auto &[name, value] : saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

    ScratchDir scratch{"trz4-userdirs-"};
    const fs::path root{scratch.path()};
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

TEST_F(UserDirs, ConfigDirectoryFollowsTheBaseDirectoryRules) {
    const std::string fallback = (root / "home/.config/trz4steuerung").string();
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(userConfigDirectory(), fallback);
    setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(userConfigDirectory(), fallback);
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(userConfigDirectory(), fallback) << "a relative base is invalid";
    setenv("XDG_CONFIG_HOME", (root / "cfg/").c_str(), 1);
    EXPECT_EQ(userConfigDirectory(), (root / "cfg/trz4steuerung").string());
}

TEST_F(UserDirs, CreatesMissingLevelsPrivatelyAndRefusesAFileInTheWay) {
    const fs::path dir = root / "a/b/trz4steuerung";
    EXPECT_EQ(createPrivateDirectories(dir.string()), 0);
    EXPECT_TRUE(fs::is_directory(dir));
    struct stat st {};
    ASSERT_EQ(stat(dir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(createPrivateDirectories(dir.string() + "/"), 0) << "everything exists";

    std::ofstream(root / "file") << "x";
    EXPECT_EQ(createPrivateDirectories((root / "file").string()), -ENOTDIR);
    EXPECT_EQ(createPrivateDirectories((root / "file/sub").string()), -ENOTDIR);
    EXPECT_EQ(createPrivateDirectories(""), -ENOENT);
}

} // namespace
