// Programming errors end the program with the "Assert" report.

#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Death tests fork; the threadsafe style re-executes the binary and is robust under sanitizers.
class AssertDeath : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

void printingHook(const char *title, const char *text) {
    std::fprintf(stderr, "hook[%s]: %s\n", title, text);
}

} // namespace

TEST_F(AssertDeath, NullHandles) {
    EXPECT_DEATH(GetHandleSize(nullptr),
                 "Assert!\n\nParameter 1 to GetHandleSize was NULL.\n\nThe error was detected "
                 "on line [0-9]+ of file 'toolbox.cpp'.\n\nProgram aborting.");
    EXPECT_DEATH(SetHandleSize(nullptr, 4),
                 "Assert!\n\nParameter 1 to SetHandleSize was NULL.\n\nThe error was detected "
                 "on line [0-9]+ of file 'toolbox.cpp'.\n\nProgram aborting.");
}

TEST_F(AssertDeath, NullStrings) {
    EXPECT_DEATH(CmbStrLastChar(nullptr),
                 "Assert!\n\nProgramming error detected.\n\nThe error was detected on line "
                 "[0-9]+ of file 'toolbox.cpp'");
    EXPECT_DEATH(StringCopyMax(nullptr, "abc", 4),
                 "Null string passed to first parameter of StringCopyMax\n\nThe error was "
                 "detected on line [0-9]+ of file 'toolbox.cpp'");
}

TEST_F(AssertDeath, HookReceivesTitleAndTextThenAborts) {
    EXPECT_DEATH(
        {
            setAssertHook(printingHook);
            assertFailed("Something broke.", 42, "toolbox.cpp");
        },
        "hook\\[Assert\\]: Assert!\n\nSomething broke.\n\nThe error was detected on line 42 of "
        "file 'toolbox.cpp'.");
}
