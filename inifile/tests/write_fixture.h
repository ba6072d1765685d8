// What the tests of file writing share: documents, the golden files, and a scratch directory
// whose injected faults and hooks are cleared after each test.
#pragma once

#include "inifile/inifile.h"
#include "inifile/tests/ini_test_support.h"
#include "platform/files.h"
#include "platform/testing/files_testing.h"
#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace ini_test {

struct DocDeleter {
    void operator()(IniDocument *doc) const { Ini_Dispose(doc); }
};
using Doc = std::unique_ptr<IniDocument, DocDeleter>;

inline std::string golden(const std::string &name) {
    return readFileBytes(std::string(TRZ4_INI_GOLDEN_DIR) + "/" + name);
}

inline Doc settingsDocument(int com) {
    Doc doc(Ini_New(1));
    Ini_PutInt(doc.get(), "com", "com", com);
    Ini_PutInt(doc.get(), "com", "lcom", 3);
    Ini_PutInt(doc.get(), "com", "adresse", 1);
    return doc;
}

// 2000 items in 50 sections: a text long enough that an injected failure can strike in its
// middle.
inline Doc largeDocument() {
    Doc doc(Ini_New(0));
    for (int i = 0; i < 2000; ++i) {
        Ini_PutInt(doc.get(), ("section" + std::to_string(i % 50)).c_str(),
                   ("item" + std::to_string(i)).c_str(), i);
    }
    return doc;
}

class FileWriting : public ::testing::Test {
protected:
    void TearDown() override {
        setFileFaultForTesting(FileFault::None, 0);
        setBeforeHoldHookForTesting(nullptr, nullptr);
        tbFailAllocationsAfter(-1);
    }

    // A writer still at work on the temporary file `name`: it holds the file, which has `text`
    // in it so far. fclose ends the writer.
    FILE *liveWriter(const std::string &name, const char *text) const {
        FILE *live = openNewFileHeld(dir.file(name).c_str(), "wb");
        EXPECT_NE(live, nullptr) << name;
        if (live != nullptr) {
            EXPECT_GE(std::fputs(text, live), 0);
            EXPECT_EQ(std::fflush(live), 0);
        }
        return live;
    }
    // The temporary name that a writer of `path` takes now; its file is removed again.
    static std::string nextTemporaryName(const std::string &path) {
        FILE *stream = nullptr;
        char tempPath[kIniMaxPathBytes];
        EXPECT_EQ(CreateAndOpenTemporaryFile(path.c_str(), "ini$$", "TMP", "wb", tempPath, &stream),
                  0);
        if (stream == nullptr)
            return "";
        std::fclose(stream);
        RemoveFileIfExists(tempPath);
        return tempPath;
    }

    ScratchDir dir;
};

// g++ 12 at -O3 reports -Wrestrict inside std::string's operator+ for a literal plus a
// temporary string ("s" + std::to_string(i)), an overlap that cannot happen: a false alarm of
// that compiler's optimised builds, silenced for the helpers below, which build texts that way.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif

// The two documents that a writer in the crash tests alternates between.
inline Doc crashDocument(bool first) {
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

// Starts a writer process that writes the two crash documents to path in turn without end,
// and returns once it has begun; the function it returns kills the writer at once (as a crash
// or a power cut would) and waits until it is gone.
using StartWriter = std::function<std::function<void()>(const std::string &path, int round)>;

// The crash test: `rounds` times a writer is started and killed at a random moment, spread
// over about three writes. After each kill the file must be the old or the new document, never
// a torn one, with at most one leftover temporary file, which the next writer removes.
inline void killWritersAtRandomMoments(int rounds, const StartWriter &startWriter) {
    ScratchDir dir;
    const std::string path = dir.file("settings.ini");
    const Doc first = crashDocument(true);
    const Doc second = crashDocument(false);
    const std::string textFirst = writeString(first.get());
    const std::string textSecond = writeString(second.get());
    ASSERT_EQ(Ini_WriteToFile(first.get(), path.c_str()), 0);
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
    // Until both documents have turned up, up to ten times the rounds: a machine too busy to
    // let the writer run before the kill leaves the old file round after round.
    const auto exercised = [&] { return sawFirst > 0 && sawSecond > 0; };
    for (int round = 0; round < rounds || (!exercised() && round < 10 * rounds); ++round) {
        const std::function<void()> kill = startWriter(path, round);
        ASSERT_TRUE(kill) << "round " << round << ": the writer did not start";
        std::this_thread::sleep_for(
            std::chrono::microseconds(static_cast<long>(random()) % spread));
        kill();
        const std::string now = readFileBytes(path);
        ASSERT_TRUE(now == textFirst || now == textSecond)
            << "round " << round << ": torn file of " << now.size() << " bytes";
        (now == textFirst ? sawFirst : sawSecond)++;
        // A killed writer may leave its temporary file; the next writer removes it, so
        // leftovers never pile up.
        const size_t left = directoryEntries(dir.path()).size() - 1;
        ASSERT_LE(left, 1u) << "round " << round;
        leftovers += static_cast<int>(left);
    }
    // Both documents turn up, so the kills did land while the writers were writing.
    EXPECT_TRUE(exercised()) << sawFirst << " first, " << sawSecond << " second";
    ASSERT_EQ(Ini_WriteToFile(second.get(), path.c_str()), 0);
    EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"settings.ini"});
    std::printf("old-or-new: %d first, %d second, %d kills left a temporary file\n", sawFirst,
                sawSecond, leftovers);
}

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

} // namespace ini_test
