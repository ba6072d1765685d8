// The document model: ordering, lookups, replacement in place, typed values, escaping,
// removal, copying, the index lists of internal sorting, and allocation failure in puts.

#include "inifile/inifile.h"
#include "inifile/ini_model.h"
#include "inifile/tests/ini_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace ini_test;

namespace {

struct DocDeleter {
    void operator()(IniDocument *doc) const { Ini_Dispose(doc); }
};
using Doc = std::unique_ptr<IniDocument, DocDeleter>;

std::vector<std::string> itemNames(IniDocument *doc, const char *section) {
    std::vector<std::string> names;
    char *name = nullptr;
    for (int n = 1; Ini_NthItemName(doc, section, n, &name) == 1; ++n) {
        names.emplace_back(name);
    }
    return names;
}

std::vector<std::string> sectionNames(IniDocument *doc) {
    std::vector<std::string> names;
    char *name = nullptr;
    for (int n = 1; Ini_NthSectionName(doc, n, &name) == 1; ++n) {
        names.emplace_back(name);
    }
    return names;
}

std::string rawValue(IniDocument *doc, const char *section, const char *item) {
    char *value = nullptr;
    return Ini_GetPointerToRawString(doc, section, item, &value) == 1 ? value : "<missing>";
}

} // namespace

TEST(IniOrdering, AutomaticSortingKeepsNameOrder) {
    Doc doc(Ini_New(1));
    ASSERT_EQ(Ini_PutInt(doc.get(), "com", "lcom", 3), 0);
    ASSERT_EQ(Ini_PutInt(doc.get(), "com", "com", 3), 0);
    ASSERT_EQ(Ini_PutInt(doc.get(), "com", "adresse", 1), 0);
    Ini_PutInt(doc.get(), "b", "x", 1);
    Ini_PutInt(doc.get(), "A", "x", 1);
    EXPECT_EQ(itemNames(doc.get(), "com"), (std::vector<std::string>{"adresse", "com", "lcom"}));
    EXPECT_EQ(sectionNames(doc.get()), (std::vector<std::string>{"A", "b", "com"}));
}

TEST(IniOrdering, WithoutSortingInsertionOrderStays) {
    Doc doc(Ini_New(0));
    Ini_PutInt(doc.get(), "z", "lcom", 3);
    Ini_PutInt(doc.get(), "a", "x", 1);
    Ini_PutInt(doc.get(), "z", "com", 3);
    Ini_PutInt(doc.get(), "z", "adresse", 1);
    EXPECT_EQ(itemNames(doc.get(), "z"), (std::vector<std::string>{"lcom", "com", "adresse"}));
    EXPECT_EQ(sectionNames(doc.get()), (std::vector<std::string>{"z", "a"}));

    Ini_Sort(doc.get());
    EXPECT_EQ(itemNames(doc.get(), "z"), (std::vector<std::string>{"adresse", "com", "lcom"}));
    EXPECT_EQ(sectionNames(doc.get()), (std::vector<std::string>{"a", "z"}));
    // Sorting stays on for later puts until it is disabled.
    Ini_PutInt(doc.get(), "m", "x", 1);
    EXPECT_EQ(sectionNames(doc.get()), (std::vector<std::string>{"a", "m", "z"}));
    Ini_DisableSorting(doc.get());
    Ini_PutInt(doc.get(), "b", "x", 1);
    Ini_PutInt(doc.get(), "z", "b", 1);
    EXPECT_EQ(sectionNames(doc.get()), (std::vector<std::string>{"a", "m", "z", "b"}));
    EXPECT_EQ(itemNames(doc.get(), "z"), (std::vector<std::string>{"adresse", "com", "lcom", "b"}));
}

