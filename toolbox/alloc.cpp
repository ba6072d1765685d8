// Allocation seam and the report of programming errors.

#include "toolbox/toolbox.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

// Successful allocations still allowed before every further one fails; negative: unlimited.
std::atomic<long> gAllocationsLeft{-1};
std::atomic<long> gAllocationCount{0};
std::atomic<AssertHook> gAssertHook{nullptr};

// Counts the attempt and decides whether it may go ahead.
bool allocationAllowed() {
    gAllocationCount.fetch_add(1, std::memory_order_relaxed);
    long left = gAllocationsLeft.load(std::memory_order_relaxed);
    if (left < 0) {
        return true;
    }
    if (left == 0) {
        return false;
    }
    gAllocationsLeft.store(left - 1, std::memory_order_relaxed);
    return true;
}

} // namespace

void *tbMalloc(std::size_t size) {
    return allocationAllowed() ? std::malloc(size) : nullptr;
}

void *tbCalloc(std::size_t count, std::size_t size) {
    return allocationAllowed() ? std::calloc(count, size) : nullptr;
}

void *tbRealloc(void *block, std::size_t size) {
    return allocationAllowed() ? std::realloc(block, size) : nullptr;
}

void tbFailAllocationsAfter(long n) {
    gAllocationsLeft.store(n < 0 ? -1 : n, std::memory_order_relaxed);
    gAllocationCount.store(0, std::memory_order_relaxed);
}

long tbAllocationCount() {
    return gAllocationCount.load(std::memory_order_relaxed);
}

void setAssertHook(AssertHook hook) {
    gAssertHook.store(hook);
}

void assertFailed(const char *message, int line, const char *file) {
    // A fixed buffer: this runs when the program is already in trouble, possibly out of memory.
    char text[1024];
    std::snprintf(text, sizeof text,
                  "Assert!\n\n%s\n\nThe error was detected on line %d of file '%s'.\n\n"
                  "Program aborting.",
                  message ? message : "", line, file ? file : "");
    if (AssertHook hook = gAssertHook.load()) {
        hook("Assert", text);
    } else {
        std::fprintf(stderr, "Assert\n%s\n", text);
        std::fflush(stderr);
    }
    std::abort();
}
