// Programming errors end the program with the "Assert" report.

#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Death tests fork; the threadsafe style re-executes the binary and is robust under sanitizers.
class AssertDeath : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

void printingHook(const char *title, const char *text) {
    std::fprintf(stderr, "hook[%s]: %s\n", title, text);
}

// The pattern of a report: line ends may come as CR LF (stderr in text mode on Windows), and the
// line number is any number. Written for both of GoogleTest's regular-expression engines (POSIX
// on Linux, its own simple one on Windows, which has no bracket classes).
std::string report(std::string text) {
    std::string pattern;
    for (char c : text) {
        if (c == '\n')
            pattern += "\r?\n";
        else if (c == '#')
            pattern += ".*";
        else
            pattern += c;
    }
    return pattern;
}

} // namespace

TEST_F(AssertDeath, NullHandles) {
    EXPECT_DEATH(GetHandleSize(nullptr),
                 report("Assert!\n\nParameter 1 to GetHandleSize was NULL.\n\nThe error was "
                        "detected on line # of file 'toolbox.cpp'.\n\nProgram aborting."));
    EXPECT_DEATH(SetHandleSize(nullptr, 4),
                 report("Assert!\n\nParameter 1 to SetHandleSize was NULL.\n\nThe error was "
                        "detected on line # of file 'toolbox.cpp'.\n\nProgram aborting."));
}

TEST_F(AssertDeath, NullStrings) {
    EXPECT_DEATH(CmbStrLastChar(nullptr),
                 report("Assert!\n\nProgramming error detected.\n\nThe error was detected on "
                        "line # of file 'toolbox.cpp'"));
    EXPECT_DEATH(StringCopyMax(nullptr, "abc", 4),
                 report("Null string passed to first parameter of StringCopyMax\n\nThe error "
                        "was detected on line # of file 'toolbox.cpp'"));
}

TEST_F(AssertDeath, HookReceivesTitleAndTextThenAborts) {
    EXPECT_DEATH(
        {
            setAssertHook(printingHook);
            assertFailed("Something broke.", 42, "toolbox.cpp");
        },
        report("hook\\[Assert\\]: Assert!\n\nSomething broke.\n\nThe error was detected on line "
               "42 of file 'toolbox.cpp'."));
}
