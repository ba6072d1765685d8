// Writing files where POSIX has its own rules: permission bits, symbolic links, another
// process that holds a temporary file or dies while writing, an unwritable directory for an
// ordinary user, and the injected write failures.

#include "inifile/inifile.h"
#include "inifile/ini_model.h"
#include "inifile/tests/ini_test_support.h"
#include "inifile/tests/write_fixture.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace ini_test;

TEST_F(FileWriting, ReplacingKeepsThePermissionBits) {
    const std::string path = dir.file("trz4Steuerung.ini");
    writeFileContents(path, "old");
    ::chmod(path.c_str(), 0600);
    Doc doc = settingsDocument(9);
    ASSERT_EQ(Ini_WriteToFile(doc.get(), path.c_str()), 0);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(FileWriting, EveryInjectedWriteFailureLeavesTheOldFile) {
    struct Case {
        int error;
        long afterBytes;
        int expected;
    };
    const Case cases[] = {
        {ENOSPC, 0, kIniDiskFull}, // fails at the flush
        {EIO, 20000, kIniIoError}, // fails in the middle of the text
        {EACCES, 30000, kIniAccessDenied},
        {ENOMEM, 5, kIniOutOfMemory},
    };
    const std::string path = dir.file("x.ini");
    Doc big = largeDocument();
    for (const Case &c : cases) {
        writeFileContents(path, "[old]\r\nvalue = 1\r\n");
        setFileFaultForTesting(FileFault::Write, c.error, c.afterBytes);
        EXPECT_EQ(Ini_WriteToFile(big.get(), path.c_str()), c.expected) << c.error;
        setFileFaultForTesting(FileFault::None, 0);
        EXPECT_EQ(readFileBytes(path), "[old]\r\nvalue = 1\r\n");
        EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"x.ini"});
    }
}

TEST_F(FileWriting, ALoopOfLinksCannotBeWritten) {
    int writable = -1;
    const std::string loop = dir.file("loop");
    ASSERT_EQ(::symlink(loop.c_str(), loop.c_str()), 0);
    EXPECT_EQ(GetFileWritability(loop.c_str(), &writable), kIniPathNotReportable);
    Doc doc = settingsDocument(3);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), loop.c_str()), kIniPathNotReportable);
}

TEST_F(FileWriting, TakenTemporaryNamesAreSkipped) {
    const std::string path = dir.file("x.ini");
    // ini$$0.TMP belongs to a writer that is still at work: it holds the file.
    FILE *live = liveWriter("ini$$0.TMP", "someone else's");
    ASSERT_NE(live, nullptr);
    // A planted link is neither followed nor removed.
    ASSERT_EQ(::symlink(dir.file("victim").c_str(), dir.file("ini$$1.TMP").c_str()), 0);
    EXPECT_EQ(nextTemporaryName(path), dir.file("ini$$2.TMP"));
    EXPECT_FALSE(fileExists(dir.file("victim")));

    Doc doc = settingsDocument(3);
    ASSERT_EQ(Ini_WriteToFile(doc.get(), path.c_str()), 0);
    EXPECT_EQ(readFileBytes(dir.file("ini$$0.TMP")), "someone else's");
    EXPECT_FALSE(fileExists(dir.file("victim")));
    EXPECT_EQ(directoryEntries(dir.path()),
              (std::vector<std::string>{"ini$$0.TMP", "ini$$1.TMP", "x.ini"}));
    std::fclose(live);
}

TEST_F(FileWriting, TemporaryNameInUseAndFailingWriteLeavesNothing) {
    // ini$$0.TMP is held by a live writer, so ini$$1.TMP is used, and removed again when the
    // write fails.
    const std::string path = dir.file("x.ini");
    writeFileContents(path, "old contents");
    FILE *live = liveWriter("ini$$0.TMP", "");
    ASSERT_NE(live, nullptr);
    setFileFaultForTesting(FileFault::Write, ENOSPC, 0);
    Doc doc = settingsDocument(3);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), path.c_str()), kIniDiskFull);
    EXPECT_EQ(readFileBytes(path), "old contents");
    EXPECT_EQ(directoryEntries(dir.path()), (std::vector<std::string>{"ini$$0.TMP", "x.ini"}));
    std::fclose(live);
}