TEST(IniPut, ReplacesInPlaceOrAddsWithoutDuplicateChecking) {
    Doc doc(Ini_New(0));
    Ini_PutInt(doc.get(), "s", "x", 1);
    Ini_PutInt(doc.get(), "s", "y", 2);
    Ini_PutInt(doc.get(), "s", "z", 3);
    Ini_PutInt(doc.get(), "s", " Y ", 20);
    EXPECT_EQ(itemNames(doc.get(), "s"), (std::vector<std::string>{"x", "Y", "z"}));
    EXPECT_EQ(rawValue(doc.get(), "s", "y"), "20");

    EXPECT_EQ(Ini_SetDuplicateChecking(doc.get(), 0), 1);
    Ini_PutInt(doc.get(), "s", "x", 10);
    EXPECT_EQ(itemNames(doc.get(), "s"), (std::vector<std::string>{"x", "Y", "z", "x"}));
    EXPECT_EQ(rawValue(doc.get(), "s", "x"), "1"); // the first one wins
    EXPECT_EQ(Ini_SetDuplicateChecking(doc.get(), 7), 0);
    // With checking on again, every item of the name goes and the new one takes the first place.
    Ini_PutInt(doc.get(), "s", "x", 100);
    EXPECT_EQ(itemNames(doc.get(), "s"), (std::vector<std::string>{"x", "Y", "z"}));
    EXPECT_EQ(rawValue(doc.get(), "s", "x"), "100");
    EXPECT_EQ(Ini_RemoveItem(doc.get(), "s", "X"), 1);
    EXPECT_EQ(Ini_RemoveItem(doc.get(), "s", "x"), 0);
    EXPECT_EQ(Ini_NumberOfItems(doc.get(), "s"), 2);
}

TEST(IniLookup, IgnoresCaseAndBlanksAroundTheKey) {
    for (int sorted : {0, 1}) {
        Doc doc(Ini_New(sorted));
        Ini_PutInt(doc.get(), "com", "adresse", 49);
        Ini_PutInt(doc.get(), "other", "a_b", 7); // '_' sorts between upper and lower case
        Ini_PutInt(doc.get(), "other", "aab", 8);
        Ini_PutInt(doc.get(), "other", "AZB", 9);
        int value = 0;
        EXPECT_EQ(Ini_GetInt(doc.get(), " COM ", "\tAdresse ", &value), 1);
        EXPECT_EQ(value, 49);
        EXPECT_EQ(Ini_SectionExists(doc.get(), "  com"), 1);
        EXPECT_EQ(Ini_SectionExists(doc.get(), "co m"), 0);
        for (const char *name : {"a_b", "aab", "AZB", "A_B"}) {
            EXPECT_EQ(Ini_ItemExists(doc.get(), "other", name), 1) << name;
        }
    }
}

TEST(IniLookup, LineOfLastAccessAndMissingItems) {
    Doc doc(Ini_New(1));
    EXPECT_EQ(Ini_LineOfLastAccess(doc.get()), -1);
    Ini_PutInt(doc.get(), "com", "com", 3);
    int value = 77;
    EXPECT_EQ(Ini_GetInt(doc.get(), "com", "missing", &value), 0);
    EXPECT_EQ(Ini_GetInt(doc.get(), "missing", "com", &value), 0);
    EXPECT_EQ(value, 77);
    EXPECT_EQ(Ini_LineOfLastAccess(doc.get()), -1);
    EXPECT_EQ(Ini_ItemExists(doc.get(), "com", "com"), 1);
    EXPECT_EQ(Ini_LineOfLastAccess(doc.get()), 0);

    ASSERT_EQ(readString(doc.get(), "[r]\r\n\r\nx = 5\r\n"), 0);
    EXPECT_EQ(Ini_GetInt(doc.get(), "r", "x", &value), 1);
    EXPECT_EQ(Ini_LineOfLastAccess(doc.get()), 3);
}

