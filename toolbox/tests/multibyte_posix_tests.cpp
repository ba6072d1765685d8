// Double-byte mode from the environment's locale (POSIX).

#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(MultibyteLocale, OffUnderUtf8AndSingleByteLocales) {
    for (const char *name : {"C.UTF-8", "C", "POSIX"}) {
        setenv("LC_ALL", name, 1);
        setLeadByteRanges(nullptr, 0);
        initMultibyteModeFromLocale();
        EXPECT_FALSE(isMultibyteMode()) << name;
    }
    unsetenv("LC_ALL");
}
