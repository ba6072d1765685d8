// Waiting in a test for something the event loop brings about, as the idle program would let
// it happen.
#pragma once

#include <functional>

namespace ui::testing {

// Processes events until `done` is true or `limitMs` milliseconds have passed; returns `done`
// at the end. A test that expects nothing to happen waits the whole limit.
bool spinUntil(const std::function<bool()> &done, int limitMs = 5000);

} // namespace ui::testing
