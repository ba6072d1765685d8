// File operations where POSIX has its own rules: symbolic links, FIFOs and devices, permission
// bits, renames of directories, and the injected write failure.

#include "platform/files.h"
#include "platform/tests/files_fixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

TEST_F(Files, LoopOfLinksCannotBeReportedOn) {
    ASSERT_EQ(::symlink(file("loop").c_str(), file("loop").c_str()), 0);
    EXPECT_EQ(GetFileInfo(file("loop").c_str(), nullptr), -1);
}

TEST_F(Files, RenameOfDirectories) {
    makeDirectory("full");
    write("full/inside", "");
    makeDirectory("empty");
    EXPECT_EQ(RenameFile(file("full").c_str(), file("empty").c_str()), 0);
    makeDirectory("other");
    write("other/x", "");
    EXPECT_EQ(RenameFile(file("empty").c_str(), file("other").c_str()), -2);
    EXPECT_EQ(RenameFile(file("empty").c_str(), file("empty/sub").c_str()), -5);
}

TEST_F(Files, ExclusiveCreateNeverFollowsALink) {
    ASSERT_EQ(::symlink(file("target").c_str(), file("link").c_str()), 0);
    EXPECT_EQ(openNewFileExclusive(file("link").c_str(), "wb"), nullptr);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_FALSE(exists("target"));
}

TEST_F(Files, OwnerGroupAndPermissionBitsAreCopied) {
    write("model", "");
    // Root's copy must keep a user's file the user's (nobody's, here); as anyone else only
    // the bits can be shown.
    const bool root = ::geteuid() == 0;
    const uid_t owner = root ? 65534 : ::geteuid();
    const gid_t group = root ? 65534 : ::getegid();
    ASSERT_EQ(::chown(file("model").c_str(), owner, group), 0);
    ::chmod(file("model").c_str(), 0640);
    FILE *stream = openNewFileExclusive(file("fresh").c_str(), "wb");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(copyFilePermissions(file("model").c_str(), stream), 0);
    std::fclose(stream);
    struct stat info {};
    ASSERT_EQ(::stat(file("fresh").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(info.st_uid, owner);
    EXPECT_EQ(info.st_gid, group);
}

TEST_F(Files, InjectedWriteFailure) {
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
}

TEST_F(Files, LinksAndFifosAreNoLeftovers) {
    write("target", "keep");
    ASSERT_EQ(::symlink(file("target").c_str(), file("link").c_str()), 0);
    ASSERT_EQ(::mkfifo(file("fifo").c_str(), 0600), 0);
    for (const char *name : {"link", "fifo"}) {
        EXPECT_EQ(removeUnheldFile(file(name).c_str()), 0) << name;
        EXPECT_TRUE(exists(name)) << name;
    }
    EXPECT_EQ(read("target"), "keep");
}

TEST_F(Files, FifosAndDevicesAreNeverReadFrom) {
    FILE *stream = nullptr;
    ASSERT_EQ(::mkfifo(file("fifo").c_str(), 0600), 0);
    EXPECT_EQ(openRegularFileForReading(file("fifo").c_str(), 5, &stream),
              FileOpenResult::NotRegularFile);
    EXPECT_EQ(openRegularFileForReading("/dev/null", 5, &stream), FileOpenResult::NotRegularFile);
    EXPECT_EQ(isRegularFile(file("fifo").c_str()), 0);
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
