// Double-byte mode from the system's ANSI code page (Windows).

#include <windows.h>

#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

TEST(MultibyteLocale, FollowsTheAnsiCodePage) {
    const LeadByteRange all{0x81, 0xFE};
    setLeadByteRanges(&all, 1);
    initMultibyteModeFromLocale();
    CPINFO info{};
    ASSERT_TRUE(GetCPInfo(GetACP(), &info));
    // The system's own description of the code page: lead-byte ranges exactly when it has any.
    EXPECT_EQ(isMultibyteMode(), info.LeadByte[0] != 0) << "code page " << GetACP();
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
        EXPECT_TRUE(isLeadByte(info.LeadByte[i]));
        EXPECT_TRUE(isLeadByte(info.LeadByte[i + 1]));
    }
    setLeadByteRanges(nullptr, 0);
}
