// File operations where Windows has its own rules: drives and backslashes, share modes as the
// hold of a file, wide names, read-only leftovers, device names, and replacing a file that a
// reader has open.

#include <windows.h>

#include "platform/files.h"
#include "platform/tests/files_fixture.h"
#include "platform/tests/split_path_check.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

std::wstring wide(const std::string &utf8) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(),
                        size);
    return result;
}

// Whether another program could open the file now, for reading, with every sharing allowed.
bool othersCanOpen(const std::string &path) {
    HANDLE handle = CreateFileW(wide(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(handle);
    return true;
}

} // namespace

TEST(SplitPathWindows, DrivesAndBothSeparators) {
    expectSplits({{"C:\\a\\b/c.ini", "C:", "\\a\\b/", "c.ini"},
                  {"d:c.ini", "d:", "", "c.ini"},
                  {"\\\\server\\share\\x.ini", "", "\\\\server\\share\\", "x.ini"}});
}

TEST_F(Files, AHeldFileIsClosedToEveryoneUntilItsStreamCloses) {
    FILE *held = openNewFileHeld(file("held").c_str(), "wb");
    ASSERT_NE(held, nullptr);
    EXPECT_FALSE(othersCanOpen(file("held")));
    EXPECT_EQ(RenameFile(file("held").c_str(), file("moved").c_str()), -6)
        << "nobody renames it by name";
    EXPECT_EQ(removeFile(file("held").c_str()), -1);
    std::fclose(held);
    EXPECT_TRUE(othersCanOpen(file("held")));
}

TEST_F(Files, ACleanerRightAfterTheCreationFindsTheFileHeld) {
    // On Windows the hold comes with the creation: there is no moment for a cleaner.
    int removed = -1;
    setBeforeHoldHookForTesting(
        [](const char *path, void *data) { *static_cast<int *>(data) = removeUnheldFile(path); },
        &removed);
    FILE *held = openNewFileHeld(file("fresh").c_str(), "wb");
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(removed, 0);
    std::fclose(held);
    EXPECT_TRUE(exists("fresh"));
}

TEST_F(Files, WideNamesSurviveEveryOperation) {
    const std::string first = "Größe-日本.ini";
    const std::string second = "Ärger-Ω.ini";
    FILE *held = openNewFileHeld(file(first).c_str(), "wb");
    ASSERT_NE(held, nullptr);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(wide(file(first)))));
    std::fputs("text", held);
    std::fflush(held);
    EXPECT_EQ(renameHeldFile(held, file(first).c_str(), file(second).c_str()), 0);
    std::fclose(held);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(wide(file(second)))));
    long size = 0;
    EXPECT_EQ(GetFileInfo(file(second).c_str(), &size), 1);
    EXPECT_EQ(size, 4);
    EXPECT_EQ(isRegularFile(file(second).c_str()), 1);
    FILE *stream = nullptr;
    ASSERT_EQ(openRegularFileForReading(file(second).c_str(), 100, &stream),
              FileOpenResult::Opened);
    std::fclose(stream);
    EXPECT_EQ(RenameFile(file(second).c_str(), file(first).c_str()), 0);
    EXPECT_EQ(removeFile(file(first).c_str()), 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

TEST_F(Files, ReadOnlyLeftoverIsRemoved) {
    FILE *held = openNewFileHeld(file("dead").c_str(), "wb");
    ASSERT_NE(held, nullptr);
    std::fclose(held);
    ASSERT_TRUE(SetFileAttributesW(wide(file("dead")).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(removeUnheldFile(file("dead").c_str()), 1);
    EXPECT_FALSE(exists("dead"));
}

TEST_F(Files, DeviceNamesAreNeverOpened) {
    FILE *stream = nullptr;
    for (const std::string &device :
         {std::string("NUL"), std::string("COM1"), file("nul.txt"), file("Com9 .ini"),
          std::string("\\\\.\\COM9"), std::string("CONOUT$")}) {
        EXPECT_EQ(openRegularFileForReading(device.c_str(), 100, &stream),
                  FileOpenResult::NotRegularFile)
            << device;
        EXPECT_EQ(isRegularFile(device.c_str()), 0) << device;
    }
    EXPECT_EQ(stream, nullptr);
}

TEST_F(Files, DirectoriesAreNotReplaced) {
    makeDirectory("one");
    makeDirectory("two");
    EXPECT_EQ(RenameFile(file("one").c_str(), file("two").c_str()), -2);
}

TEST_F(Files, AFileThatAReaderHasOpenIsReplacedOrKeptWhole) {
    // With POSIX semantics (Windows 10 1809 and later, NTFS) the replace goes through while a
    // reader has the file open; elsewhere (older systems, Wine) it is refused and the old file
    // stays as it was. Either way the reader keeps what it opened and nothing is torn.
    write("settings.ini", "old");
    FILE *reader = nullptr;
    ASSERT_EQ(openRegularFileForReading(file("settings.ini").c_str(), 100, &reader),
              FileOpenResult::Opened);
    FILE *held = openNewFileHeld(file("new.tmp").c_str(), "wb");
    ASSERT_NE(held, nullptr);
    std::fputs("new", held);
    std::fflush(held);
    const int result = renameHeldFile(held, file("new.tmp").c_str(), file("settings.ini").c_str());
    EXPECT_TRUE(result == 0 || result == -6) << result;
    if (result != 0) {
        EXPECT_EQ(removeHeldFile(held, file("new.tmp").c_str()), 0);
    }
    std::fclose(held);
    char back[8] = {};
    EXPECT_EQ(std::fread(back, 1, sizeof back, reader), 3u);
    EXPECT_STREQ(back, "old") << "the reader keeps what it opened";
    std::fclose(reader);
    EXPECT_EQ(read("settings.ini"), result == 0 ? "new" : "old");
    EXPECT_FALSE(exists("new.tmp"));
}

TEST_F(Files, AHeldFileRenamesToARelativeName) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    FILE *held = openNewFileHeld("here.tmp", "wb");
    ASSERT_NE(held, nullptr);
    const int result = renameHeldFile(held, "here.tmp", "here.ini");
    std::fclose(held);
    std::filesystem::current_path(previous);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(exists("here.ini"));
    EXPECT_FALSE(exists("here.tmp"));
}

TEST_F(Files, LinksAreNotFollowed) {
    std::string target;
    EXPECT_EQ(resolveFileLinks(file("any").c_str(), &target), 0);
    EXPECT_EQ(target, file("any"));
}