TEST_F(FileWriting, LiveWriterInAnotherProcessKeepsItsFile) {
    const std::string held = dir.file("ini$$0.TMP");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FILE *stream = openNewFileHeld(held.c_str(), "wb");
        (void)!::write(ready[1], stream ? "h" : "f", 1);
        for (;;) {
            ::pause();
        }
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_EQ(byte, 'h');
    Doc doc = settingsDocument(3);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), dir.file("x.ini").c_str()), 0);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), dir.file("x.ini").c_str()), 0);
    EXPECT_TRUE(fileExists(held));
    // Once the writer is dead its file is a leftover.
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), dir.file("x.ini").c_str()), 0);
    EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"x.ini"});
}

TEST_F(FileWriting, FileTakenAwayBeforeItsHoldIsNotUsed) {
    // In the moment between a writer's create and its hold, a cleaner finds the fresh file
    // unheld and removes it, and another writer creates its own file under the name. The
    // first writer must notice and move on, leaving the other writer's file alone.
    auto cleanerAndOtherWriter = [](const char *path, void *data) {
        auto *calls = static_cast<int *>(data);
        if ((*calls)++ == 0) {
            EXPECT_EQ(removeUnheldFile(path), 1);
            writeFileContents(path, "other writer");
        }
    };
    int calls = 0;
    setBeforeHoldHookForTesting(cleanerAndOtherWriter, &calls);
    Doc doc = settingsDocument(3);
    const int result = Ini_WriteToFile(doc.get(), dir.file("x.ini").c_str());
    setBeforeHoldHookForTesting(nullptr, nullptr);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(readFileBytes(dir.file("ini$$0.TMP")), "other writer");
    EXPECT_EQ(readFileBytes(dir.file("x.ini")), golden("settings.ini"));
}

