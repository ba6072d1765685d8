// File operations on every system: existence reports, path splitting, rename results,
// exclusive create, held files, reading within a size, and the injected failures.

#include "platform/files.h"
#include "platform/tests/files_fixture.h"
#include "platform/tests/split_path_check.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <utility>

TEST_F(Files, GetFileInfoReportsExistenceAndSize) {
    write("a", "12345");
    long size = -1;
    EXPECT_EQ(GetFileInfo(file("a").c_str(), &size), 1);
    EXPECT_EQ(size, 5);
    EXPECT_EQ(GetFileInfo(dir.c_str(), &size), 1);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(GetFileInfo(file("missing").c_str(), &size), 0);
    EXPECT_EQ(GetFileInfo(file("missing/deeper").c_str(), nullptr), 0);
    EXPECT_EQ(GetFileInfo(file("a/below").c_str(), nullptr), 0);
    EXPECT_EQ(GetFileInfo(nullptr, nullptr), -1);
}

TEST(SplitPath, DirectoryAndFileName) {
    expectSplits({{"/a/b/c.ini", "", "/a/b/", "c.ini"},
                  {"c.ini", "", "", "c.ini"},
                  {"/c.ini", nullptr, "/", nullptr},
                  {"dir/", nullptr, "dir/", ""}});
}

TEST_F(Files, RenameReplacesAtomicallyAndMapsFailures) {
    write("src", "new");
    write("dst", "old");
    EXPECT_EQ(RenameFile(file("src").c_str(), file("dst").c_str()), 0);
    EXPECT_EQ(read("dst"), "new");
    EXPECT_EQ(RenameFile(file("src").c_str(), file("dst").c_str()), -1);
    EXPECT_EQ(RenameFile(file("dst").c_str(), file("no/dir/x").c_str()), -1);
    makeDirectory("full");
    write("full/inside", "");
    EXPECT_EQ(RenameFile(file("dst").c_str(), file("full").c_str()), -7);
    EXPECT_EQ(RenameFile(nullptr, file("x").c_str()), -5);
    const std::pair<int, int> injected[] = {{EACCES, -6},  {EROFS, -6},  {ENOSPC, -8},
                                            {ENOMEM, -4},  {EIO, -3},    {EXDEV, -5},
                                            {ENOTDIR, -1}, {EEXIST, -2}, {EOVERFLOW, -3}};
    for (const auto &[error, expected] : injected) {
        setFileFaultForTesting(FileFault::Rename, error);
        EXPECT_EQ(RenameFile(file("dst").c_str(), file("x").c_str()), expected) << error;
    }
    setFileFaultForTesting(FileFault::None, 0);
    EXPECT_EQ(read("dst"), "new");
}

TEST_F(Files, ExclusiveCreateNeverOpensWhatExists) {
    write("taken", "keep");
    EXPECT_EQ(openNewFileExclusive(file("taken").c_str(), "wb"), nullptr);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(read("taken"), "keep");
    makeDirectory("folder");
    EXPECT_EQ(openNewFileExclusive(file("folder").c_str(), "wb"), nullptr);
    EXPECT_EQ(errno, EEXIST) << "a directory takes the name as well";

    FILE *stream = openNewFileExclusive(file("fresh").c_str(), "w+b");
    ASSERT_NE(stream, nullptr);
    std::fputs("data", stream);
    EXPECT_EQ(std::fflush(stream), 0);
    EXPECT_EQ(syncFile(stream), 0);
    std::rewind(stream);
    char back[8] = {};
    EXPECT_EQ(std::fread(back, 1, 4, stream), 4u);
    EXPECT_STREQ(back, "data");
    EXPECT_EQ(copyFilePermissions(file("taken").c_str(), stream), 0);
    EXPECT_EQ(copyFilePermissions(file("missing").c_str(), stream), -1);
    std::fclose(stream);
    EXPECT_EQ(read("fresh"), "data");
    EXPECT_EQ(syncDirectoryOf(file("fresh").c_str()), 0);
    EXPECT_EQ(syncDirectoryOf(file("no/dir/x").c_str()), -1);
}

