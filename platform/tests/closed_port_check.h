// What every system's serial layer answers for a port that is not open.
#pragma once

#include "platform/rs232.h"

#include <gtest/gtest.h>

// Every call on com, which is not open, answers kComNotOpen; port 0 is no port at all.
inline void expectEveryCallFindsThePortClosed(int com) {
    EXPECT_EQ(CloseCom(com), kComNotOpen);
    EXPECT_EQ(SetComTime(com, 1.0), kComNotOpen);
    EXPECT_EQ(FlushInQ(com), kComNotOpen);
    EXPECT_EQ(FlushOutQ(com), kComNotOpen);
    EXPECT_EQ(ComWrt(com, "#", 1), kComNotOpen);
    EXPECT_EQ(GetOutQLen(com), kComNotOpen);
    EXPECT_EQ(ComRdByte(com), kComNotOpen);
    EXPECT_EQ(ComRdByte(0), kComInvalidPort);
}