TEST(IniLookup, NullArguments) {
    int value = 0;
    char *text = nullptr;
    EXPECT_EQ(Ini_PutInt(nullptr, "s", "i", 1), kIniNullArgument);
    EXPECT_EQ(Ini_GetInt(nullptr, "s", "i", &value), kIniNullArgument);
    EXPECT_EQ(Ini_SectionExists(nullptr, "s"), 0);
    EXPECT_EQ(Ini_NumberOfItems(nullptr, "s"), 0);
    EXPECT_EQ(Ini_NthItemName(nullptr, "s", 1, &text), 0);
    EXPECT_EQ(Ini_NumberOfSections(nullptr), kIniNullArgument);
    EXPECT_EQ(Ini_SortInternally(nullptr), kIniNullArgument);
    Ini_Sort(nullptr);
    Ini_DisableSorting(nullptr);
    Ini_DisableInternalSorting(nullptr);
    Ini_Dispose(nullptr);
    Doc doc(Ini_New(0));
    EXPECT_EQ(Ini_PutInt(doc.get(), nullptr, "i", 1), kIniNullArgument);
    EXPECT_EQ(Ini_PutInt(doc.get(), "s", nullptr, 1), kIniNullArgument);
    EXPECT_EQ(Ini_NthSectionName(doc.get(), 1, nullptr), kIniNullArgument);
    EXPECT_EQ(Ini_GetPointerToString(doc.get(), "s", "i", nullptr), kIniNullArgument);
    EXPECT_EQ(Ini_NthSectionName(doc.get(), 1, &text), 0);
}

TEST(IniValues, IntegersAndUnsigned) {
    Doc doc(Ini_New(0));
    Ini_PutInt(doc.get(), "s", "neg", -5);
    Ini_PutUInt(doc.get(), "s", "big", 4294967295u);
    Ini_PutRawString(doc.get(), "s", "blank", "  ");
    Ini_PutRawString(doc.get(), "s", "bad", "12a");
    Ini_PutRawString(doc.get(), "s", "spaced", " 42 ");
    EXPECT_EQ(rawValue(doc.get(), "s", "neg"), "-5");
    int value = 99;
    EXPECT_EQ(Ini_GetInt(doc.get(), "s", "neg", &value), 1);
    EXPECT_EQ(value, -5);
    value = 99;
    EXPECT_EQ(Ini_GetInt(doc.get(), "s", "blank", &value), 0);
    EXPECT_EQ(Ini_GetInt(doc.get(), "s", "bad", &value), kIniInvalidInteger);
    EXPECT_EQ(Ini_GetInt(doc.get(), "s", "big", &value), kIniInvalidInteger);
    EXPECT_EQ(value, 99);
    EXPECT_EQ(Ini_GetInt(doc.get(), "s", "spaced", &value), 1);
    EXPECT_EQ(value, 42);
    unsigned int u = 0;
    EXPECT_EQ(Ini_GetUInt(doc.get(), "s", "big", &u), 1);
    EXPECT_EQ(u, 4294967295u);
    EXPECT_EQ(Ini_GetUInt(doc.get(), "s", "neg", &u), kIniInvalidUnsigned);
}

TEST(IniValues, DoublesWithInfinities) {
    Doc doc(Ini_New(0));
    Ini_PutDouble(doc.get(), "s", "pi", 3.141592653589793);
    Ini_PutDouble(doc.get(), "s", "inf", HUGE_VAL);
    Ini_PutRawString(doc.get(), "s", "INF", "+iNf");
    Ini_PutRawString(doc.get(), "s", "minf", "-INF");
    Ini_PutRawString(doc.get(), "s", "bad", "1.5x");
    Ini_PutRawString(doc.get(), "s", "huge", "1e999");
    EXPECT_EQ(rawValue(doc.get(), "s", "pi"), "3.141592653589793");
    double value = 0;
    EXPECT_EQ(Ini_GetDouble(doc.get(), "s", "pi", &value), 1);
    EXPECT_DOUBLE_EQ(value, 3.141592653589793);
    EXPECT_EQ(Ini_GetDouble(doc.get(), "s", "inf", &value), 1); // replaced by "+iNf"
    EXPECT_EQ(value, HUGE_VAL);
    EXPECT_EQ(Ini_GetDouble(doc.get(), "s", "minf", &value), 1);
    EXPECT_EQ(value, -HUGE_VAL);
    EXPECT_EQ(Ini_GetDouble(doc.get(), "s", "bad", &value), kIniInvalidDouble);
    EXPECT_DOUBLE_EQ(value, 1.5); // strtod's result stays
    EXPECT_EQ(Ini_GetDouble(doc.get(), "s", "huge", &value), kIniInvalidDouble);
}

