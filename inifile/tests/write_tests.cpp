// Writing: the text form (golden files), pieces of long values, round trips of random
// documents, and the safe replacement of the file under every failure we can provoke.

#include "inifile/inifile.h"
#include "inifile/ini_model.h"
#include "inifile/tests/ini_test_support.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace ini_test;

namespace {

struct DocDeleter {
    void operator()(IniDocument *doc) const { Ini_Dispose(doc); }
};
using Doc = std::unique_ptr<IniDocument, DocDeleter>;

std::string golden(const std::string &name) {
    return fileContents(std::string(TRZ4_INI_GOLDEN_DIR) + "/" + name);
}

Doc settingsDocument(int com) {
    Doc doc(Ini_New(1));
    Ini_PutInt(doc.get(), "com", "com", com);
    Ini_PutInt(doc.get(), "com", "lcom", 3);
    Ini_PutInt(doc.get(), "com", "adresse", 1);
    return doc;
}

class FileWriting : public ::testing::Test {
protected:
    void TearDown() override {
        setFileFaultForTesting(FileFault::None, 0);
        setBeforeHoldHookForTesting(nullptr, nullptr);
        tbFailAllocationsAfter(-1);
    }
    TempDir dir;
};

// Random text from an alphabet that a value can hold (no line ends, no zero byte).
std::string randomText(std::mt19937 &random, size_t length, bool withBlanks) {
    static const std::string letters = "abcXYZ019_-.,;:#[]\"\\/=$%&()'";
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        if (withBlanks && random() % 6 == 0) {
            text += ' ';
        } else {
            text += letters[random() % letters.size()];
        }
    }
    return text;
}

std::string randomName(std::mt19937 &random) {
    static const std::string letters = "abcdefghijKLMNOP0123456789_.";
    std::string name(1, letters[random() % 16]);
    const size_t length = random() % 12;
    for (size_t i = 0; i < length; ++i) {
        name += letters[random() % letters.size()];
    }
    return name;
}

} // namespace

TEST(IniWriteText, SettingsFileMatchesGolden) {
    Doc doc = settingsDocument(3);
    EXPECT_EQ(writeString(doc.get()), golden("settings.ini"));
    Doc empty(Ini_New(1));
    EXPECT_EQ(writeString(empty.get()), "");
}

TEST(IniWriteText, PiecesAndQuotesMatchGolden) {
    Doc doc(Ini_New(0));
    Ini_PutRawString(doc.get(), "long", "v81", std::string(80, 'a').append("b").c_str());
    Ini_PutRawString(doc.get(), "long", "v80", std::string(80, 'c').c_str());
    Ini_PutRawString(doc.get(), "long", "v161", std::string(161, 'd').c_str());
    Ini_PutRawString(doc.get(), "long", "empty", "");
    Ini_PutInt(doc.get(), "plain", "n", -7);
    EXPECT_EQ(writeString(doc.get()), golden("pieces.ini"));
    // Read back: one item per value again.
    Doc back(Ini_New(0));
    ASSERT_EQ(readString(back.get(), golden("pieces.ini")), 0);
    EXPECT_EQ(snapshot(back.get()), snapshot(doc.get())) << describe(snapshot(back.get()));
}

TEST(IniWriteText, UnquotedPiecesReadBackWhole) {
    // A long unquoted value (read from a file) keeps its blanks and its double quotes: no piece
    // begins or ends with a blank, since the reader trims every piece, and none, the last one
    // included, both begins and ends with a double quote, which the reader would strip.
    std::string words;
    for (int i = 0; i < 30; ++i) {
        words += "word" + std::to_string(i) + " ";
    }
    for (const std::string &value :
         {words.substr(0, 240), std::string(80, 'x') + "\"y\"", std::string(80, 'x') + "\"\"",
          "a" + std::string(79, 'x') + "\"" + std::string(78, 'y') + "\"" + std::string(5, 'z')}) {
        Doc doc(Ini_New(0));
        ASSERT_EQ(readString(doc.get(), "[s]\nk = " + value + "\n"), 0);
        const std::string stored = snapshot(doc.get())[0].items[0].value;
        const std::string text = writeString(doc.get());
        Doc back(Ini_New(0));
        ASSERT_EQ(readString(back.get(), text), 0);
        EXPECT_EQ(snapshot(back.get()), snapshot(doc.get())) << text;
        EXPECT_EQ(snapshot(back.get())[0].items[0].value, stored) << text;
    }
}

