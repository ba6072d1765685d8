// Message lookup: the quotient rule, the language switch, the one-shot user string and the
// byte limits of the module's buffers.
#include "errors/VEK_errorV3.h"
#include "errors/tests/catalogue_utf8.h"
#include "text/texts.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

const std::string kGermanFallback = "Ein unbekannter Fehler ist aufgetreten";
const std::string kEnglishFallback = "A unknown error occured";
const std::string kNoAnswer = "Keine Antwort vom Gerät";

// The module state is process-wide; every case starts from the state at program start.
class CatalogueLookup : public ::testing::Test {
protected:
    void SetUp() override { resetModule(); }
    void TearDown() override { resetModule(); }
    static void resetModule() {
        VEK_Fehlersprache(1);
        VEK_Fehleruserstring("");
    }
    static std::string message(int code) { return VEK_Fehlermeldung(code); }
};

struct Lookup {
    int code;
    int language;
    std::string expected;
};

} // namespace

TEST_F(CatalogueLookup, CodesGiveTheTextOfTheirQuotient) {
    const Lookup cases[] = {
        // Quotient 0 is the no-error entry, whatever the sign and the site.
        {0, 1, "Es ist kein Fehler aufgetreten"},
        {-999, 1, "Es ist kein Fehler aufgetreten"},
        {999, 1, "Es ist kein Fehler aufgetreten"},
        {-999, 2, "No error"},
        {999, 2, "No error"},
        // The site plays no part.
        {-400301, 1, "Unzulässige Geräteadresse"},
        {-400000, 1, "Unzulässige Geräteadresse"},
        {-400999, 2, "invalid deviceaddress"},
        {-122500, 1, "Serielle Schnittstelle ist nicht geöffnet"},
        {-125001, 1, "Unzulässige Baudrate"},
        {-1034999, 2, "Archiving of test data failed"},
        // Kinds 6 and 9 are empty texts.
        {-6000, 1, ""},
        {-9999, 1, ""},
        {-6123, 2, ""},
        // Kinds without entry, positive quotients and extreme codes fall back.
        {-1000, 1, kGermanFallback},
        {-1999, 2, kEnglishFallback},
        {-99999, 1, kGermanFallback},
        {-1035000, 1, kGermanFallback},
        {1000, 1, kGermanFallback},
        {400301, 2, kEnglishFallback},
        {INT_MIN, 1, kGermanFallback},
        {INT_MIN + 1, 2, kEnglishFallback},
        {INT_MAX, 1, kGermanFallback},
        {INT_MAX, 2, kEnglishFallback},
        // Only the language value 2 selects English.
        {-403012, 0, kNoAnswer},
        {-403012, 3, kNoAnswer},
        {-403012, -2, kNoAnswer},
        {-403012, INT_MIN, kNoAnswer},
        {-403012, 2, "No answer from device"},
    };
    for (const Lookup &lookup : cases) {
        VEK_Fehlersprache(lookup.language);
        EXPECT_EQ(vekLanguage(), lookup.language);
        EXPECT_EQ(message(lookup.code), lookup.expected)
            << "code " << lookup.code << " language " << lookup.language;
    }
    EXPECT_STREQ(vekFallbackText(2), kEnglishFallback.c_str());
    EXPECT_STREQ(vekFallbackText(7), kGermanFallback.c_str());
}

TEST_F(CatalogueLookup, UserStringIsAttachedOnceOnItsOwnLine) {
    VEK_Fehleruserstring("COM3");
    EXPECT_EQ(message(-403012), kNoAnswer + "\nCOM3");
    EXPECT_EQ(message(-403012), kNoAnswer);

    VEK_Fehleruserstring("erster");
    VEK_Fehleruserstring("zweiter");
    EXPECT_EQ(message(-403012), kNoAnswer + "\nzweiter");

    // Empty texts still carry the user string, and so do the no-error and fallback texts.
    VEK_Fehleruserstring("COM3");
    EXPECT_EQ(message(-6000), "\nCOM3");
    VEK_Fehleruserstring("COM4");
    EXPECT_EQ(message(0), "Es ist kein Fehler aufgetreten\nCOM4");
    VEK_Fehleruserstring("COM5");
    EXPECT_EQ(message(-1000), kGermanFallback + "\nCOM5");
    EXPECT_EQ(message(-1000), kGermanFallback);

    // A null pointer or an empty text withdraws a pending user string.
    VEK_Fehleruserstring("COM6");
    VEK_Fehleruserstring(nullptr);
    EXPECT_EQ(message(-403012), kNoAnswer);

    // The caller may hand in the previous message itself.
    VEK_Fehleruserstring(VEK_Fehlermeldung(-802201));
    EXPECT_EQ(message(-403012), kNoAnswer + "\nINI-Datei nicht gefunden");
}

// The value 2 selects the process's language when that is not German: the pseudo-language made
// from the English text, whose longer form is cut before a character that would cross the
// buffer's limit, never inside it.
TEST_F(CatalogueLookup, TheValue2SelectsTheProcesssLanguageCutOnlyBetweenCharacters) {
    setLanguage(Language::Pseudo);
    VEK_Fehlersprache(1);
    EXPECT_EQ(message(-403012), kNoAnswer);
    VEK_Fehlersprache(2);
    EXPECT_EQ(message(-403012), pseudoText("No answer from device"));
    const std::string full(static_cast<size_t>(kVekUserStringSize - 1), 'y');
    for (int i = 0; i < vekCatalogueSize(); ++i) {
        int kind = 0;
        ASSERT_TRUE(vekCatalogueEntry(i, &kind, nullptr, nullptr));
        VEK_Fehleruserstring(full.c_str());
        const std::string text = message(-(kind * 1000));
        EXPECT_TRUE(isValidUtf8(text)) << "kind " << kind;
        EXPECT_LT(text.size(), static_cast<size_t>(kVekMessageBufferSize));
    }
    setLanguage(Language::German);
}

