// Internal layout shared by the list and sort sources of the toolbox. Not part of the contract.
#pragma once

#include "toolbox/toolbox.h"

#include <cstddef>

namespace toolbox::detail {

// Every programming-error report of this library names the same module, whichever source
// file detected it, so that the text a user reports points at one place.
inline constexpr const char *kAssertFile = "toolbox.cpp";

// The record a Handle points at. The block address must stay the first member: dereferencing
// the handle once yields the block.
struct HandleRecord {
    void *block;
    int size;
};

inline HandleRecord *record(Handle handle) {
    return reinterpret_cast<HandleRecord *>(handle);
}

struct ListHeader {
    int growthPercentage;
    int minimumGrowth;
    int capacity;
    int itemSize;
    int count;
};

// The header is padded so that the first item is aligned for any type. Without the padding,
// items holding pointers or doubles would start at byte 20, a misaligned address on 64-bit
// targets (undefined behaviour when the caller dereferences ListGetPtrToItem).
inline constexpr int kHeaderBytes =
    static_cast<int>((sizeof(ListHeader) + alignof(std::max_align_t) - 1) /
                     alignof(std::max_align_t) * alignof(std::max_align_t));

inline ListHeader *header(ListHandle list) {
    return static_cast<ListHeader *>(*list);
}
inline char *items(ListHandle list) {
    return static_cast<char *>(*list) + kHeaderBytes;
}

} // namespace toolbox::detail
