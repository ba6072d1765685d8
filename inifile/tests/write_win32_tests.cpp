// Writing files on Windows: a cleaner right after the creation finds the temporary file held;
// and, with real processes (this test program started again as a child), a live writer's
// temporary file stays untouched, while a writer killed at any moment leaves the old or the new
// file, never a torn one, and at most one leftover that the next writer removes.

#include <windows.h>

#include "inifile/inifile.h"
#include "inifile/tests/ini_test_support.h"
#include "inifile/tests/write_fixture.h"
#include "platform/files.h"
#include "platform/tests/environment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace ini_test;

namespace {

// The child's job: "hold|<file>|<ready>" or "write|<file>|<ready>".
constexpr const char *kChildVariable = "TRZ4_INI_TEST_CHILD";

// This test program run again, as a child that runs only IniWin32Child.Work with a job.
class Child {
public:
    explicit Child(const std::string &job) {
        wchar_t program[MAX_PATH];
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        std::wstring commandLine =
            L"\"" + std::wstring(program) + L"\" --gtest_filter=IniWin32Child.Work";
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE nul =
            CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        &inherit, OPEN_EXISTING, 0, nullptr);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
        PROCESS_INFORMATION info{};
        setEnvironmentVariable(kChildVariable, job.c_str());
        if (CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                           &startup, &info)) {
            process = info.hProcess;
            CloseHandle(info.hThread);
        }
        setEnvironmentVariable(kChildVariable, nullptr);
        CloseHandle(nul);
    }
    ~Child() { kill(); }
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    bool started() const { return process != nullptr; }

    // Ends the child at once, as a crash or a power cut would, and waits until it is gone.
    void kill() {
        if (!process)
            return;
        TerminateProcess(process, 9);
        WaitForSingleObject(process, 20000);
        CloseHandle(process);
        process = nullptr;
    }

private:
    HANDLE process = nullptr;
};

// Waits until the child has made its ready file, and removes it, at most 20 seconds. The child
// may still have it open for a moment, which keeps it from being removed.
bool waitUntilReady(const std::string &ready) {
    for (int i = 0; i < 20000; ++i) {
        if (fileExists(ready) && std::remove(ready.c_str()) == 0)
            return true;
        Sleep(1);
    }
    return false;
}

} // namespace

// The child's part; skipped when the program runs as itself.
TEST(IniWin32Child, Work) {
    const char *job = std::getenv(kChildVariable);
    if (!job)
        GTEST_SKIP() << "runs only as the child of the tests below";
    const std::string text = job;
    const size_t first = text.find('|');
    const size_t second = text.find('|', first + 1);
    const std::string kind = text.substr(0, first);
    const std::string path = text.substr(first + 1, second - first - 1);
    const std::string ready = text.substr(second + 1);
    if (kind == "hold") {
        FILE *held = openNewFileHeld(path.c_str(), "wb");
        writeFileContents(ready, held ? "held" : "failed");
        Sleep(INFINITE);
    }
    const Doc documents[2] = {crashDocument(true), crashDocument(false)};
    writeFileContents(ready, "writing");
    for (int n = 0;; ++n)
        Ini_WriteToFile(documents[n % 2].get(), path.c_str());
}

TEST_F(FileWriting, ACleanerRightAfterTheCreationFindsTheTemporaryFileHeld) {
    auto cleaner = [](const char *path, void *data) {
        *static_cast<int *>(data) = removeUnheldFile(path);
    };
    int removed = -1;
    setBeforeHoldHookForTesting(cleaner, &removed);
    Doc doc = settingsDocument(3);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), dir.file("x.ini").c_str()), 0);
    setBeforeHoldHookForTesting(nullptr, nullptr);
    EXPECT_EQ(removed, 0);
    EXPECT_EQ(readFileBytes(dir.file("x.ini")), golden("settings.ini"));
    EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"x.ini"});
}

TEST_F(FileWriting, LiveWriterInAnotherProcessKeepsItsFile) {
    const std::string held = dir.file("ini$$0.TMP");
    Child child("hold|" + held + "|" + dir.file("ready"));
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(waitUntilReady(dir.file("ready")));
    Doc doc = settingsDocument(3);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), dir.file("x.ini").c_str()), 0);
    EXPECT_EQ(Ini_WriteToFile(doc.get(), dir.file("x.ini").c_str()), 0);
    EXPECT_TRUE(fileExists(held));
    // Once the writer is dead its file is a leftover.
    child.kill();
    EXPECT_EQ(Ini_WriteToFile(doc.get(), dir.file("x.ini").c_str()), 0);
    EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"x.ini"});
}

TEST(IniCrashSafety, KilledWriterLeavesOldOrNewFile) {
    // Fewer rounds than on Linux: each one starts a process, which is slow under Wine.
    killWritersAtRandomMoments(25, [](const std::string &path, int) {
        const std::string ready = path + ".ready";
        auto child = std::make_shared<Child>("write|" + path + "|" + ready);
        std::function<void()> kill;
        if (child->started() && waitUntilReady(ready))
            kill = [child] { child->kill(); };
        return kill;
    });
}
