// The tests' scratch directories and file reader, which every folder's tests rely on to leave
// nothing behind and to see a file's bytes as written.
#include "platform/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

TEST(ScratchDir, IsFreshAndGoesWithItsContentsEvenWhenMadeUnwritable) {
    std::string path;
    {
        const ScratchDir one("scratch_test_");
        const ScratchDir two("scratch_test_");
        EXPECT_NE(one.path(), two.path());
        EXPECT_TRUE(fs::is_directory(one.path()));
        EXPECT_TRUE(fs::is_empty(one.path()));
        ASSERT_TRUE(fs::create_directory(one.file("sub")));
        std::ofstream(one.file("sub/a.txt")) << "x";
        fs::permissions(one.path(), fs::perms::owner_read | fs::perms::owner_exec);
        path = one.path();
    }
    EXPECT_FALSE(fs::exists(path));
}

TEST(ReadFileBytes, GivesTheStoredBytesAndNothingForAMissingFile) {
    const ScratchDir dir;
    const std::string bytes("a\r\nb\0c\n", 7);
    std::ofstream(dir.file("f"), std::ios::binary) << bytes;
    EXPECT_EQ(readFileBytes(dir.file("f")), bytes);
    EXPECT_EQ(readFileBytes(dir.file("missing")), "");
}
