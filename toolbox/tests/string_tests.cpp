// String helpers in single-byte mode, decimal conversion tables and hex data.

#include "toolbox/tests/string_checks.h"
#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

TEST(Strings, EndsAndWhiteSpace) {
    const char *s = "abc";
    EXPECT_EQ(StringEnd(s), s + 3);
    EXPECT_EQ(CmbStrLastChar(s), s + 2);
    EXPECT_EQ(CmbStrLastChar(""), CmbStrLastChar("")); // the empty string itself
    const char *empty = "";
    EXPECT_EQ(CmbStrLastChar(empty), empty);
    const char *padded = " \t\n\v\f\rx ";
    EXPECT_EQ(SkipWhiteSpace(padded), padded + 6);
    EXPECT_EQ(SkipWhiteSpace(nullptr), nullptr);
    EXPECT_EQ(*SkipWhiteSpace("   "), '\0');
    EXPECT_EQ(HasNonWhiteSpace(nullptr), 0);
    EXPECT_EQ(HasNonWhiteSpace(" \t"), 0);
    EXPECT_EQ(HasNonWhiteSpace(" \tx"), 1);
}

TEST(Strings, ByteIs) {
    EXPECT_EQ(CmbStrByteIs("ab=", 2, '='), 1);
    EXPECT_EQ(CmbStrByteIs("ab=", 1, '='), 0);
    EXPECT_EQ(CmbStrByteIs("ab=", -1, 'a'), 0);
    EXPECT_EQ(CmbStrByteIs("ab=", 3, 0), 1);   // the terminator is readable
    EXPECT_EQ(CmbStrByteIs("ab=", 9, 'x'), 0); // past the end: not read
    EXPECT_EQ(CmbStrByteIs("\xE4", 0, 0xE4), 1);
    EXPECT_EQ(CmbStrByteIs(nullptr, 0, 'a'), 0);
}

TEST(Strings, Duplicates) {
    EXPECT_EQ(takeString(StrDup("Wert")), "Wert");
    EXPECT_EQ(StrDup(nullptr), nullptr);
    EXPECT_EQ(takeString(StrDupWithoutSurrWhiteSpace("  a b  ")), "a b");
    EXPECT_EQ(takeString(StrDupWithoutSurrWhiteSpace("   ")), "");
    EXPECT_EQ(takeString(StrDupWithoutSurrWhiteSpace("")), "");
    EXPECT_EQ(takeString(StrDupWithoutSurrWhiteSpace("x")), "x");
    EXPECT_EQ(takeString(StrDupWithoutSurrWhiteSpace("\t x\r\n")), "x");
    EXPECT_EQ(StrDupWithoutSurrWhiteSpace(nullptr), nullptr);
}

TEST(Strings, CopyMax) {
    expectCopies({{"abcdef", 4, "abc"},
                  {"abcdef", 7, "abcdef"},
                  {"abcdef", 16, "abcdef"},
                  {"abcdef", 0, nullptr},
                  {"abcdef", -3, nullptr},
                  {nullptr, 5, nullptr},
                  {"abcdef", 1, ""}});

    char overlap[] = "0123456789";
    StringCopyMax(overlap, overlap + 4, 4); // moving within one buffer
    EXPECT_STREQ(overlap, "456");
}

TEST(Strings, CaseInsensitiveComparison) {
    expectOrders(StrICmp, {{"Com", "cOM", Order::Same},
                           {"abc", "abd", Order::Less},
                           {"abcd", "ABC", Order::Greater},
                           {"", "a", Order::Less}});

    expectOrders(trimmedCompare, {{" Abc ", "aBC", Order::Same},
                                  {"abc", "abcd", Order::Less},
                                  {"abcd", "abc", Order::Greater},
                                  {"ab c", "abc", Order::Less},
                                  {"abc\t\n", "  ABC", Order::Same},
                                  {"b", "A", Order::Greater},
                                  {"", "   ", Order::Same},
                                  {nullptr, nullptr, Order::Same},
                                  {nullptr, "", Order::Less},
                                  {"", nullptr, Order::Greater}});
}

