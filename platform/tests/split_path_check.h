// SplitPath's cases are a table per system (Windows adds drives and backslashes); each row is
// checked the same way on both.
#pragma once

#include "platform/files.h"

#include <gtest/gtest.h>

#include <initializer_list>

struct SplitCase {
    const char *path;
    const char *drive; // nullptr: no drive is asked for
    const char *directory;
    const char *name; // nullptr: no file name is asked for
};

// Splits each path into buffers that hold something else before, so that every part asked
// for is seen written, also where it is empty.
inline void expectSplits(std::initializer_list<SplitCase> cases) {
    for (const SplitCase &c : cases) {
        SCOPED_TRACE(c.path);
        char drive[64] = "x";
        char directory[64] = "x";
        char name[64] = "x";
        SplitPath(c.path, c.drive ? drive : nullptr, directory, c.name ? name : nullptr);
        if (c.drive) {
            EXPECT_STREQ(drive, c.drive);
        }
        EXPECT_STREQ(directory, c.directory);
        if (c.name) {
            EXPECT_STREQ(name, c.name);
        }
    }
}
