// Reading files where POSIX has its own rules: a FIFO, a link to it and devices are never read
// from, and a read never waits.

#include "inifile/inifile.h"
#include "inifile/tests/ini_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ini_test;

namespace {

struct DocDeleter {
    void operator()(IniDocument *doc) const { Ini_Dispose(doc); }
};
using Doc = std::unique_ptr<IniDocument, DocDeleter>;

// Ini_ReadFromFile in a child process that an alarm ends, so that a read that waits shows as
// a failure instead of stopping the test run. The result, or 1 when the child did not end.
int readFileBounded(const std::string &path) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return 1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(5);
        Doc doc(Ini_New(1));
        const int result = Ini_ReadFromFile(doc.get(), path.c_str());
        (void)!::write(pipeEnds[1], &result, sizeof result);
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    int result = 1;
    if (::read(pipeEnds[0], &result, sizeof result) != sizeof result) {
        result = 1;
    }
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    return result;
}
} // namespace

TEST(IniReadFile, OnlyRegularFilesAreRead) {
    ScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink(dir.file("fifo").c_str(), dir.file("link").c_str()), 0);
    for (const std::string &path : {dir.file("fifo"), dir.file("link"), std::string("/dev/zero"),
                                    std::string("/dev/urandom"), dir.path()}) {
        EXPECT_EQ(readFileBounded(path), kIniNotRegularFile) << path;
    }
}
