// Double-byte mode: the lead-byte table and the character stepping built on it.

#include "toolbox/toolbox.h"

#include <array>
#include <cctype>
#include <string>

namespace {

std::array<bool, 256> gLeadBytes{};
bool gMultibyte = false;

struct CodesetLeadBytes {
    const char *codeset;
    LeadByteRange ranges[2];
    int count;
};

// Double-byte code pages and the lead-byte ranges their Windows counterparts declare.
// UTF-8 and the single-byte code sets are absent: they run with double-byte mode off.
constexpr CodesetLeadBytes kCodesets[] = {
    {"SHIFT_JIS", {{0x81, 0x9F}, {0xE0, 0xFC}}, 2},
    {"SJIS", {{0x81, 0x9F}, {0xE0, 0xFC}}, 2},
    {"CP932", {{0x81, 0x9F}, {0xE0, 0xFC}}, 2},
    {"WINDOWS-31J", {{0x81, 0x9F}, {0xE0, 0xFC}}, 2},
    {"GBK", {{0x81, 0xFE}, {0, 0}}, 1},
    {"CP936", {{0x81, 0xFE}, {0, 0}}, 1},
    {"GB2312", {{0x81, 0xFE}, {0, 0}}, 1},
    {"EUC-CN", {{0x81, 0xFE}, {0, 0}}, 1},
    {"BIG5", {{0x81, 0xFE}, {0, 0}}, 1},
    {"BIG5-HKSCS", {{0x81, 0xFE}, {0, 0}}, 1},
    {"CP950", {{0x81, 0xFE}, {0, 0}}, 1},
    {"EUC-KR", {{0x81, 0xFE}, {0, 0}}, 1},
    {"CP949", {{0x81, 0xFE}, {0, 0}}, 1},
    {"UHC", {{0x81, 0xFE}, {0, 0}}, 1},
};

// A lead byte followed by the terminator is no double-byte character: stepping must never
// carry past the end of the string.
bool startsDoubleByte(const char *p) {
    return gMultibyte && isLeadByte(static_cast<unsigned char>(p[0])) && p[1] != '\0';
}

// One character's value: lead * 256 + trail for a double-byte character, otherwise the byte
// folded to upper case.
unsigned charValue(const char *p) {
    if (startsDoubleByte(p)) {
        return static_cast<unsigned char>(p[0]) * 256u + static_cast<unsigned char>(p[1]);
    }
    return static_cast<unsigned>(std::toupper(static_cast<unsigned char>(p[0])));
}

// Code set names are compared without regard to ASCII letter case.
bool sameName(const char *a, const char *b) {
    for (; *a && *b; ++a, ++b) {
        if (std::toupper(static_cast<unsigned char>(*a)) !=
            std::toupper(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

} // namespace

bool setMultibyteModeForCodeset(const char *codeset) {
    for (const CodesetLeadBytes &entry : kCodesets) {
        if (codeset && sameName(codeset, entry.codeset)) {
            setLeadByteRanges(entry.ranges, entry.count);
            return true;
        }
    }
    setLeadByteRanges(nullptr, 0);
    return false;
}

void setLeadByteRanges(const LeadByteRange *ranges, int count) {
    gLeadBytes.fill(false);
    gMultibyte = false;
    if (!ranges) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        for (unsigned byte = ranges[i].first; byte <= ranges[i].last; ++byte) {
            // The terminator can never lead a character.
            if (byte != 0) {
                gLeadBytes[byte] = true;
                gMultibyte = true;
            }
        }
    }
}

bool isMultibyteMode() {
    return gMultibyte;
}

bool isLeadByte(unsigned char byte) {
    return gLeadBytes[byte];
}

const char *mbsInc(const char *current) {
    if (!current) {
        return nullptr;
    }
    return current + (startsDoubleByte(current) ? 2 : 1);
}

const char *mbsDec(const char *start, const char *current) {
    if (!start || !current || current <= start) {
        return nullptr;
    }
    if (!gMultibyte) {
        return current - 1;
    }
    // The byte before current either ends a single-byte character or is the trail of a pair.
    // Counting the run of lead-range bytes before it back to a byte that cannot be a lead
    // byte (and so ends a character) shows which: an odd run means the byte at current - 2
    // leads a pair with current - 1.
    const char *p = current - 1;
    int run = 0;
    while (p > start && isLeadByte(static_cast<unsigned char>(p[-1]))) {
        --p;
        ++run;
    }
    return (run % 2 == 1) ? current - 2 : current - 1;
}

int mbsICmp(const char *a, const char *b) {
    if (!a || !b) {
        return a == b ? 0 : (a ? 1 : -1);
    }
    for (;;) {
        const unsigned x = charValue(a);
        const unsigned y = charValue(b);
        if (x != y) {
            return x < y ? -1 : 1;
        }
        if (x == 0) {
            return 0;
        }
        a = mbsInc(a);
        b = mbsInc(b);
    }
}
