// The string helpers in double-byte mode, with the lead-byte ranges of the Japanese code page.
// 0x82 0xA0 is one character; 0x81 0x81 is one character whose trail has a lead-byte value.

#include "toolbox/tests/string_checks.h"
#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class DoubleByte : public ::testing::Test {
protected:
    void SetUp() override {
        static const LeadByteRange kShiftJis[] = {{0x81, 0x9F}, {0xE0, 0xFC}};
        setLeadByteRanges(kShiftJis, 2);
    }
    void TearDown() override { setLeadByteRanges(nullptr, 0); }
};

} // namespace

TEST_F(DoubleByte, ModeSwitches) {
    EXPECT_TRUE(isMultibyteMode());
    EXPECT_TRUE(isLeadByte(0x81));
    EXPECT_TRUE(isLeadByte(0xFC));
    EXPECT_FALSE(isLeadByte(0xA0));
    EXPECT_FALSE(isLeadByte('a'));
    setLeadByteRanges(nullptr, 0);
    EXPECT_FALSE(isMultibyteMode());
    EXPECT_FALSE(isLeadByte(0x81));
}

TEST_F(DoubleByte, SteppingForwardAndBack) {
    const char *s = "a\x82\xA0\x81\x81z";
    EXPECT_EQ(mbsInc(s), s + 1);
    EXPECT_EQ(mbsInc(s + 1), s + 3);
    EXPECT_EQ(mbsInc(s + 3), s + 5);
    const char *end = s + std::strlen(s);
    EXPECT_EQ(mbsDec(s, end), s + 5);
    EXPECT_EQ(mbsDec(s, s + 5), s + 3); // trail byte with lead value: still one character
    EXPECT_EQ(mbsDec(s, s + 3), s + 1);
    EXPECT_EQ(mbsDec(s, s + 1), s);
    EXPECT_EQ(mbsDec(s, s), nullptr);

    const char *dangling = "a\x82"; // a lead byte cut off by the terminator
    EXPECT_EQ(mbsInc(dangling + 1), dangling + 2);
}

TEST_F(DoubleByte, LastCharAndByteIs) {
    const char *s = "a\x82\xA0";
    EXPECT_EQ(CmbStrLastChar(s), s + 1);
    const char *t = "\x81\x81\x81\x81";
    EXPECT_EQ(CmbStrLastChar(t), t + 2);
    const char *u = "\x81\x81x";
    EXPECT_EQ(CmbStrLastChar(u), u + 2);

    // 0x5C ('\\') is a valid trail byte: it must not be taken for a backslash there.
    const char *path = "\x95\x5C\\";
    EXPECT_EQ(CmbStrByteIs(path, 1, '\\'), 0);
    EXPECT_EQ(CmbStrByteIs(path, 2, '\\'), 1);
    EXPECT_EQ(CmbStrByteIs(path, 0, 0x95), 1);
    EXPECT_EQ(CmbStrByteIs(t, 3, 0x81), 0);
    EXPECT_EQ(CmbStrByteIs(t, 2, 0x81), 1);
}

TEST_F(DoubleByte, TrimKeepsWholeCharacters) {
    EXPECT_EQ(takeString(StrDupWithoutSurrWhiteSpace("  \x82\xA0  ")), "\x82\xA0");
    EXPECT_EQ(takeString(StrDupWithoutSurrWhiteSpace(" a\x81\x81 ")), "a\x81\x81");
    EXPECT_EQ(takeString(StrDupWithoutSurrWhiteSpace(" a\x82")), "a\x82");
}

TEST_F(DoubleByte, CopyMaxNeverLeavesHalfACharacter) {
    expectCopies({{"ab\x82\xA0", 4, "ab"},        // would keep the lead byte alone
                  {"a\x82\xA0z", 4, "a\x82\xA0"}, // cut after the whole character
                  // The byte before the cut is a trail byte with a lead-byte value: the pair
                  // stays whole.
                  {"\x81\x81\x81\x81", 4, "\x81\x81"},
                  {"a\x81\x81z", 4, "a\x81\x81"},
                  {"\x82\xA0", 1, ""}});
}

TEST_F(DoubleByte, ComparisonsTreatPairsAsUnits) {
    // 0x82 0x61 and 0x82 0x41 differ in a trail byte that looks like a letter: no folding.
    expectOrders(StrICmp, {{"a\x82\xA0", "A\x82\xA0", Order::Same},
                           {"\x82\x61", "\x82\x41", Order::Differs},
                           {"z", "\x82\xA0", Order::Less}});
    expectOrders(mbsICmp, {{"\x82\x61", "\x82\x41", Order::Differs}});

    expectOrders(trimmedCompare, {{" \x82\xA0x ", "\x82\xA0X", Order::Same},
                                  {"\x82\x61", "\x82\x41", Order::Differs},
                                  {"\x82\xA0", "\x82\xA1", Order::Less},
                                  {"\x82\xA0", "Z", Order::Greater}});
}

TEST(MultibyteLocale, CodesetsDecideTheMode) {
    EXPECT_TRUE(setMultibyteModeForCodeset("SHIFT_JIS"));
    EXPECT_TRUE(isLeadByte(0x9F));
    EXPECT_FALSE(isLeadByte(0xA0));
    EXPECT_TRUE(isLeadByte(0xE0));
    EXPECT_TRUE(setMultibyteModeForCodeset("gbk"));
    EXPECT_TRUE(isLeadByte(0xA0));
    for (const char *singleOrUtf8 : {"UTF-8", "ISO-8859-1", "ANSI_X3.4-1968", "CP1252", ""}) {
        EXPECT_FALSE(setMultibyteModeForCodeset(singleOrUtf8)) << singleOrUtf8;
        EXPECT_FALSE(isMultibyteMode());
    }
    EXPECT_FALSE(setMultibyteModeForCodeset(nullptr));
}

TEST(MultibyteLocale, CodePagesDecideTheMode) {
    EXPECT_TRUE(setMultibyteModeForCodePage(932));
    EXPECT_FALSE(isLeadByte(0x80));
    EXPECT_TRUE(isLeadByte(0x81));
    EXPECT_TRUE(isLeadByte(0x9F));
    EXPECT_FALSE(isLeadByte(0xA0));
    EXPECT_TRUE(isLeadByte(0xE0));
    EXPECT_TRUE(isLeadByte(0xFC));
    EXPECT_FALSE(isLeadByte(0xFD));
    EXPECT_TRUE(setMultibyteModeForCodePage(936));
    EXPECT_TRUE(isLeadByte(0xA0));
    EXPECT_TRUE(isLeadByte(0xFE));
    for (unsigned singleOrUtf8 : {1252u, 65001u, 437u}) {
        EXPECT_FALSE(setMultibyteModeForCodePage(singleOrUtf8)) << singleOrUtf8;
        EXPECT_FALSE(isMultibyteMode());
    }
}
