// String helpers on zero-terminated byte strings, aware of double-byte characters.

#include "toolbox/toolbox.h"
#include "toolbox/list_internal.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using toolbox::detail::kAssertFile;

namespace {

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Whether s[index] is the second byte of a double-byte character, counted from the start.
// Only meaningful in double-byte mode; s[0 .. index] must be readable.
bool isTrailByte(const char *s, int index) {
    const char *target = s + index;
    const char *p = s;
    while (p < target) {
        p = mbsInc(p);
    }
    return p != target;
}

// The digits of a decimal number with optional sign and surrounding white space. Fails on
// everything else, including white space between the sign and the digits and a magnitude
// beyond 4294967295.
bool scanDecimal(const char *s, bool *negative, std::uint32_t *magnitude) {
    if (!s) {
        return false;
    }
    while (isSpace(*s)) {
        ++s;
    }
    bool sign = false;
    bool minus = false;
    bool digits = false;
    bool trailing = false;
    std::uint32_t value = 0;
    for (; *s; ++s) {
        const char c = *s;
        if (trailing) {
            if (!isSpace(c)) {
                return false;
            }
        } else if (c == '+' || c == '-') {
            if (sign || digits) {
                return false;
            }
            sign = true;
            minus = c == '-';
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            const std::uint32_t digit = static_cast<std::uint32_t>(c - '0');
            if (value > 429496729u || (value == 429496729u && digit > 5)) {
                return false;
            }
            value = value * 10 + digit;
            digits = true;
        } else if (isSpace(c) && (sign || digits)) {
            trailing = true;
        } else {
            return false;
        }
    }
    if (!digits) {
        return false;
    }
    *negative = minus;
    *magnitude = value;
    return true;
}

} // namespace

char *StringEnd(const char *s) {
    return s ? const_cast<char *>(s + std::strlen(s)) : nullptr;
}

char *CmbStrLastChar(const char *s) {
    if (!s) {
        assertFailed("Programming error detected.", __LINE__, kAssertFile);
    }
    if (*s == '\0') {
        return const_cast<char *>(s);
    }
    if (!isMultibyteMode()) {
        return const_cast<char *>(s + std::strlen(s) - 1);
    }
    // Backward stepping cannot tell a trail byte from a lead byte; walk from the start.
    const char *last = s;
    for (const char *p = s; *p; p = mbsInc(p)) {
        last = p;
    }
    return const_cast<char *>(last);
}

int CmbStrByteIs(const char *s, int index, int byte) {
    if (!s || index < 0) {
        return 0;
    }
    // Never read beyond the terminator: an index past the end of s answers 0.
    if (std::strlen(s) < static_cast<std::size_t>(index)) {
        return 0;
    }
    if (static_cast<unsigned char>(s[index]) != byte) {
        return 0;
    }
    if (isMultibyteMode() && isTrailByte(s, index)) {
        return 0;
    }
    return 1;
}

char *StrDup(const char *s) {
    if (!s) {
        return nullptr;
    }
    const std::size_t bytes = std::strlen(s) + 1;
    char *copy = static_cast<char *>(tbMalloc(bytes));
    if (copy) {
        std::memcpy(copy, s, bytes);
    }
    return copy;
}

char *SkipWhiteSpace(const char *s) {
    if (!s) {
        return nullptr;
    }
    while (isSpace(*s)) {
        ++s;
    }
    return const_cast<char *>(s);
}

int HasNonWhiteSpace(const char *s) {
    return s && *SkipWhiteSpace(s) != '\0' ? 1 : 0;
}

char *StrDupWithoutSurrWhiteSpace(const char *s) {
    if (!s) {
        return nullptr;
    }
    const char *start = SkipWhiteSpace(s);
    const char *end = start;
    if (*start) {
        const char *last = mbsDec(start, StringEnd(start));
        while (last > start && isSpace(*last)) {
            last = mbsDec(start, last);
        }
        end = mbsInc(last);
    }
    const std::size_t length = static_cast<std::size_t>(end - start);
    char *copy = static_cast<char *>(tbMalloc(length + 1));
    if (copy) {
        std::memcpy(copy, start, length);
        copy[length] = '\0';
    }
    return copy;
}

void StringCopyMax(char *dst, const char *src, int maxBytes) {
    if (!dst) {
        assertFailed("Null string passed to first parameter of StringCopyMax", __LINE__,
                     kAssertFile);
    }
    if (!src || maxBytes <= 0) {
        return;
    }
    const std::size_t n = std::strlen(src) + 1;
    const std::size_t limit = static_cast<std::size_t>(maxBytes);
    if (limit >= n) {
        std::memmove(dst, src, n);
        return;
    }
    // The cut would keep src[0 .. maxBytes - 2]. When the last kept byte leads a double-byte
    // character, the character is dropped whole. Decided on src before the move, as dst may
    // overlap it, and by walking from the start: a trail byte can carry a lead-byte value.
    std::size_t terminator = limit - 1;
    if (isMultibyteMode() && limit >= 2) {
        const char *lastKept = src + (limit - 2);
        const char *p = src;
        while (p < lastKept) {
            p = mbsInc(p);
        }
        if (p == lastKept && isLeadByte(static_cast<unsigned char>(*lastKept))) {
            terminator = limit - 2;
        }
    }
    std::memmove(dst, src, limit);
    dst[terminator] = '\0';
}

int StrICmp(const char *a, const char *b) {
    return mbsICmp(a, b);
}

int StrICmpWithoutSurrWhiteSpace(const char *a, const char *b) {
    if (!a) {
        return b ? -1 : 0;
    }
    if (!b) {
        return 1;
    }
    a = SkipWhiteSpace(a);
    b = SkipWhiteSpace(b);
    for (;;) {
        const bool aDouble =
            isMultibyteMode() && isLeadByte(static_cast<unsigned char>(*a)) && a[1];
        const bool bDouble =
            isMultibyteMode() && isLeadByte(static_cast<unsigned char>(*b)) && b[1];
        const unsigned x =
            aDouble ? static_cast<unsigned char>(a[0]) * 256u + static_cast<unsigned char>(a[1])
                    : static_cast<unsigned>(std::toupper(static_cast<unsigned char>(*a)));
        const unsigned y =
            bDouble ? static_cast<unsigned char>(b[0]) * 256u + static_cast<unsigned char>(b[1])
                    : static_cast<unsigned>(std::toupper(static_cast<unsigned char>(*b)));
        if (x == 0) {
            return *SkipWhiteSpace(b) == '\0' ? 0 : -1;
        }
        if (y == 0) {
            return *SkipWhiteSpace(a) == '\0' ? 0 : 1;
        }
        if (x != y) {
            return x < y ? -1 : 1;
        }
        a = mbsInc(a);
        b = mbsInc(b);
    }
}

int StrToInt(const char *s, int *value) {
    bool negative = false;
    std::uint32_t magnitude = 0;
    if (!value || !scanDecimal(s, &negative, &magnitude)) {
        return 0;
    }
    if (negative) {
        if (magnitude > 2147483648u) {
            return 0;
        }
        // Negating in 64 bits keeps -2147483648 free of signed overflow.
        *value = static_cast<int>(-static_cast<std::int64_t>(magnitude));
    } else {
        if (magnitude > 2147483647u) {
            return 0;
        }
        *value = static_cast<int>(magnitude);
    }
    return 1;
}

int StrToUInt(const char *s, unsigned int *value) {
    bool negative = false;
    std::uint32_t magnitude = 0;
    if (!value || !scanDecimal(s, &negative, &magnitude) || negative) {
        return 0;
    }
    *value = magnitude;
    return 1;
}