TEST(Strings, BothComparisonsFoldTheSameWay) {
    // Sorted indexes built with one comparison are searched with the other; characters
    // between 'Z' and 'a' must land on the same side of the letters in both.
    const char *pairs[][2] = {{"_x", "ax"}, {"[", "b"}, {"`", "Z"}, {"a_", "aZ"}};
    for (auto &pair : pairs) {
        const int plain = StrICmp(pair[0], pair[1]);
        EXPECT_EQ((plain > 0) - (plain < 0), StrICmpWithoutSurrWhiteSpace(pair[0], pair[1]))
            << pair[0] << " / " << pair[1];
    }
}

namespace {

struct IntCase {
    const char *text;
    bool ok;
    long long value;
};

// Converts each text into a variable that holds `untouched`: a text that is accepted gives its
// value, one that is refused leaves the variable as it was.
template <typename Value, std::size_t N>
void expectConversions(int (*convert)(const char *, Value *), const IntCase (&cases)[N],
                       Value untouched) {
    for (const IntCase &c : cases) {
        SCOPED_TRACE('"' + std::string(c.text) + '"');
        Value value = untouched;
        EXPECT_EQ(convert(c.text, &value), c.ok ? 1 : 0);
        EXPECT_EQ(value, c.ok ? static_cast<Value>(c.value) : untouched);
    }
}

} // namespace

TEST(StrToInt, AcceptsAndRejects) {
    const IntCase cases[] = {
        {" -2147483648 ", true, -2147483648LL},
        {"+7", true, 7},
        {"007", true, 7},
        {"2147483647", true, 2147483647},
        {"-0", true, 0},
        {"\t42\n", true, 42},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"4294967295", false, 0},
        {"4294967296", false, 0},
        {"99999999999", false, 0},
        {"- 5", false, 0},
        {"5-", false, 0},
        {"+-5", false, 0},
        {"1 2", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {"+", false, 0},
        {"-", false, 0},
        {"0x10", false, 0},
        {"12a", false, 0},
        {"1.0", false, 0},
    };
    expectConversions(StrToInt, cases, 12345);
    int value = 1;
    EXPECT_EQ(StrToInt(nullptr, &value), 0);
    EXPECT_EQ(StrToInt("5", nullptr), 0);
}

TEST(StrToUInt, AcceptsAndRejects) {
    const IntCase cases[] = {
        {"4294967295", true, 4294967295LL},
        {" +0 ", true, 0},
        {"2147483648", true, 2147483648LL},
        {"4294967296", false, 0},
        {"42949672950", false, 0},
        {"-1", false, 0},
        {"-0", false, 0},
        {"", false, 0},
        {"1 1", false, 0},
    };
    expectConversions(StrToUInt, cases, 777u);
}

TEST(HexData, RoundTripAndMalformedText) {
    const unsigned char data[] = {0x00, 0x7F, 0x80, 0xFF, 0x1A};
    char *text = ConvertDataToText(data, sizeof data);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "007F80FF1A");
    void *back = nullptr;
    int size = 0;
    ASSERT_EQ(ConvertTextToData(text, &back, &size), 1);
    ASSERT_EQ(size, 5);
    EXPECT_EQ(std::memcmp(back, data, 5), 0);
    std::free(back);
    std::free(text);

    ASSERT_EQ(ConvertTextToData("ab0c", &back, &size), 1);
    EXPECT_EQ(static_cast<unsigned char *>(back)[0], 0xAB);
    std::free(back);

    EXPECT_EQ(takeString(ConvertDataToText(nullptr, 0)), "");
    EXPECT_EQ(ConvertDataToText(nullptr, 3), nullptr);
    EXPECT_EQ(ConvertDataToText(data, -1), nullptr);

    void *untouched = &size;
    int oldSize = 99;
    for (const char *bad : {"abc", "0g", "12 3", " 1"}) {
        EXPECT_EQ(ConvertTextToData(bad, &untouched, &oldSize), 0) << bad;
    }
    EXPECT_EQ(untouched, &size);
    EXPECT_EQ(oldSize, 99);
    ASSERT_EQ(ConvertTextToData("", &back, &size), 1);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(back, nullptr);
}
