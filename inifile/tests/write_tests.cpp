// Writing: the text form (golden files), pieces of long values, round trips of random
// documents, and the safe replacement of the file under every failure we can provoke.

#include "inifile/inifile.h"
#include "inifile/ini_model.h"
#include "inifile/tests/ini_test_support.h"
#include "inifile/tests/write_fixture.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace ini_test;

namespace {

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
    EXPECT_EQ(readFileBytes(path), golden("settings.ini"));
    EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"trz4Steuerung.ini"});
    Doc changed = settingsDocument(9);
    ASSERT_EQ(Ini_WriteToFile(changed.get(), path.c_str()), 0);
    Doc back(Ini_New(1));
    ASSERT_EQ(Ini_ReadFromFile(back.get(), path.c_str()), 0);
    int value = 0;
    EXPECT_EQ(Ini_GetInt(back.get(), "com", "com", &value), 1);
    EXPECT_EQ(value, 9);

    Doc empty(Ini_New(1));
    ASSERT_EQ(Ini_WriteToFile(empty.get(), path.c_str()), 0);
    EXPECT_EQ(readFileBytes(path), "");
    EXPECT_EQ(Ini_WriteToFile(nullptr, path.c_str()), kIniNullArgument);
}

TEST_F(FileWriting, RelativePathWritesInTheCurrentDirectory) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    Doc doc = settingsDocument(3);
    const int result = Ini_WriteToFile(doc.get(), "trz4Steuerung.ini");
    std::filesystem::current_path(previous);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readFileBytes(dir.file("trz4Steuerung.ini")), golden("settings.ini"));
}

TEST_F(FileWriting, ALiveWritersTemporaryFileIsSkippedAndKept) {
    const std::string path = dir.file("x.ini");
    // ini$$0.TMP belongs to a writer that is still at work: it holds the file.
    FILE *live = liveWriter("ini$$0.TMP", "someone else's");
    ASSERT_NE(live, nullptr);
    EXPECT_EQ(nextTemporaryName(path), dir.file("ini$$1.TMP"));

    // A failing write removes its own temporary file and leaves the live writer's.
    writeFileContents(path, "old contents");
    setFileFaultForTesting(FileFault::Sync, EIO);
    Doc doc = settingsDocument(3);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), path.c_str()), kIniIoError);
    EXPECT_EQ(readFileBytes(path), "old contents");
    EXPECT_EQ(directoryEntries(dir.path()), (std::vector<std::string>{"ini$$0.TMP", "x.ini"}));
    setFileFaultForTesting(FileFault::None, 0);
    ASSERT_EQ(Ini_WriteToFile(doc.get(), path.c_str()), 0);
    std::fclose(live);
    EXPECT_EQ(readFileBytes(dir.file("ini$$0.TMP")), "someone else's");
    EXPECT_EQ(readFileBytes(path), golden("settings.ini"));
}

TEST_F(FileWriting, AllTemporaryNamesTaken) {
    // Directories are never taken for leftovers, so these 1000 names stay taken.
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(
            std::filesystem::create_directory(dir.file("ini$$" + std::to_string(i) + ".TMP")));
    }
    Doc doc = settingsDocument(3);
    // The names' EEXIST is no fault of the system: no reason comes with the code.
    int reason = -1;
    EXPECT_EQ(Ini_WriteToFileWithReason(doc.get(), dir.file("x.ini").c_str(), &reason),
              kIniNoUnusedTempName);
    EXPECT_EQ(reason, 0);
    // (An existing target, so that only the temporary file meets the failure.)
    writeFileContents(dir.file("y.ini"), "old");
    setFileFaultForTesting(FileFault::Create, EIO);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), dir.file("y.ini").c_str()), kIniCouldNotCreateTempFile);
    EXPECT_EQ(readFileBytes(dir.file("y.ini")), "old");
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

TEST_F(FileWriting, OnlyTheTemporaryNamesAreTakenForLeftovers) {
    // Files nobody holds, some under names of the scheme and some only like them: a user's
    // files must never be taken for a dead writer's.
    const struct {
        const char *name;
        bool leftover;
    } files[] = {
        {"ini$$0.TMP", true},   {"ini$$7.TMP", true},      {"ini$$999.TMP", true},
        {"ini$$07.TMP", false}, {"ini$$1000.TMP", false},  {"ini$$-1.TMP", false},
        {"ini$$ 5.TMP", false}, {"ini$$5.TMP.bak", false}, {"xini$$5.TMP", false},
        {"ini$$5.TM", false},   {"ini$$.TMP", false},      {"ini$$5TMP", false},
    };
    std::vector<std::string> kept{"x.ini"};
    for (const auto &f : files) {
        writeFileContents(dir.file(f.name), "someone's");
        if (!f.leftover) {
            kept.push_back(f.name);
        }
    }
    std::sort(kept.begin(), kept.end());
    Doc doc = settingsDocument(3);
    ASSERT_EQ(Ini_WriteToFile(doc.get(), dir.file("x.ini").c_str()), 0);
    EXPECT_EQ(directoryEntries(dir.path()), kept);
}