TEST(IniWriteText, SinkFailureStopsAtOnce) {
    Doc doc = settingsDocument(3);
    int calls = 0;
    auto sink = [](void *data, const char *) { return ++*static_cast<int *>(data) == 2 ? -77 : 0; };
    EXPECT_EQ(Ini_WriteGeneric(doc.get(), sink, &calls), -77);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(Ini_WriteGeneric(doc.get(), nullptr, nullptr), kIniNullArgument);
    EXPECT_EQ(Ini_WriteGeneric(nullptr, sink, &calls), kIniNullArgument);
}

TEST(IniWriteText, RandomDocumentsRoundTrip) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 200; ++round) {
        // Built by reading text, so that several sections may share a name.
        std::string text;
        const int sections = 1 + static_cast<int>(random() % 5);
        for (int s = 0; s < sections; ++s) {
            const std::string name = random() % 4 == 0 ? "same" : randomName(random);
            text += "[  " + name + "  ]\n";
            const int items = static_cast<int>(random() % 8);
            for (int i = 0; i < items; ++i) {
                const std::string name = " " + randomName(random) + "\t";
                switch (random() % 4) {
                case 0: // quoted, also empty, may hold blanks at its ends
                    text += name + "= \"" + randomText(random, random() % 60, true) + "\"\n";
                    break;
                case 1: // plain
                    text += name + "= x" + randomText(random, random() % 60, true) + "y\n";
                    break;
                case 2: { // long, in numbered pieces as the writer makes them
                    const std::string value = randomText(random, 81 + random() % 200, true);
                    for (size_t at = 0, n = 1; at < value.size(); at += 80, ++n) {
                        char piece[32];
                        std::snprintf(piece, sizeof piece, " Line%04zu = \"", n);
                        text += name + piece + value.substr(at, 80) + "\"\n";
                    }
                    break;
                }
                default:
                    text += name + "= \"\"\n";
                    break;
                }
            }
        }
        for (int sorted : {0, 1}) {
            Doc doc(Ini_New(sorted));
            ASSERT_EQ(readString(doc.get(), text), 0) << text;
            // Long values beyond the reader's line: put them directly.
            const std::string longValue = randomText(random, 161 + random() % 300, true);
            Ini_PutRawString(doc.get(), "same", "longer", longValue.c_str());
            Ini_PutInt(doc.get(), "same", "number", static_cast<int>(random()));
            const std::string written = writeString(doc.get());
            Doc back(Ini_New(sorted));
            ASSERT_EQ(readString(back.get(), written), 0);
            EXPECT_EQ(snapshot(back.get()), snapshot(doc.get())) << "text:\n"
                                                                 << text << "\nwritten:\n"
                                                                 << written;
            char *value = nullptr;
            EXPECT_EQ(Ini_GetPointerToRawString(back.get(), "same", "longer", &value), 1);
            EXPECT_EQ(std::string(value ? value : ""), longValue);
        }
    }
}

TEST_F(FileWriting, WritesFileAndReadsItBack) {
    Doc doc = settingsDocument(3);
    const std::string path = dir.file("trz4Steuerung.ini");
    ASSERT_EQ(Ini_WriteToFile(doc.get(), path.c_str()), 0);
    EXPECT_EQ(fileContents(path), golden("settings.ini"));
    EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"trz4Steuerung.ini"});
    // Replacing keeps the permission bits of the file it replaces.
    ::chmod(path.c_str(), 0600);
    Doc changed = settingsDocument(9);
    ASSERT_EQ(Ini_WriteToFile(changed.get(), path.c_str()), 0);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    Doc back(Ini_New(1));
    ASSERT_EQ(Ini_ReadFromFile(back.get(), path.c_str()), 0);
    int value = 0;
    EXPECT_EQ(Ini_GetInt(back.get(), "com", "com", &value), 1);
    EXPECT_EQ(value, 9);

    Doc empty(Ini_New(1));
    ASSERT_EQ(Ini_WriteToFile(empty.get(), path.c_str()), 0);
    EXPECT_EQ(fileContents(path), "");
    EXPECT_EQ(Ini_WriteToFile(nullptr, path.c_str()), kIniNullArgument);
}

