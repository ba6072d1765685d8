// File operations: existence reports, path splitting, rename results, exclusive create, held
// files, reading without waiting, following links, and the injected failures.

#include "platform/files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "files_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        setFileFaultForTesting(FileFault::None, 0);
        setBeforeHoldHookForTesting(nullptr, nullptr);
        std::filesystem::remove_all(dir);
    }
    std::string file(const std::string &name) const { return dir + "/" + name; }
    void write(const std::string &name, const std::string &text) const {
        std::ofstream(file(name), std::ios::binary) << text;
    }
    std::string read(const std::string &name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string dir;
};

} // namespace

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
    ASSERT_EQ(::symlink(file("loop").c_str(), file("loop").c_str()), 0);
    EXPECT_EQ(GetFileInfo(file("loop").c_str(), nullptr), -1);
    EXPECT_EQ(GetFileInfo(nullptr, nullptr), -1);
}

TEST(SplitPath, DirectoryAndFileName) {
    char drive[64] = "x";
    char directory[64];
    char name[64];
    SplitPath("/a/b/c.ini", drive, directory, name);
    EXPECT_STREQ(drive, "");
    EXPECT_STREQ(directory, "/a/b/");
    EXPECT_STREQ(name, "c.ini");
    SplitPath("c.ini", drive, directory, name);
    EXPECT_STREQ(directory, "");
    EXPECT_STREQ(name, "c.ini");
    SplitPath("/c.ini", nullptr, directory, nullptr);
    EXPECT_STREQ(directory, "/");
    SplitPath("dir/", nullptr, directory, name);
    EXPECT_STREQ(directory, "dir/");
    EXPECT_STREQ(name, "");
}

