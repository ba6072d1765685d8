// Message lookup: the quotient rule, the language switch, the one-shot user string and the
// byte limits of the module's buffers.
#include "errors/VEK_errorV3.h"
#include "errors/tests/catalogue_utf8.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

const std::string kGermanFallback = "Ein unbekannter Fehler ist aufgetreten";
const std::string kEnglishFallback = "A unknown error occured";
const std::string kNoAnswerGerman = "Keine Antwort vom Gerät";

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

} // namespace

TEST_F(CatalogueLookup, QuotientZeroIsTheNoErrorEntry) {
    for (int code : {0, -1, -999, 1, 999, -500, 500}) {
        EXPECT_EQ(message(code), "Es ist kein Fehler aufgetreten") << code;
    }
    VEK_Fehlersprache(2);
    for (int code : {0, -999, 999}) {
        EXPECT_EQ(message(code), "No error") << code;
    }
}

TEST_F(CatalogueLookup, SiteIsIgnoredAndKindSelectsTheText) {
    EXPECT_EQ(message(-400301), "Unzulässige Geräteadresse");
    EXPECT_EQ(message(-400000), "Unzulässige Geräteadresse");
    EXPECT_EQ(message(-400999), "Unzulässige Geräteadresse");
    EXPECT_EQ(message(-122500), "Serielle Schnittstelle ist nicht geöffnet");
    EXPECT_EQ(message(-125001), "Unzulässige Baudrate");
    EXPECT_EQ(message(-802201), "INI-Datei nicht gefunden");
    VEK_Fehlersprache(2);
    EXPECT_EQ(message(-400301), "invalid deviceaddress");
    EXPECT_EQ(message(-400777), "invalid deviceaddress");
}

TEST_F(CatalogueLookup, KindsWithoutEntryAndPositiveQuotientsGiveTheFallback) {
    for (int code : {-1000, -1999, -10000, -99999, -1035000, -1099123, 1000, 1500, 400301}) {
        EXPECT_EQ(message(code), kGermanFallback) << code;
    }
    VEK_Fehlersprache(2);
    for (int code : {-1000, -1035000, 1000, 400301}) {
        EXPECT_EQ(message(code), kEnglishFallback) << code;
    }
}

TEST_F(CatalogueLookup, SilentAndEmptyKindsGiveEmptyTexts) {
    EXPECT_EQ(message(-6000), "");
    EXPECT_EQ(message(-6123), "");
    EXPECT_EQ(message(-9999), "");
    VEK_Fehlersprache(2);
    EXPECT_EQ(message(-6000), "");
    EXPECT_EQ(message(-9123), "");
}

TEST_F(CatalogueLookup, OnlyLanguageTwoSelectsEnglish) {
    for (int language : {0, 1, 3, -2, INT_MIN, INT_MAX}) {
        VEK_Fehlersprache(language);
        EXPECT_EQ(vekLanguage(), language);
        EXPECT_EQ(message(-403012), kNoAnswerGerman) << language;
    }
    VEK_Fehlersprache(2);
    EXPECT_EQ(message(-403012), "No answer from device");
    EXPECT_STREQ(vekFallbackText(2), kEnglishFallback.c_str());
    EXPECT_STREQ(vekFallbackText(0), kGermanFallback.c_str());
}

TEST_F(CatalogueLookup, ExtremeCodesDoNotOverflow) {
    // INT_MIN / 1000 is -2147483, a kind far above the catalogue.
    for (int code : {INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1, -1034999, -2147483000}) {
        for (int language : {1, 2}) {
            VEK_Fehlersprache(language);
            const std::string text = message(code);
            if (code == -1034999) {
                EXPECT_NE(text, std::string(vekFallbackText(language)));
            } else {
                EXPECT_EQ(text, std::string(vekFallbackText(language))) << code;
            }
        }
    }
}

TEST_F(CatalogueLookup, BufferIsReplacedNotAppendedAcrossCalls) {
    char *first = VEK_Fehlermeldung(-112001);
    char *second = VEK_Fehlermeldung(-125001);
    EXPECT_EQ(first, second) << "one process-wide message buffer";
    EXPECT_STREQ(second, "Unzulässige Baudrate");
}