TEST_F(FileWriting, RelativePathWritesInTheCurrentDirectory) {
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    Doc doc = settingsDocument(3);
    const int result = Ini_WriteToFile(doc.get(), "trz4Steuerung.ini");
    ASSERT_EQ(::chdir(previous), 0);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(fileContents(dir.file("trz4Steuerung.ini")), golden("settings.ini"));
}

TEST_F(FileWriting, TakenTemporaryNamesAreSkipped) {
    const std::string path = dir.file("x.ini");
    // ini$$0.TMP belongs to a writer that is still at work: it holds the file.
    FILE *live = openNewFileHeld(dir.file("ini$$0.TMP").c_str(), "wb");
    ASSERT_NE(live, nullptr);
    ASSERT_EQ(std::fputs("someone else's", live), 1);
    ASSERT_EQ(std::fflush(live), 0);
    // A planted link is neither followed nor removed.
    ASSERT_EQ(::symlink(dir.file("victim").c_str(), dir.file("ini$$1.TMP").c_str()), 0);
    FILE *stream = nullptr;
    char tempPath[kIniMaxPathBytes];
    ASSERT_EQ(CreateAndOpenTemporaryFile(path.c_str(), "ini$$", "TMP", "wb", tempPath, &stream), 0);
    EXPECT_EQ(std::string(tempPath), dir.file("ini$$2.TMP"));
    std::fclose(stream);
    RemoveFileIfExists(tempPath);
    EXPECT_FALSE(fileExists(dir.file("victim")));

    Doc doc = settingsDocument(3);
    ASSERT_EQ(Ini_WriteToFile(doc.get(), path.c_str()), 0);
    EXPECT_EQ(fileContents(dir.file("ini$$0.TMP")), "someone else's");
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
    FILE *live = openNewFileHeld(dir.file("ini$$0.TMP").c_str(), "wb");
    ASSERT_NE(live, nullptr);
    setFileFaultForTesting(FileFault::Write, ENOSPC, 0);
    Doc doc = settingsDocument(3);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), path.c_str()), kIniDiskFull);
    EXPECT_EQ(fileContents(path), "old contents");
    EXPECT_EQ(directoryEntries(dir.path()), (std::vector<std::string>{"ini$$0.TMP", "x.ini"}));
    std::fclose(live);
}

TEST_F(FileWriting, AllTemporaryNamesTaken) {
    // Links are never taken for leftovers, so these 1000 names stay taken.
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(::symlink("nowhere", dir.file("ini$$" + std::to_string(i) + ".TMP").c_str()), 0);
    }
    Doc doc = settingsDocument(3);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), dir.file("x.ini").c_str()), kIniNoUnusedTempName);
    // (An existing target, so that only the temporary file meets the failure.)
    writeFileContents(dir.file("y.ini"), "old");
    setFileFaultForTesting(FileFault::Create, EIO);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), dir.file("y.ini").c_str()), kIniCouldNotCreateTempFile);
    EXPECT_EQ(fileContents(dir.file("y.ini")), "old");
}