TEST_F(Files, RenameReplacesAtomicallyAndMapsFailures) {
    write("src", "new");
    write("dst", "old");
    EXPECT_EQ(RenameFile(file("src").c_str(), file("dst").c_str()), 0);
    EXPECT_EQ(read("dst"), "new");
    EXPECT_EQ(RenameFile(file("src").c_str(), file("dst").c_str()), -1);
    EXPECT_EQ(RenameFile(file("dst").c_str(), file("no/dir/x").c_str()), -1);
    ASSERT_EQ(::mkdir(file("full").c_str(), 0755), 0);
    write("full/inside", "");
    EXPECT_EQ(RenameFile(file("dst").c_str(), file("full").c_str()), -7);
    ASSERT_EQ(::mkdir(file("empty").c_str(), 0755), 0);
    EXPECT_EQ(RenameFile(file("full").c_str(), file("empty").c_str()), 0);
    ASSERT_EQ(::mkdir(file("other").c_str(), 0755), 0);
    write("other/x", "");
    EXPECT_EQ(RenameFile(file("empty").c_str(), file("other").c_str()), -2);
    EXPECT_EQ(RenameFile(file("empty").c_str(), file("empty/sub").c_str()), -5);
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
    ASSERT_EQ(::symlink(file("target").c_str(), file("link").c_str()), 0);
    EXPECT_EQ(openNewFileExclusive(file("link").c_str(), "wb"), nullptr);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_FALSE(std::filesystem::exists(file("target")));

    FILE *stream = openNewFileExclusive(file("fresh").c_str(), "w+b");
    ASSERT_NE(stream, nullptr);
    std::fputs("data", stream);
    EXPECT_EQ(std::fflush(stream), 0);
    EXPECT_EQ(syncFile(stream), 0);
    std::rewind(stream);
    char back[8] = {};
    EXPECT_EQ(std::fread(back, 1, 4, stream), 4u);
    EXPECT_STREQ(back, "data");
    ::chmod(file("taken").c_str(), 0640);
    EXPECT_EQ(copyFilePermissions(file("taken").c_str(), stream), 0);
    std::fclose(stream);
    struct stat info {};
    ASSERT_EQ(::stat(file("fresh").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(syncDirectoryOf(file("fresh").c_str()), 0);
    EXPECT_EQ(syncDirectoryOf(file("no/dir/x").c_str()), -1);
}

TEST_F(Files, InjectedWriteAndSyncFailures) {
    setFileFaultForTesting(FileFault::Write, ENOSPC, 3);
    FILE *stream = openNewFileExclusive(file("w").c_str(), "wb");
    ASSERT_NE(stream, nullptr);
    std::setvbuf(stream, nullptr, _IONBF, 0);
    EXPECT_EQ(std::fwrite("ab", 1, 2, stream), 2u);
    errno = 0;
    EXPECT_LT(std::fwrite("cdef", 1, 4, stream), 4u);
    EXPECT_EQ(errno, ENOSPC);
    std::fclose(stream);
    EXPECT_EQ(read("w"), "abc");

    setFileFaultForTesting(FileFault::Sync, EIO);
    stream = openNewFileExclusive(file("s").c_str(), "wb");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(syncFile(stream), -1);
    EXPECT_EQ(errno, EIO);
    std::fclose(stream);

    setFileFaultForTesting(FileFault::Create, EACCES);
    EXPECT_EQ(openNewFileExclusive(file("c").c_str(), "wb"), nullptr);
    EXPECT_EQ(errno, EACCES);
    EXPECT_FALSE(std::filesystem::exists(file("c")));
}

TEST_F(Files, HeldFilesAreLeftAloneAndLeftoversRemoved) {
    FILE *held = openNewFileHeld(file("held").c_str(), "wb");
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(removeUnheldFile(file("held").c_str()), 0);
    EXPECT_TRUE(std::filesystem::exists(file("held")));
    EXPECT_EQ(renameHeldFile(held, file("held").c_str(), file("renamed").c_str()), 0);
    EXPECT_EQ(removeUnheldFile(file("renamed").c_str()), 0);
    EXPECT_EQ(removeHeldFile(held, file("renamed").c_str()), 0);
    std::fclose(held);
    EXPECT_FALSE(std::filesystem::exists(file("renamed")));

    held = openNewFileHeld(file("dead").c_str(), "wb");
    ASSERT_NE(held, nullptr);
    std::fclose(held); // as when its writer dies
    EXPECT_EQ(removeUnheldFile(file("dead").c_str()), 1);
    EXPECT_FALSE(std::filesystem::exists(file("dead")));
    // What is no leftover stays: nothing, a link, a FIFO (not waited on), a directory.
    EXPECT_EQ(removeUnheldFile(file("missing").c_str()), 0);
    write("target", "keep");
    ASSERT_EQ(::symlink(file("target").c_str(), file("link").c_str()), 0);
    ASSERT_EQ(::mkfifo(file("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(file("dir").c_str(), 0700), 0);
    for (const char *name : {"link", "fifo", "dir"}) {
        EXPECT_EQ(removeUnheldFile(file(name).c_str()), 0) << name;
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(file(name)))) << name;
    }
    EXPECT_EQ(read("target"), "keep");
}

TEST_F(Files, ReadingOpensOnlyRegularFilesWithinTheirSize) {
    write("small", "12345");
    FILE *stream = nullptr;
    EXPECT_EQ(openRegularFileForReading(file("small").c_str(), 5, &stream), 0);
    ASSERT_NE(stream, nullptr);
    std::fclose(stream);
    EXPECT_EQ(openRegularFileForReading(file("small").c_str(), 4, &stream), -3);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(openRegularFileForReading(file("missing").c_str(), 5, &stream), -1);
    ASSERT_EQ(::mkfifo(file("fifo").c_str(), 0600), 0);
    EXPECT_EQ(openRegularFileForReading(file("fifo").c_str(), 5, &stream), -2);
    EXPECT_EQ(openRegularFileForReading(dir.c_str(), 5, &stream), -2);
    EXPECT_EQ(openRegularFileForReading("/dev/null", 5, &stream), -2);
    EXPECT_EQ(isRegularFile(file("small").c_str()), 1);
    EXPECT_EQ(isRegularFile(file("fifo").c_str()), 0);
    EXPECT_EQ(isRegularFile(file("missing").c_str()), 0);
}

TEST_F(Files, LinksAreFollowedToTheNameTheyLeadTo) {
    std::string target;
    EXPECT_EQ(resolveFileLinks(file("plain").c_str(), &target), 0);
    EXPECT_EQ(target, file("plain"));
    ASSERT_EQ(::symlink("../up", file("rel").c_str()), 0);
    EXPECT_EQ(resolveFileLinks(file("rel").c_str(), &target), 0);
    EXPECT_EQ(target, dir + "/../up");
    ASSERT_EQ(::symlink("/abs/x", file("abs").c_str()), 0);
    ASSERT_EQ(::symlink("abs", file("chain").c_str()), 0);
    EXPECT_EQ(resolveFileLinks(file("chain").c_str(), &target), 0);
    EXPECT_EQ(target, "/abs/x");
    // 40 links in a row are followed, 41 are a loop.
    for (int i = 1; i <= 41; ++i) {
        ASSERT_EQ(
            ::symlink(("l" + std::to_string(i - 1)).c_str(), file("l" + std::to_string(i)).c_str()),
            0);
    }
    EXPECT_EQ(resolveFileLinks(file("l40").c_str(), &target), 0);
    EXPECT_EQ(target, file("l0"));
    EXPECT_EQ(resolveFileLinks(file("l41").c_str(), &target), -1);
    EXPECT_EQ(errno, ELOOP);
}
