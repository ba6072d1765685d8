// Writing files on Windows: a cleaner right after the creation finds the temporary file held;
// and, with real processes (this test program started again as a child), a live writer's
// temporary file stays untouched, while a writer killed at any moment leaves the old or the new
// file, never a torn one, and at most one leftover that the next writer removes.

#include <windows.h>

#include "inifile/inifile.h"
#include "inifile/tests/ini_test_support.h"
#include "inifile/tests/write_fixture.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

// g++ 12 at -O3 reports -Wrestrict inside std::string's operator+ for a literal plus a
// temporary string ("s" + std::to_string(i)), an overlap that cannot happen: a false alarm of
// that compiler's optimised builds, silenced for this test file, which builds its texts that way.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wrestrict"
#endif

using namespace ini_test;

namespace {

// The child's job: "hold|<file>|<ready>" or "write|<file>|<ready>".
constexpr const wchar_t *kChildVariable = L"TRZ4_INI_TEST_CHILD";

std::wstring wide(const std::string &text) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size);
    return result;
}

// The two documents that the writer of the crash test alternates between.
Doc crashDocument(bool first) {
    Doc doc(Ini_New(0));
    for (int i = 0; i < 300; ++i) {
        const std::string section = "s" + std::to_string(i % 7);
        const std::string item = "item" + std::to_string(i);
        if (first)
            Ini_PutRawString(doc.get(), section.c_str(), item.c_str(),
                             std::string(90, 'a').c_str());
        else
            Ini_PutInt(doc.get(), section.c_str(), item.c_str(), i);
    }
    return doc;
}

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
        SetEnvironmentVariableW(kChildVariable, wide(job).c_str());
        if (CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                           &startup, &info)) {
            process = info.hProcess;
            CloseHandle(info.hThread);
        }
        SetEnvironmentVariableW(kChildVariable, nullptr);
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
    const char *job = std::getenv("TRZ4_INI_TEST_CHILD");
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
    EXPECT_EQ(fileContents(dir.file("x.ini")), golden("settings.ini"));
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
    TempDir dir;
    const std::string path = dir.file("settings.ini");
    const Doc first = crashDocument(true);
    const Doc second = crashDocument(false);
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
    // Fewer rounds than on Linux: each one starts a process, which is slow under Wine.
    for (int round = 0; round < 25; ++round) {
        Child child("write|" + path + "|" + dir.file("ready"));
        ASSERT_TRUE(child.started());
        ASSERT_TRUE(waitUntilReady(dir.file("ready")));
        std::this_thread::sleep_for(
            std::chrono::microseconds(static_cast<long>(random()) % spread));
        child.kill();
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
    EXPECT_GT(sawFirst + sawSecond, 0);
    ASSERT_EQ(Ini_WriteToFile(second.get(), path.c_str()), 0);
    EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"settings.ini"});
    std::printf("old-or-new: %d first, %d second, %d kills left a temporary file\n", sawFirst,
                sawSecond, leftovers);
}