TEST_F(FileWriting, LeftoversOfDeadWritersAreRemoved) {
    // Files under every temporary name that nobody holds: what killed writers leave.
    for (int i = 0; i < 1000; ++i) {
        writeFileContents(dir.file("ini$$" + std::to_string(i) + ".TMP"), "torn");
    }
    Doc doc = settingsDocument(3);
    ASSERT_EQ(Ini_WriteToFile(doc.get(), dir.file("x.ini").c_str()), 0);
    EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"x.ini"});
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
    EXPECT_EQ(fileContents(dir.file("ini$$0.TMP")), "other writer");
    EXPECT_EQ(fileContents(dir.file("x.ini")), golden("settings.ini"));
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
    EXPECT_EQ(fileContents(real), golden("settings.ini"));
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
    EXPECT_EQ(fileContents(dir.file("created.ini")), golden("settings.ini"));
    ASSERT_EQ(::lstat(dir.file("dangling.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));

    // Only a file is replaced: a link to a FIFO is refused without opening it.
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("fifo", dir.file("tofifo.ini").c_str()), 0);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), dir.file("tofifo.ini").c_str()), kIniAccessDenied);
    ASSERT_EQ(::lstat(dir.file("fifo").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(FileWriting, EveryInjectedFailureLeavesTheOldFile) {
    struct Case {
        FileFault fault;
        int error;
        long afterBytes;
        int expected;
    };
    const Case cases[] = {
        {FileFault::Write, ENOSPC, 0, kIniDiskFull}, // fails at the flush
        {FileFault::Write, EIO, 20000, kIniIoError}, // fails in the middle of the text
        {FileFault::Write, EACCES, 30000, kIniAccessDenied},
        {FileFault::Write, ENOMEM, 5, kIniOutOfMemory},
        {FileFault::Sync, EIO, 0, kIniIoError},
        {FileFault::Rename, EACCES, 0, kIniAccessDenied},
        {FileFault::Rename, ENOENT, 0, kIniNotFound},
        {FileFault::Rename, EXDEV, 0, kIniRenameFailure},
        {FileFault::Rename, ENOSPC, 0, kIniDiskFull},
        {FileFault::Rename, EISDIR, 0, kIniIoError},
    };
    const std::string path = dir.file("x.ini");
    Doc big(Ini_New(0));
    for (int i = 0; i < 2000; ++i) {
        Ini_PutInt(big.get(), ("section" + std::to_string(i % 50)).c_str(),
                   ("item" + std::to_string(i)).c_str(), i);
    }
    for (const Case &c : cases) {
        writeFileContents(path, "[old]\r\nvalue = 1\r\n");
        setFileFaultForTesting(c.fault, c.error, c.afterBytes);
        EXPECT_EQ(Ini_WriteToFile(big.get(), path.c_str()), c.expected)
            << static_cast<int>(c.fault) << " " << c.error;
        setFileFaultForTesting(FileFault::None, 0);
        EXPECT_EQ(fileContents(path), "[old]\r\nvalue = 1\r\n");
        EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"x.ini"});
    }
}

TEST_F(FileWriting, AllocationFailureLeavesTheOldFile) {
    const std::string path = dir.file("x.ini");
    Doc doc = settingsDocument(3);
    int failures = 0;
    for (long allowed = 0;; ++allowed) {
        writeFileContents(path, "old");
        tbFailAllocationsAfter(allowed);
        const int result = Ini_WriteToFile(doc.get(), path.c_str());
        tbFailAllocationsAfter(-1);
        EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"x.ini"});
        if (result == 0) {
            break;
        }
        ++failures;
        EXPECT_EQ(result, kIniOutOfMemory);
        EXPECT_EQ(fileContents(path), "old");
    }
    EXPECT_GE(failures, 3);
    EXPECT_EQ(fileContents(path), golden("settings.ini"));
}

TEST_F(FileWriting, UnwritableDirectoryGivesAccessDenied) {
    // Permission bits do not stop root, so the write runs in a child that gives up root.
    const std::string locked = dir.file("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0555), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(100);
        }
        Doc doc = settingsDocument(3);
        const int result = Ini_WriteToFile(doc.get(), (locked + "/x.ini").c_str());
        ::_exit(-result & 0xff);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), -kIniAccessDenied);
    EXPECT_TRUE(directoryEntries(locked).empty());
}

TEST_F(FileWriting, WritabilityOfThePath) {
    int writable = -1;
    EXPECT_EQ(GetFileWritability(dir.file("new").c_str(), &writable), 0);
    EXPECT_EQ(writable, 1);
    EXPECT_FALSE(fileExists(dir.file("new"))); // the probe is removed again
    writeFileContents(dir.file("old"), "keep");
    EXPECT_EQ(GetFileWritability(dir.file("old").c_str(), &writable), 0);
    EXPECT_EQ(writable, 1);
    EXPECT_EQ(fileContents(dir.file("old")), "keep");
    EXPECT_EQ(GetFileWritability(dir.path().c_str(), &writable), 0);
    EXPECT_EQ(writable, 0);
    EXPECT_EQ(GetFileWritability(dir.file("no/such/dir").c_str(), &writable), 0);
    EXPECT_EQ(writable, 0);
    const std::string loop = dir.file("loop");
    ASSERT_EQ(::symlink(loop.c_str(), loop.c_str()), 0);
    EXPECT_EQ(GetFileWritability(loop.c_str(), &writable), kIniPathNotReportable);
    Doc doc = settingsDocument(3);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), loop.c_str()), kIniPathNotReportable);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), dir.path().c_str()), kIniAccessDenied);
}

