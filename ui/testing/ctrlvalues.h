// A control's value read back in a test, the way a test states what the panel shows.
#pragma once

#include "ui/uiruntime.h"

#include <gtest/gtest.h>

#include <string>

namespace ui::testing {

// The value of a text or numeric control; a read that the runtime refuses fails the test.
inline std::string ctrlText(int panel, int control) {
    std::string value = "<unread>";
    EXPECT_EQ(GetCtrlVal(panel, control, &value), 0) << "control " << control;
    return value;
}
inline int ctrlInt(int panel, int control) {
    int value = -12345;
    EXPECT_EQ(GetCtrlVal(panel, control, &value), 0) << "control " << control;
    return value;
}

} // namespace ui::testing