TEST_F(Files, InjectedSyncAndCreateFailures) {
    setFileFaultForTesting(FileFault::Sync, EIO);
    FILE *stream = openNewFileExclusive(file("s").c_str(), "wb");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(syncFile(stream), -1);
    EXPECT_EQ(errno, EIO);
    std::fclose(stream);

    setFileFaultForTesting(FileFault::Create, EACCES);
    EXPECT_EQ(openNewFileExclusive(file("c").c_str(), "wb"), nullptr);
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(openNewFileHeld(file("c").c_str(), "wb"), nullptr);
    EXPECT_EQ(errno, EACCES);
    EXPECT_FALSE(exists("c"));
}

TEST_F(Files, HeldFilesAreLeftAloneAndLeftoversRemoved) {
    FILE *held = openNewFileHeld(file("held").c_str(), "wb");
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(removeUnheldFile(file("held").c_str()), 0);
    EXPECT_TRUE(exists("held"));
    EXPECT_GE(std::fputs("text", held), 0);
    EXPECT_EQ(std::fflush(held), 0);
    write("target", "old");
    EXPECT_EQ(renameHeldFile(held, file("held").c_str(), file("target").c_str()), 0);
    EXPECT_EQ(removeUnheldFile(file("target").c_str()), 0) << "still held under its new name";
    EXPECT_FALSE(exists("held"));
    std::fclose(held);
    EXPECT_EQ(read("target"), "text");

    held = openNewFileHeld(file("unwanted").c_str(), "wb");
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(removeHeldFile(held, file("unwanted").c_str()), 0);
    std::fclose(held);
    EXPECT_FALSE(exists("unwanted"));

    held = openNewFileHeld(file("dead").c_str(), "wb");
    ASSERT_NE(held, nullptr);
    std::fclose(held); // as when its writer dies
    EXPECT_EQ(removeUnheldFile(file("dead").c_str()), 1);
    EXPECT_FALSE(exists("dead"));
    // What is no leftover stays: nothing, a directory.
    EXPECT_EQ(removeUnheldFile(file("missing").c_str()), 0);
    makeDirectory("folder");
    EXPECT_EQ(removeUnheldFile(file("folder").c_str()), 0);
    EXPECT_TRUE(exists("folder"));
}

TEST_F(Files, ReadingOpensOnlyRegularFilesWithinTheirSize) {
    write("small", "12345");
    FILE *stream = nullptr;
    EXPECT_EQ(openRegularFileForReading(file("small").c_str(), 5, &stream), FileOpenResult::Opened);
    ASSERT_NE(stream, nullptr);
    char back[8] = {};
    EXPECT_EQ(std::fread(back, 1, sizeof back, stream), 5u);
    std::fclose(stream);
    EXPECT_EQ(openRegularFileForReading(file("small").c_str(), 4, &stream),
              FileOpenResult::TooLarge);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(openRegularFileForReading(file("missing").c_str(), 5, &stream),
              FileOpenResult::CannotOpen);
    EXPECT_EQ(openRegularFileForReading(dir.c_str(), 5, &stream), FileOpenResult::NotRegularFile);
    EXPECT_EQ(isRegularFile(file("small").c_str()), 1);
    EXPECT_EQ(isRegularFile(dir.c_str()), 0);
    EXPECT_EQ(isRegularFile(file("missing").c_str()), 0);
}

TEST_F(Files, OpenFileAndRemoveFile) {
    FILE *stream = openFile(file("plain").c_str(), "wb");
    ASSERT_NE(stream, nullptr);
    std::fputs("x", stream);
    std::fclose(stream);
    EXPECT_EQ(read("plain"), "x");
    EXPECT_EQ(removeFile(file("plain").c_str()), 0);
    EXPECT_EQ(removeFile(file("plain").c_str()), -1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(openFile(file("missing").c_str(), "rb"), nullptr);
}