TEST_F(FileWriting, WritesThroughSymbolicLinks) {
    // A chain of links with relative targets: link.ini -> sub/mid.ini -> ../real/settings.ini.
    ASSERT_EQ(::mkdir(dir.file("sub").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(dir.file("real").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("sub/mid.ini", dir.file("link.ini").c_str()), 0);
    ASSERT_EQ(::symlink("../real/settings.ini", dir.file("sub/mid.ini").c_str()), 0);
    const std::string real = dir.file("real/settings.ini");
    writeFileContents(real, "old");
    ::chmod(real.c_str(), 0600);
    std::string temporary;
    setBeforeHoldHookForTesting(
        [](const char *path, void *data) { *static_cast<std::string *>(data) = path; }, &temporary);
    Doc doc = settingsDocument(3);
    const int result = Ini_WriteToFile(doc.get(), dir.file("link.ini").c_str());
    setBeforeHoldHookForTesting(nullptr, nullptr);
    ASSERT_EQ(result, 0);
    EXPECT_EQ(temporary, dir.file("sub/../real/ini$$0.TMP"));
    EXPECT_EQ(readFileBytes(real), golden("settings.ini"));
    struct stat info {};
    ASSERT_EQ(::lstat(dir.file("link.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::lstat(dir.file("sub/mid.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(directoryEntries(dir.file("real")), std::vector<std::string>{"settings.ini"});

    // A dangling link gets its target created; the link stays.
    ASSERT_EQ(::symlink("created.ini", dir.file("dangling.ini").c_str()), 0);
    ASSERT_EQ(Ini_WriteToFile(doc.get(), dir.file("dangling.ini").c_str()), 0);
    EXPECT_EQ(readFileBytes(dir.file("created.ini")), golden("settings.ini"));
    ASSERT_EQ(::lstat(dir.file("dangling.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));

    // Only a file is replaced: a link to a FIFO is refused without opening it.
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("fifo", dir.file("tofifo.ini").c_str()), 0);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), dir.file("tofifo.ini").c_str()), kIniAccessDenied);
    ASSERT_EQ(::lstat(dir.file("fifo").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

namespace {

// Ini_WriteToFile's result for the settings document written to path by an ordinary user:
// permission bits do not stop root, so the write runs in a child that gives up root. Results
// down to -255 come back whole.
int writeAsOrdinaryUser(const std::string &path) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(100);
        }
        Doc doc = settingsDocument(3);
        ::_exit(-Ini_WriteToFile(doc.get(), path.c_str()) & 0xff);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return 1;
    }
    return -WEXITSTATUS(status);
}

// A folder of about `length` bytes (one more at most) in a new folder base, made of names of
// at most 200 bytes.
std::string folderOfLength(const std::string &base, size_t length) {
    std::string path = base;
    ::mkdir(path.c_str(), 0755);
    while (path.size() < length) {
        path += "/" + std::string(std::clamp<size_t>(length - path.size() - 1, 1, 200), 'd');
        ::mkdir(path.c_str(), 0755);
    }
    return path;
}

} // namespace

TEST_F(FileWriting, UnwritableDirectoryGivesAccessDenied) {
    const std::string locked = dir.file("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0555), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    EXPECT_EQ(writeAsOrdinaryUser(locked + "/x.ini"), kIniAccessDenied);
    EXPECT_TRUE(directoryEntries(locked).empty());
}

TEST_F(FileWriting, LeftoversGoAlsoFromAFolderThatCannotBeListed) {
    // A folder that may be written but not read: the leftover is found under its name.
    const std::string blind = dir.file("blind");
    ASSERT_EQ(::mkdir(blind.c_str(), 0755), 0);
    writeFileContents(blind + "/ini$$0.TMP", "torn");
    ASSERT_EQ(::chmod(blind.c_str(), 0333), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    EXPECT_EQ(writeAsOrdinaryUser(blind + "/x.ini"), 0);
    ASSERT_EQ(::chmod(blind.c_str(), 0755), 0);
    EXPECT_EQ(directoryEntries(blind), std::vector<std::string>{"x.ini"});
}

TEST_F(FileWriting, SavesInAFolderOfAnyLengthTheSystemTakes) {
    Doc doc = settingsDocument(3);
    for (const size_t length : {300, 1000, 4000}) {
        const std::string folder = folderOfLength(dir.file(std::to_string(length)), length);
        const std::string path = folder + "/trz4Steuerung.ini";
        SCOPED_TRACE(path.size());
        writeFileContents(path, "old");
        EXPECT_EQ(Ini_WriteToFile(doc.get(), path.c_str()), 0);
        EXPECT_EQ(readFileBytes(path), golden("settings.ini"));
        EXPECT_EQ(directoryEntries(folder), std::vector<std::string>{"trz4Steuerung.ini"});
    }
    // The file's name fits what the system takes, the temporary one does not: the failure
    // gives that reason.
    const std::string folder = folderOfLength(dir.file("limit"), 4088);
    errno = 0;
    EXPECT_EQ(Ini_WriteToFile(doc.get(), (folder + "/x").c_str()), kIniCouldNotCreateTempFile);
    EXPECT_EQ(errno, ENAMETOOLONG);
    EXPECT_TRUE(directoryEntries(folder).empty());
}

TEST(IniCrashSafety, KilledWriterLeavesOldOrNewFile) {
    killWritersAtRandomMoments(200, [](const std::string &path, int round) {
        const Doc documents[2] = {crashDocument(true), crashDocument(false)};
        int ready[2];
        std::function<void()> kill;
        if (::pipe(ready) != 0)
            return kill;
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(ready[0]);
            (void)!::write(ready[1], "r", 1);
            for (int n = 0;; ++n) {
                Ini_WriteToFile(documents[(n + round) % 2].get(), path.c_str());
            }
        }
        ::close(ready[1]);
        char byte = 0;
        (void)!::read(ready[0], &byte, 1);
        ::close(ready[0]);
        if (child > 0) {
            kill = [child] {
                ::kill(child, SIGKILL);
                ::waitpid(child, nullptr, 0);
            };
        }
        return kill;
    });
}
