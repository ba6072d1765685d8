// What the string tests of single-byte and double-byte mode check alike: strings the helpers
// allocate, bounded copies, and comparisons, as tables of cases.
#pragma once

#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

// The text of a string a helper allocated, which it frees; "<null>" for none.
inline std::string takeString(char *s) {
    std::string out = s ? s : "<null>";
    std::free(s);
    return out;
}

// StringCopyMax of src into a buffer of '#', at most maxBytes bytes; copy is what the buffer
// then holds, nullptr where nothing may be written.
struct Copy {
    const char *src;
    int maxBytes;
    const char *copy;
};

inline void expectCopies(std::initializer_list<Copy> cases) {
    for (const Copy &c : cases) {
        SCOPED_TRACE(std::string(c.src ? c.src : "<null>") + " in " + std::to_string(c.maxBytes));
        char dst[16];
        std::memset(dst, '#', sizeof dst);
        StringCopyMax(dst, c.src, c.maxBytes);
        if (c.copy) {
            EXPECT_STREQ(dst, c.copy);
        } else {
            EXPECT_EQ(dst[0], '#');
        }
        if (c.maxBytes >= 0 && c.maxBytes < static_cast<int>(sizeof dst)) {
            EXPECT_EQ(dst[c.maxBytes], '#') << "written past maxBytes";
        }
    }
}

// The order a comparison must find between two strings: the sign of its answer, or for
// Differs only that the answer is not 0, where which string comes first is no promise.
enum class Order { Less = -1, Same = 0, Greater = 1, Differs = 2 };

struct Comparison {
    const char *a;
    const char *b;
    Order order;
};

template <typename Compare>
void expectOrders(Compare compare, std::initializer_list<Comparison> cases) {
    for (const Comparison &c : cases) {
        SCOPED_TRACE(std::string(c.a ? c.a : "<null>") + " / " + (c.b ? c.b : "<null>"));
        const int result = compare(c.a, c.b);
        if (c.order == Order::Differs) {
            EXPECT_NE(result, 0);
        } else {
            EXPECT_EQ((result > 0) - (result < 0), static_cast<int>(c.order)) << result;
        }
    }
}

// StrICmpWithoutSurrWhiteSpace, checked also for answering -1, 0 or 1 and nothing else.
inline int trimmedCompare(const char *a, const char *b) {
    const int result = StrICmpWithoutSurrWhiteSpace(a, b);
    EXPECT_TRUE(result == -1 || result == 0 || result == 1) << result;
    return result;
}