TEST_F(CatalogueLookup, EnglishNoErrorLeavesTheUserStringPending) {
    VEK_Fehlersprache(2);
    VEK_Fehleruserstring("COM3");
    EXPECT_EQ(message(0), "No error");
    EXPECT_EQ(message(-999), "No error");
    EXPECT_EQ(message(-403012), "No answer from device\nCOM3");
    EXPECT_EQ(message(-403012), "No answer from device");
}

// A 400-byte user string is cut to at most 299 bytes, before any character that would not fit
// whole; `filler` ASCII bytes put the multibyte character `wide` across the limit.
TEST_F(CatalogueLookup, LongUserStringIsCutAtACharacterBoundary) {
    const int limit = kVekUserStringSize - 1;
    for (const std::string wide : {"ä", "ß", "€", "😀"}) {
        for (int filler = limit - 4; filler <= limit; ++filler) {
            std::string input(static_cast<size_t>(filler), 'a');
            while (input.size() < 400) {
                input += wide;
            }
            SCOPED_TRACE("filler " + std::to_string(filler) + " wide " + wide);
            VEK_Fehleruserstring(input.c_str());
            const std::string text = message(-403012);
            ASSERT_EQ(text.rfind(kNoAnswer + "\n", 0), 0u);
            const std::string attached = text.substr(kNoAnswer.size() + 1);
            EXPECT_TRUE(isValidUtf8(attached));
            EXPECT_LE(attached.size(), static_cast<size_t>(limit));
            // Only the character straddling the limit is dropped.
            EXPECT_GT(attached.size() + wide.size(), static_cast<size_t>(limit));
            EXPECT_EQ(input.rfind(attached, 0), 0u) << "the kept text is a prefix of the input";
        }
    }
}

// A place and the reason given for it: however long the place, the reason stays whole and the
// place keeps its start and its end (the file's own name), cut between whole characters.
TEST_F(CatalogueLookup, PlaceGivesWayToItsReason) {
    const size_t limit = kVekUserStringSize - 1;
    const std::string reason = "Keine Berechtigung";
    for (const std::string wide : {"d", "ä", "€", "😀"}) {
        for (size_t length : {size_t{40}, limit - 20, limit, size_t{400}, size_t{5000}}) {
            std::string place = "/";
            while (place.size() < length) {
                place += wide;
            }
            place += "/trz4Steuerung.ini";
            SCOPED_TRACE(wide + " " + std::to_string(place.size()));
            vekUserStringForPlace(place.c_str(), reason.c_str());
            const std::string text = message(-403012).substr(kNoAnswer.size() + 1);
            EXPECT_TRUE(isValidUtf8(text));
            ASSERT_LE(text.size(), limit);
            ASSERT_EQ(text.substr(text.size() - reason.size() - 2), ": " + reason);
            const std::string shown = text.substr(0, text.size() - reason.size() - 2);
            const size_t mark = shown.find("…");
            if (place.size() + reason.size() + 2 <= limit) {
                EXPECT_EQ(shown, place);
                continue;
            }
            ASSERT_NE(mark, std::string::npos);
            EXPECT_EQ(place.rfind(shown.substr(0, mark), 0), 0u);
            const std::string end = shown.substr(mark + std::string("…").size());
            EXPECT_EQ(place.substr(place.size() - end.size()), end);
            EXPECT_NE(end.find("/trz4Steuerung.ini"), std::string::npos);
            // Only as much gives way as must, give or take the bytes of a character.
            EXPECT_GT(text.size() + 2 * wide.size(), limit);
        }
    }
    // A reason too long even alone keeps its start.
    const std::string longReason(400, 'r');
    vekUserStringForPlace("/a/b", longReason.c_str());
    EXPECT_EQ(message(-403012), kNoAnswer + "\n…: " + longReason.substr(0, limit - 5));
}

TEST_F(CatalogueLookup, UserStringKeepsItsByteLimit) {
    const std::string exact(static_cast<size_t>(kVekUserStringSize - 1), 'x');
    VEK_Fehleruserstring(exact.c_str());
    EXPECT_EQ(message(-403012), kNoAnswer + "\n" + exact);

    // Malformed input (nothing but continuation bytes) is cut at the byte limit.
    VEK_Fehleruserstring(std::string(400, '\x80').c_str());
    EXPECT_EQ(message(-6000).size(), static_cast<size_t>(kVekUserStringSize));
}

TEST_F(CatalogueLookup, EveryTextWithAFullUserStringFitsTheMessageBuffer) {
    const std::string full(static_cast<size_t>(kVekUserStringSize - 1), 'y');
    for (int i = 0; i < vekCatalogueSize(); ++i) {
        int kind = 0;
        const char *german = nullptr;
        const char *english = nullptr;
        ASSERT_TRUE(vekCatalogueEntry(i, &kind, &german, &english));
        for (int language : {1, 2}) {
            VEK_Fehlersprache(language);
            VEK_Fehleruserstring(full.c_str());
            const std::string text = message(-(kind * 1000 + 999));
            const bool pending = language == 2 && kind == 0;
            const std::string expected =
                pending ? "No error" : std::string(language == 2 ? english : german) + "\n" + full;
            EXPECT_EQ(text, expected) << "kind " << kind;
            EXPECT_LT(text.size(), static_cast<size_t>(kVekMessageBufferSize));
        }
    }
}