TEST(IniErrorCodes, ErrnoAndRenameMapping) {
    EXPECT_EQ(ErrnoToError(0), kIniIoError);
    EXPECT_EQ(ErrnoToError(EPERM), kIniAccessDenied);
    EXPECT_EQ(ErrnoToError(EACCES), kIniAccessDenied);
    EXPECT_EQ(ErrnoToError(ENOMEM), kIniOutOfMemory);
    EXPECT_EQ(ErrnoToError(ENOSPC), kIniDiskFull);
    EXPECT_EQ(ErrnoToError(EIO), kIniIoError);
    TempDir dir;
    EXPECT_EQ(DeleteAndRename(dir.file("none").c_str(), dir.file("t").c_str()), kIniNotFound);
    writeFileContents(dir.file("a"), "A");
    writeFileContents(dir.file("t"), "T");
    EXPECT_EQ(DeleteAndRename(dir.file("a").c_str(), dir.file("t").c_str()), 0);
    EXPECT_EQ(fileContents(dir.file("t")), "A");
    EXPECT_FALSE(fileExists(dir.file("a")));
}

TEST(IniWriteStdout, NullPathWritesToStandardOutput) {
    Doc doc = settingsDocument(3);
    testing::internal::CaptureStdout();
    EXPECT_EQ(Ini_WriteToFile(doc.get(), nullptr), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), golden("settings.ini"));
}

TEST(IniCrashSafety, KilledWriterLeavesOldOrNewFile) {
    TempDir dir;
    const std::string path = dir.file("settings.ini");
    Doc first(Ini_New(0));
    Doc second(Ini_New(0));
    for (int i = 0; i < 300; ++i) {
        const std::string section = "s" + std::to_string(i % 7);
        const std::string item = "item" + std::to_string(i);
        Ini_PutRawString(first.get(), section.c_str(), item.c_str(), std::string(90, 'a').c_str());
        Ini_PutInt(second.get(), section.c_str(), item.c_str(), i);
    }
    const std::string textFirst = writeString(first.get());
    const std::string textSecond = writeString(second.get());
    ASSERT_EQ(Ini_WriteToFile(first.get(), path.c_str()), 0);
    // The kills are spread over about three writes, however long a synced write takes here.
    std::vector<long> writeMicroseconds;
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        Ini_WriteToFile(first.get(), path.c_str());
        writeMicroseconds.push_back(
            static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(
                                  std::chrono::steady_clock::now() - start)
                                  .count()));
    }
    std::sort(writeMicroseconds.begin(), writeMicroseconds.end());
    const long spread = std::max(3 * writeMicroseconds[2], 200L);
    std::mt19937 random(7);
    int sawFirst = 0;
    int sawSecond = 0;
    int leftovers = 0;
    for (int round = 0; round < 200; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            (void)!::write(ready[1], "r", 1);
            for (int n = 0;; ++n) {
                Ini_WriteToFile((n + round) % 2 ? first.get() : second.get(), path.c_str());
            }
        }
        ::close(ready[1]);
        char byte = 0;
        (void)!::read(ready[0], &byte, 1);
        ::close(ready[0]);
        ::usleep(static_cast<useconds_t>(static_cast<long>(random()) % spread));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string now = fileContents(path);
        ASSERT_TRUE(now == textFirst || now == textSecond)
            << "round " << round << ": torn file of " << now.size() << " bytes";
        (now == textFirst ? sawFirst : sawSecond)++;
        // A killed writer may leave its temporary file; the next writer removes it, so
        // leftovers never pile up.
        const size_t left = directoryEntries(dir.path()).size() - 1;
        ASSERT_LE(left, 1u) << "round " << round;
        leftovers += static_cast<int>(left);
    }
    // Both documents turn up, so the kills did land while the child was writing.
    EXPECT_GT(sawFirst, 0);
    EXPECT_GT(sawSecond, 0);
    ASSERT_EQ(Ini_WriteToFile(second.get(), path.c_str()), 0);
    EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"settings.ini"});
    std::printf("old-or-new: %d first, %d second, %d kills left a temporary file\n", sawFirst,
                sawSecond, leftovers);
}
