// The catalogue as data: the texts that operators see from this program, and the rules every
// entry keeps (size, uniqueness, encoding, no accidental fallback).
#include "errors/VEK_errorV3.h"
#include "errors/tests/catalogue_utf8.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

struct GoldenEntry {
    int kind;
    std::string german;
    std::string english;
};

// One line per kind: kind, German text and English text separated by tabs.
std::vector<GoldenEntry> readGolden() {
    std::ifstream in(TRZ4_CATALOGUE_GOLDEN, std::ios::binary);
    std::vector<GoldenEntry> entries;
    std::string line;
    while (std::getline(in, line)) {
        const size_t first = line.find('\t');
        const size_t second = line.find('\t', first + 1);
        if (first == std::string::npos || second == std::string::npos) {
            ADD_FAILURE() << "malformed golden line: " << line;
            continue;
        }
        entries.push_back({std::stoi(line.substr(0, first)),
                           line.substr(first + 1, second - first - 1), line.substr(second + 1)});
    }
    return entries;
}

// Kinds between 0 and 1034 that have no entry; every other kind in that range has one.
constexpr std::pair<int, int> kKindsWithoutEntry[] = {
    {1, 1},     {10, 99},   {104, 109},   {115, 115},  {121, 121}, {127, 199}, {203, 299},
    {309, 309}, {313, 314}, {326, 349},   {356, 357},  {365, 379}, {383, 399}, {410, 449},
    {451, 499}, {501, 502}, {512, 549},   {551, 599},  {601, 649}, {653, 699}, {707, 729},
    {733, 759}, {767, 779}, {781, 782},   {788, 799},  {804, 804}, {806, 849}, {856, 879},
    {883, 893}, {899, 999}, {1006, 1006}, {1009, 1009}};

bool hasNoEntry(int kind) {
    for (const auto &[low, high] : kKindsWithoutEntry) {
        if (kind >= low && kind <= high) {
            return true;
        }
    }
    return kind > 1034;
}

struct Entry {
    int kind = -1;
    const char *german = nullptr;
    const char *english = nullptr;
};

std::vector<Entry> allEntries() {
    std::vector<Entry> entries;
    for (int i = 0; i < vekCatalogueSize(); ++i) {
        Entry entry;
        EXPECT_TRUE(vekCatalogueEntry(i, &entry.kind, &entry.german, &entry.english));
        entries.push_back(entry);
    }
    return entries;
}

bool isSilentOrEmptyKind(int kind) {
    return kind == 6 || kind == 9;
}

} // namespace

TEST(CatalogueEntries, ListedTextsMatchGoldenByteForByte) {
    const std::vector<GoldenEntry> golden = readGolden();
    ASSERT_EQ(golden.size(), 25u);
    for (const GoldenEntry &expected : golden) {
        SCOPED_TRACE("kind " + std::to_string(expected.kind));
        const char *german = nullptr;
        const char *english = nullptr;
        ASSERT_TRUE(vekCatalogueFind(expected.kind, &german, &english));
        EXPECT_EQ(std::string(german), expected.german);
        EXPECT_EQ(std::string(english), expected.english);

        // The lookup returns the same bytes for any site of the kind.
        const int code = -(expected.kind * 1000 + 417);
        VEK_Fehlersprache(1);
        EXPECT_EQ(std::string(VEK_Fehlermeldung(code)), expected.german);
        VEK_Fehlersprache(2);
        EXPECT_EQ(std::string(VEK_Fehlermeldung(code)), expected.english);
    }
    VEK_Fehlersprache(1);
}

TEST(CatalogueEntries, KindsWithEntryAreExactlyTheCataloguedOnes) {
    EXPECT_EQ(vekCatalogueSize(), kVekCatalogueEntries);
    EXPECT_EQ(vekCatalogueSize(), 171);
    std::set<int> kinds;
    int previous = -1;
    for (const Entry &entry : allEntries()) {
        EXPECT_GT(entry.kind, previous) << "walk is in ascending kind order";
        previous = entry.kind;
        kinds.insert(entry.kind);
    }
    for (int kind = 0; kind <= 1100; ++kind) {
        EXPECT_EQ(kinds.count(kind) == 1, !hasNoEntry(kind)) << "kind " << kind;
        EXPECT_EQ(vekCatalogueFind(kind, nullptr, nullptr), !hasNoEntry(kind)) << "kind " << kind;
    }
}

// The encoding checks below are only as good as the validator they use.
TEST(CatalogueEntries, Utf8ValidatorRejectsMalformedText) {
    EXPECT_TRUE(isValidUtf8("Geräteadresse ß € \xF0\x9F\x98\x80"));
    for (const char *bad : {"\xC3", "\x80", "a\xC3(", "\xC0\xAF", "\xED\xA0\x80",
                            "\xF4\x90\x80\x80", "\xE2\x82", "\xFF"}) {
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
    }
}

TEST(CatalogueEntries, EveryTextIsShortValidAndNotTheFallback) {
    const std::string fallbackGerman = vekFallbackText(1);
    const std::string fallbackEnglish = vekFallbackText(2);
    for (const Entry &entry : allEntries()) {
        SCOPED_TRACE("kind " + std::to_string(entry.kind));
        for (const char *text : {entry.german, entry.english}) {
            ASSERT_NE(text, nullptr);
            const std::string value(text);
            EXPECT_LE(value.size(), static_cast<size_t>(kVekMaxCatalogueTextBytes));
            EXPECT_TRUE(isValidUtf8(value));
            EXPECT_EQ(value.find('\r'), std::string::npos);
            EXPECT_EQ(value.empty(), isSilentOrEmptyKind(entry.kind));
            EXPECT_NE(value, fallbackGerman);
            EXPECT_NE(value, fallbackEnglish);
        }
    }
}

TEST(CatalogueEntries, EveryKindHasItsOwnTextPerLanguage) {
    std::set<std::string> german;
    std::set<std::string> english;
    int nonEmpty = 0;
    for (const Entry &entry : allEntries()) {
        if (isSilentOrEmptyKind(entry.kind)) {
            continue;
        }
        ++nonEmpty;
        EXPECT_TRUE(german.insert(entry.german).second) << "duplicate German: " << entry.german;
        EXPECT_TRUE(english.insert(entry.english).second) << "duplicate English: " << entry.english;
    }
    EXPECT_EQ(nonEmpty, 169);
}

TEST(CatalogueEntries, WalkOutOfRangeAnswersFalseAndLeavesOutputsAlone) {
    int kind = 4711;
    const char *german = "unchanged";
    const char *english = "unchanged";
    for (int i : {-1, vekCatalogueSize(), vekCatalogueSize() + 1, INT_MIN, INT_MAX}) {
        EXPECT_FALSE(vekCatalogueEntry(i, &kind, &german, &english)) << i;
    }
    EXPECT_FALSE(vekCatalogueFind(1, &german, &english));
    EXPECT_FALSE(vekCatalogueFind(-400, &german, &english));
    EXPECT_EQ(kind, 4711);
    EXPECT_STREQ(german, "unchanged");
    EXPECT_STREQ(english, "unchanged");
    // Null out-parameters are allowed for callers that need only part of an entry.
    EXPECT_TRUE(vekCatalogueEntry(0, nullptr, nullptr, nullptr));
}