TEST(IniValues, Booleans) {
    Doc doc(Ini_New(0));
    Ini_PutBoolean(doc.get(), "s", "t", 5);
    Ini_PutBoolean(doc.get(), "s", "f", 0);
    Ini_PutRawString(doc.get(), "s", "lower", "tRUE");
    Ini_PutRawString(doc.get(), "s", "bad", "yes");
    EXPECT_EQ(rawValue(doc.get(), "s", "t"), "True");
    EXPECT_EQ(rawValue(doc.get(), "s", "f"), "False");
    int value = 7;
    EXPECT_EQ(Ini_GetBoolean(doc.get(), "s", "f", &value), 1);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(Ini_GetBoolean(doc.get(), "s", "lower", &value), 1);
    EXPECT_EQ(value, 1);
    value = 7;
    EXPECT_EQ(Ini_GetBoolean(doc.get(), "s", "bad", &value), kIniInvalidBoolean);
    EXPECT_EQ(value, 7);
}

TEST(IniValues, EscapedStringsRoundTrip) {
    const std::string text = std::string("a\"b\\c\td\ne\rf") + '\x01' + "\x7f end";
    char *escaped = EscapeString(text.c_str());
    ASSERT_NE(escaped, nullptr);
    EXPECT_STREQ(escaped, "a\\\"b\\\\c\\td\\ne\\rf\\x01\\x7f end");
    char *back = UnescapeString(escaped);
    EXPECT_EQ(std::string(back), text);
    std::free(escaped);
    std::free(back);
    // Other escapes, upper-case hex, a broken \x and a lone trailing backslash.
    back = UnescapeString("\\q\\x4A\\xZ1\\");
    EXPECT_STREQ(back, "qJxZ1\\");
    std::free(back);

    Doc doc(Ini_New(0));
    Ini_PutString(doc.get(), "s", "t", text.c_str());
    char *pointer = nullptr;
    EXPECT_EQ(Ini_GetPointerToString(doc.get(), "s", "t", &pointer), 1);
    EXPECT_EQ(std::string(pointer), text);
    char *copy = nullptr;
    EXPECT_EQ(Ini_GetStringCopy(doc.get(), "s", "t", &copy), 1);
    EXPECT_EQ(std::string(copy), text);
    std::free(copy);
    EXPECT_EQ(Ini_GetRawStringCopy(doc.get(), "s", "t", &copy), 1);
    EXPECT_STREQ(copy, "a\\\"b\\\\c\\td\\ne\\rf\\x01\\x7f end");
    std::free(copy);
    EXPECT_EQ(Ini_GetStringCopy(doc.get(), "s", "none", &copy), 0);
    EXPECT_EQ(copy, nullptr);

    char buffer[5] = "zzzz";
    // A copy into a buffer, even of a long value, leaves the pointer handed out above intact.
    Ini_PutString(doc.get(), "s", "long", std::string(5000, 'q').c_str());
    EXPECT_EQ(Ini_GetStringIntoBuffer(doc.get(), "s", "long", buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "qqqq");
    EXPECT_EQ(std::string(pointer), text);
    EXPECT_EQ(Ini_GetStringIntoBuffer(doc.get(), "s", "t", buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "a\"b\\");
    EXPECT_EQ(Ini_GetRawStringIntoBuffer(doc.get(), "s", "none", buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
}

TEST(IniValues, StringBufferGrowsForLongValues) {
    Doc doc(Ini_New(0));
    const std::string longText(5000, 'q');
    Ini_PutString(doc.get(), "s", "long", longText.c_str());
    char *pointer = nullptr;
    EXPECT_EQ(Ini_GetPointerToString(doc.get(), "s", "long", &pointer), 1);
    EXPECT_EQ(std::string(pointer), longText);
    EXPECT_EQ(GetHandleSize(doc->stringBuffer), 5120);
}

TEST(IniValues, DataRoundTrip) {
    Doc doc(Ini_New(0));
    const unsigned char bytes[] = {0, 1, 0x7f, 0x80, 0xff, '"', '\\'};
    ASSERT_EQ(Ini_PutData(doc.get(), "s", "d", bytes, sizeof bytes), 0);
    void *data = nullptr;
    int size = 0;
    ASSERT_EQ(Ini_GetData(doc.get(), "s", "d", &data, &size), 1);
    ASSERT_EQ(size, static_cast<int>(sizeof bytes));
    EXPECT_EQ(std::memcmp(data, bytes, sizeof bytes), 0);
    std::free(data);
    EXPECT_EQ(Ini_GetData(doc.get(), "s", "none", &data, &size), 0);
}

TEST(IniTokens, SeparatorAndMarkerLimits) {
    Doc doc(Ini_New(0));
    EXPECT_EQ(Ini_SetTokens(doc.get(), 0, 0, "123456789", nullptr), 0);
    EXPECT_STREQ(doc->valueSeparator, "1234567");
    EXPECT_STREQ(doc->spacedSeparator, " 1234567 ");
    EXPECT_EQ(doc->separatorLength, 7);
    EXPECT_EQ(doc->spacedSeparatorLength, 9);
    EXPECT_EQ(doc->sectionStart, '[');
    EXPECT_EQ(doc->sectionEnd, ']');
    Ini_SetTokens(doc.get(), '<', '>', "", "#");
    EXPECT_STREQ(doc->valueSeparator, "1234567");
    EXPECT_STREQ(doc->commentMarker, "#");

    Doc other(Ini_New(0));
    Ini_SetTokens(other.get(), '{', '}', ":", "//");
    ASSERT_EQ(readString(other.get(), "{s}\n// a: 1\n; b: 2\nc:3\nd=4\n"), 0);
    EXPECT_EQ(describe(snapshot(other.get())), "[s]\n  <; b> = <2> @3\n  <c> = <3> @4\n");
    EXPECT_EQ(writeString(other.get()), "{s}\r\n; b : 2\r\nc : 3\r\n\r\n");
}

TEST(IniStructure, RemoveAndCountSections) {
    Doc doc(Ini_New(0));
    Ini_PutInt(doc.get(), "a", "x", 1);
    Ini_PutInt(doc.get(), "b", "x", 2);
    EXPECT_EQ(Ini_SectionExists(doc.get(), "b"), 1); // b is now the last found
    EXPECT_EQ(Ini_RemoveSection(doc.get(), "B"), 1);
    EXPECT_EQ(Ini_RemoveSection(doc.get(), "b"), 0);
    EXPECT_EQ(Ini_SectionExists(doc.get(), "b"), 0);
    EXPECT_EQ(Ini_NumberOfSections(doc.get()), 1);
    Ini_PutInt(doc.get(), "b", "y", 3);
    EXPECT_EQ(itemNames(doc.get(), "b"), (std::vector<std::string>{"y"}));
}

TEST(IniStructure, CopySection) {
    Doc source(Ini_New(0));
    Ini_PutInt(source.get(), "a", "x", 1);
    Ini_PutString(source.get(), "a", "s", "t\"q");
    Ini_PutInt(source.get(), "b", "y", 2);
    Doc destination(Ini_New(0));
    Ini_PutInt(destination.get(), "a", "old", 0);
    ASSERT_EQ(Ini_CopySection(source.get(), "a", destination.get(), 0), 0);
    EXPECT_EQ(itemNames(destination.get(), "a"), (std::vector<std::string>{"old", "x", "s"}));
    EXPECT_EQ(rawValue(destination.get(), "a", "s"), "t\\\"q");
    ASSERT_EQ(Ini_CopySection(source.get(), nullptr, destination.get(), 1), 0);
    EXPECT_EQ(itemNames(destination.get(), "a"), (std::vector<std::string>{"x", "s"}));
    EXPECT_EQ(sectionNames(destination.get()), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Ini_CopySection(source.get(), nullptr, source.get(), 1), 0);
    EXPECT_EQ(Ini_NumberOfSections(source.get()), 2);
}

TEST(IniInternalSorting, IndexesServeLookupsAndFollowChanges) {
    Doc doc(Ini_New(0));
    for (const char *name : {"zeta", "alpha", "mid"}) {
        Ini_PutInt(doc.get(), name, "b", 1);
        Ini_PutInt(doc.get(), name, "a", 2);
    }
    ASSERT_EQ(Ini_SortInternally(doc.get()), 0);
    ASSERT_NE(doc->sectionIndex, nullptr);
    Ini_PutInt(doc.get(), "beta", "c", 3); // a new section goes into the index
    Ini_PutInt(doc.get(), "zeta", "0", 4);
    Ini_PutInt(doc.get(), "zeta", "b", 5); // replaced in place
    EXPECT_EQ(sectionNames(doc.get()), (std::vector<std::string>{"zeta", "alpha", "mid", "beta"}));
    EXPECT_EQ(itemNames(doc.get(), "zeta"), (std::vector<std::string>{"b", "a", "0"}));
    EXPECT_EQ(ListNumItems(doc->sectionIndex), 4);
    for (const char *name : {"zeta", "alpha", "mid", "beta"}) {
        EXPECT_EQ(Ini_SectionExists(doc.get(), name), 1) << name;
    }
    EXPECT_EQ(rawValue(doc.get(), "zeta", "b"), "5");
    EXPECT_EQ(Ini_RemoveSection(doc.get(), "mid"), 1);
    EXPECT_EQ(ListNumItems(doc->sectionIndex), 3);
    EXPECT_EQ(Ini_SectionExists(doc.get(), "mid"), 0);

    // A read keeps the indexes: they are rebuilt over the new sections.
    ASSERT_EQ(readString(doc.get(), "[new]\na=1\n"), 0);
    EXPECT_EQ(ListNumItems(doc->sectionIndex), 4);
    EXPECT_EQ(rawValue(doc.get(), "new", "a"), "1");
    Ini_DisableInternalSorting(doc.get());
    EXPECT_EQ(doc->sectionIndex, nullptr);
    EXPECT_EQ(rawValue(doc.get(), "new", "a"), "1");
}

TEST(IniInternalSorting, ReplacedItemKeepsEarliestPlace) {
    // Duplicates found through the name index need not come in list order; the new item
    // still takes the earliest place and the put succeeds.
    Doc doc(Ini_New(0));
    Ini_SetDuplicateChecking(doc.get(), 0);
    for (const char *name : {"k", "x", "k", "y", "k"}) {
        Ini_PutInt(doc.get(), "s", name, 0);
    }
    ASSERT_EQ(Ini_SortInternally(doc.get()), 0);
    Ini_SetDuplicateChecking(doc.get(), 1);
    ASSERT_EQ(Ini_PutInt(doc.get(), "s", "k", 9), 0);
    EXPECT_EQ(itemNames(doc.get(), "s"), (std::vector<std::string>{"k", "x", "y"}));
    EXPECT_EQ(rawValue(doc.get(), "s", "k"), "9");
}

TEST(IniAllocationFailure, NewAndPutFailCleanly) {
    for (long allowed = 0;; ++allowed) {
        tbFailAllocationsAfter(allowed);
        IniDocument *doc = Ini_New(1);
        tbFailAllocationsAfter(-1);
        if (doc) {
            Ini_Dispose(doc);
            break;
        }
    }
    for (int sorted : {0, 1}) {
        for (bool indexed : {false, true}) {
            Doc doc(Ini_New(sorted));
            Ini_PutInt(doc.get(), "keep", "a", 1);
            Ini_PutInt(doc.get(), "keep", "b", 2);
            if (indexed) {
                ASSERT_EQ(Ini_SortInternally(doc.get()), 0);
            }
            const DocumentSnapshot before = snapshot(doc.get());
            int failures = 0;
            for (long allowed = 0;; ++allowed) {
                tbFailAllocationsAfter(allowed);
                const int newSection = Ini_PutRawString(doc.get(), "new", "item", "v");
                const int newItem = newSection == 0 ? Ini_PutInt(doc.get(), "keep", "c", 3) : -1;
                tbFailAllocationsAfter(-1);
                if (newSection == 0 && newItem == 0) {
                    break;
                }
                ++failures;
                ASSERT_EQ(newSection == 0 ? newItem : newSection, kIniOutOfMemory);
                // A failed put leaves the document as it was (lookups still work).
                Ini_RemoveSection(doc.get(), "new");
                Ini_RemoveItem(doc.get(), "keep", "c");
                EXPECT_EQ(snapshot(doc.get()), before);
                EXPECT_EQ(rawValue(doc.get(), "keep", "b"), "2");
            }
            EXPECT_GT(failures, 2);
            EXPECT_EQ(rawValue(doc.get(), "new", "item"), "v");
            EXPECT_EQ(rawValue(doc.get(), "keep", "c"), "3");
        }
    }
}

TEST(IniAllocationFailure, SortInternallyLeavesNoHalfIndex) {
    Doc doc(Ini_New(0));
    Ini_PutInt(doc.get(), "a", "x", 1);
    Ini_PutInt(doc.get(), "b", "x", 1);
    for (long allowed = 0; allowed < 50; ++allowed) {
        tbFailAllocationsAfter(allowed);
        const int result = Ini_SortInternally(doc.get());
        tbFailAllocationsAfter(-1);
        if (result == 0) {
            break;
        }
        EXPECT_EQ(result, kIniOutOfMemory);
        EXPECT_EQ(doc->sectionIndex, nullptr);
        EXPECT_EQ(snapshot(doc.get())[0].items.size(), 1u);
    }
    EXPECT_NE(doc->sectionIndex, nullptr);
}

TEST(IniNameComparison, FastComparisonsAgreeWithTheStringHelpers) {
    // The lookups' own comparisons must order and match names exactly as the string helpers
    // do, or binary searches would miss items that exist.
    std::mt19937 random(99);
    const std::string alphabet = "aAzZ_[`~ \t09\x80\xa0\xe9";
    auto randomString = [&] {
        std::string s;
        const size_t length = random() % 6;
        for (size_t i = 0; i < length; ++i) {
            s += alphabet[random() % alphabet.size()];
        }
        return s;
    };
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (int i = 0; i < 20000; ++i) {
        const std::string a = randomString();
        const std::string b = randomString();
        ASSERT_EQ(sign(inifile::detail::compareNames(a.c_str(), b.c_str())),
                  sign(StrICmp(a.c_str(), b.c_str())))
            << "<" << a << "> <" << b << ">";
        ASSERT_EQ(sign(inifile::detail::compareKeyWithName(a.c_str(), b.c_str())),
                  sign(StrICmpWithoutSurrWhiteSpace(a.c_str(), b.c_str())))
            << "<" << a << "> <" << b << ">";
    }
}