// Each failure also hands back the system's reason as a value, taken when the step failed
// and not what the clean-up after it left in errno.
TEST_F(FileWriting, EveryInjectedFailureLeavesTheOldFile) {
    struct Case {
        FileFault fault;
        int error;
        long afterBytes;
        int expected;
    };
    const Case cases[] = {
        {FileFault::Create, EROFS, 0, kIniCouldNotCreateTempFile},
        {FileFault::Sync, EIO, 0, kIniIoError},
        {FileFault::Rename, EACCES, 0, kIniAccessDenied},
        {FileFault::Rename, ENOENT, 0, kIniNotFound},
        {FileFault::Rename, EXDEV, 0, kIniRenameFailure},
        {FileFault::Rename, ENOSPC, 0, kIniDiskFull},
        {FileFault::Rename, EISDIR, 0, kIniIoError},
    };
    const std::string path = dir.file("x.ini");
    Doc big = largeDocument();
    for (const Case &c : cases) {
        writeFileContents(path, "[old]\r\nvalue = 1\r\n");
        setFileFaultForTesting(c.fault, c.error, c.afterBytes);
        int reason = -1;
        EXPECT_EQ(Ini_WriteToFileWithReason(big.get(), path.c_str(), &reason), c.expected)
            << static_cast<int>(c.fault) << " " << c.error;
        EXPECT_EQ(reason, c.error);
        setFileFaultForTesting(FileFault::None, 0);
        EXPECT_EQ(readFileBytes(path), "[old]\r\nvalue = 1\r\n");
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
        EXPECT_EQ(readFileBytes(path), "old");
    }
    EXPECT_GE(failures, 3);
    EXPECT_EQ(readFileBytes(path), golden("settings.ini"));
}

TEST_F(FileWriting, WritabilityOfThePath) {
    int writable = -1;
    EXPECT_EQ(GetFileWritability(dir.file("new").c_str(), &writable), 0);
    EXPECT_EQ(writable, 1);
    EXPECT_FALSE(fileExists(dir.file("new"))); // the probe is removed again
    writeFileContents(dir.file("old"), "keep");
    EXPECT_EQ(GetFileWritability(dir.file("old").c_str(), &writable), 0);
    EXPECT_EQ(writable, 1);
    EXPECT_EQ(readFileBytes(dir.file("old")), "keep");
    EXPECT_EQ(GetFileWritability(dir.path().c_str(), &writable), 0);
    EXPECT_EQ(writable, 0);
    EXPECT_EQ(GetFileWritability(dir.file("no/such/dir").c_str(), &writable), 0);
    EXPECT_EQ(writable, 0);
    Doc doc = settingsDocument(3);
    // A directory in the file's place: refused without a failing system call.
    int reason = -1;
    EXPECT_EQ(Ini_WriteToFileWithReason(doc.get(), dir.path().c_str(), &reason), kIniAccessDenied);
    EXPECT_EQ(reason, 0);
}

TEST(IniErrorCodes, ErrnoAndRenameMapping) {
    EXPECT_EQ(ErrnoToError(0), kIniIoError);
    EXPECT_EQ(ErrnoToError(EPERM), kIniAccessDenied);
    EXPECT_EQ(ErrnoToError(EACCES), kIniAccessDenied);
    EXPECT_EQ(ErrnoToError(ENOMEM), kIniOutOfMemory);
    EXPECT_EQ(ErrnoToError(ENOSPC), kIniDiskFull);
    EXPECT_EQ(ErrnoToError(EIO), kIniIoError);
    ScratchDir dir;
    EXPECT_EQ(DeleteAndRename(dir.file("none").c_str(), dir.file("t").c_str()), kIniNotFound);
    writeFileContents(dir.file("a"), "A");
    writeFileContents(dir.file("t"), "T");
    EXPECT_EQ(DeleteAndRename(dir.file("a").c_str(), dir.file("t").c_str()), 0);
    EXPECT_EQ(readFileBytes(dir.file("t")), "A");
    EXPECT_FALSE(fileExists(dir.file("a")));
}

TEST(IniWriteStdout, NullPathWritesToStandardOutput) {
    Doc doc = settingsDocument(3);
    testing::internal::CaptureStdout();
    EXPECT_EQ(Ini_WriteToFile(doc.get(), nullptr), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), golden("settings.ini"));
}