TEST_F(CatalogueLookup, UserStringIsAttachedOnceOnItsOwnLine) {
    VEK_Fehleruserstring("COM3");
    EXPECT_EQ(message(-403012), kNoAnswerGerman + "\nCOM3");
    EXPECT_EQ(message(-403012), kNoAnswerGerman);

    VEK_Fehleruserstring("erster");
    VEK_Fehleruserstring("zweiter");
    EXPECT_EQ(message(-403012), kNoAnswerGerman + "\nzweiter");

    // Empty texts still carry the user string, and so do the no-error and fallback texts.
    VEK_Fehleruserstring("COM3");
    EXPECT_EQ(message(-6000), "\nCOM3");
    VEK_Fehleruserstring("COM4");
    EXPECT_EQ(message(0), "Es ist kein Fehler aufgetreten\nCOM4");
    VEK_Fehleruserstring("COM5");
    EXPECT_EQ(message(-1000), kGermanFallback + "\nCOM5");
    EXPECT_EQ(message(-1000), kGermanFallback);
}

TEST_F(CatalogueLookup, EnglishNoErrorLeavesTheUserStringPending) {
    VEK_Fehlersprache(2);
    VEK_Fehleruserstring("COM3");
    EXPECT_EQ(message(0), "No error");
    EXPECT_EQ(message(-999), "No error");
    EXPECT_EQ(message(-403012), "No answer from device\nCOM3");
    EXPECT_EQ(message(-403012), "No answer from device");
}

TEST_F(CatalogueLookup, EmptyOrNullUserStringAttachesNothing) {
    VEK_Fehleruserstring("COM3");
    VEK_Fehleruserstring(nullptr);
    EXPECT_EQ(message(-403012), kNoAnswerGerman);
    VEK_Fehleruserstring("");
    EXPECT_EQ(message(-403012), kNoAnswerGerman);
}

TEST_F(CatalogueLookup, UserStringMayComeFromTheMessageBuffer) {
    VEK_Fehleruserstring(VEK_Fehlermeldung(-802201));
    EXPECT_EQ(message(-403012), kNoAnswerGerman + "\nINI-Datei nicht gefunden");
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
            ASSERT_LT(text.size(), static_cast<size_t>(kVekMessageBufferSize));
            ASSERT_EQ(text.rfind(kNoAnswerGerman + "\n", 0), 0u);
            const std::string attached = text.substr(kNoAnswerGerman.size() + 1);
            EXPECT_TRUE(isValidUtf8(attached));
            EXPECT_LE(attached.size(), static_cast<size_t>(limit));
            // Only the character straddling the limit is dropped.
            EXPECT_GT(attached.size() + wide.size(), static_cast<size_t>(limit));
            EXPECT_EQ(input.rfind(attached, 0), 0u) << "the kept text is a prefix of the input";
        }
    }
}

TEST_F(CatalogueLookup, UserStringThatFitsExactlyIsKeptWhole) {
    const std::string exact(static_cast<size_t>(kVekUserStringSize - 1), 'x');
    VEK_Fehleruserstring(exact.c_str());
    EXPECT_EQ(message(-403012), kNoAnswerGerman + "\n" + exact);
}

TEST_F(CatalogueLookup, MalformedLongUserStringStaysWithinItsBuffer) {
    const std::string continuation(400, '\x80');
    VEK_Fehleruserstring(continuation.c_str());
    const std::string text = message(-6000);
    EXPECT_EQ(text.size(), static_cast<size_t>(kVekUserStringSize)) << "line feed + 299 bytes";
}

TEST_F(CatalogueLookup, LongestTextWithFullUserStringFitsTheMessageBuffer) {
    const std::string full(static_cast<size_t>(kVekUserStringSize - 1), 'y');
    for (int i = 0; i < vekCatalogueSize(); ++i) {
        int kind = 0;
        const char *german = nullptr;
        const char *english = nullptr;
        ASSERT_TRUE(vekCatalogueEntry(i, &kind, &german, &english));
        const int code = -(kind * 1000 + 999);
        for (int language : {1, 2}) {
            VEK_Fehlersprache(language);
            VEK_Fehleruserstring(full.c_str());
            const std::string text = message(code);
            if (language == 2 && kind == 0) {
                EXPECT_EQ(text, "No error");
                VEK_Fehleruserstring("");
                continue;
            }
            const std::string expected =
                std::string(language == 2 ? english : german) + "\n" + full;
            EXPECT_EQ(text, expected) << "kind " << kind;
            EXPECT_LT(text.size(), static_cast<size_t>(kVekMessageBufferSize));
        }
    }
}
