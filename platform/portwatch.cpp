// The port watch's parts that every system shares.
#include "platform/portwatch.h"

#include <algorithm>
#include <chrono>

bool PortWatch::waitForChange(int timeoutMs) {
    if (descriptor() < 0)
        return false;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        int wait = -1;
        if (timeoutMs >= 0) {
            auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            wait = static_cast<int>(std::max<long long>(left.count(), 0));
        }
        const int ready = waitReadable(wait);
        if (ready < 0)
            return false;
        if (ready > 0 && takeChanges())
            return true;
        // Only events that do not touch the list, or a signal: wait on for what is left.
        if (timeoutMs >= 0 && Clock::now() >= deadline)
            return false;
    }
}
