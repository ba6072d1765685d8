// The error display on real widgets (the tests' own panel): the registered sets and the popups
// as an operator sees and dismisses them.
#include "errors/VEK_errorV3.h"
#include "panel/cardvalues.h"
#include "panel/testing/panel_testing.h"
#include "ui/accessibility.h"
#include "ui/testing/popupdriver.h"
#include "ui/testing/testpanels.h"
#include "ui/uiruntime.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

using ui::testing::PopupDriver;

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        vekResetFehlerControls();
        VEK_Fehlersprache(1);
        VEK_Fehleruserstring(nullptr);
        ui::testing::registerTestPanels();
        first = LoadPanel(0, kTestPanelsResource, TESTPANEL);
        second = LoadPanel(0, kTestPanelsResource, TESTPANEL);
        ASSERT_GE(first, 0);
        ASSERT_GE(second, 0);
    }
    void TearDown() override {
        DiscardPanel(first);
        DiscardPanel(second);
        vekResetFehlerControls();
        VEK_Fehlersprache(1);
        VEK_Fehleruserstring(nullptr);
    }
    void registerBoth() {
        VekCom_RegisterFehlerControls(first, ERRORLED, ERRORTEXT, ERRORNUMBER);
        VekCom_RegisterFehlerControls(second, ERRORLED, ERRORTEXT, ERRORNUMBER);
    }
    struct Shown {
        int led;
        std::string text;
        int number;
    };
    Shown shown(int panel) {
        Shown s{-1, "?", -1};
        GetCtrlVal(panel, ERRORLED, &s.led);
        GetCtrlVal(panel, ERRORTEXT, &s.text);
        GetCtrlVal(panel, ERRORNUMBER, &s.number);
        return s;
    }
    int first = -1;
    int second = -1;
};

TEST_F(DisplayTest, FailureShowsEverywhereAndSuccessClears) {
    registerBoth();
    EXPECT_EQ(VekCom_FehlermeldungSet(-403012), 2);
    for (int panel : {first, second}) {
        EXPECT_EQ(shown(panel).led, 1);
        EXPECT_EQ(shown(panel).text, "Keine Antwort vom Gerät");
        EXPECT_EQ(shown(panel).number, 403012);
    }
    EXPECT_EQ(VekCom_FehlermeldungSet(0), 2);
    for (int panel : {first, second}) {
        EXPECT_EQ(shown(panel).led, 0);
        EXPECT_EQ(shown(panel).text, "");
        EXPECT_EQ(shown(panel).number, 0);
    }
}

TEST_F(DisplayTest, SuccessInWordsClearsLedAndNumberAndShowsTheText) {
    registerBoth();
    VekCom_FehlermeldungSet(-403012);
    EXPECT_EQ(vekShowSuccess("Kartennummer 5 eingestellt und von der Karte bestätigt."), 2);
    for (int panel : {first, second}) {
        EXPECT_EQ(shown(panel).led, 0);
        EXPECT_EQ(shown(panel).text, "Kartennummer 5 eingestellt und von der Karte bestätigt.");
        EXPECT_EQ(shown(panel).number, 0);
    }
    EXPECT_EQ(vekShowSuccess(nullptr), 2);
    EXPECT_EQ(shown(first).text, "");
}

TEST_F(DisplayTest, PendingUserStringReachesOnlyTheFirstSet) {
    registerBoth();
    VEK_Fehleruserstring("COM 3");
    VekCom_FehlermeldungSet(-403012);
    EXPECT_EQ(shown(first).text, "Keine Antwort vom Gerät\nCOM 3");
    EXPECT_EQ(shown(second).text, "Keine Antwort vom Gerät");
}

// What a screen reader was last told on `panel`'s window, or "" when nothing.
std::string heard(int panel) {
    auto *notification =
        panelWidget(panel)->findChild<QLabel *>(QLatin1String(ui::detail::kAnnouncerName));
    return notification != nullptr && !notification->isHidden() ? notification->text().toStdString()
                                                                : std::string();
}

TEST_F(DisplayTest, OutcomeIsToldInOneSentenceWithNumberAndStaleValues) {
    VekCom_RegisterFehlerControls(first, ERRORLED, ERRORTEXT, ERRORNUMBER);
    cardValuesResetForTesting();
    const int noAnswer = -403012;
    const int silent = -kVekSilentKind * 1000 - 1;
    // A status read from COM 9's card makes the status a shown value.
    cardValuesAfterExchange(CardQuestion::Status, 0, 9, '1');
    struct Case {
        bool valuesStale; // a failure left the card's values in doubt
        int code;
        const char *success;
        std::string told;
    } cases[] = {
        {false, 0, "Kartennummer gelesen: 7", "Kartennummer gelesen: 7"},
        {false, noAnswer, nullptr, "Fehler 403012: Keine Antwort vom Gerät."},
        {true, noAnswer, nullptr,
         "Fehler 403012: Keine Antwort vom Gerät. Angezeigte Werte sind nicht aktuell."},
        {true, silent, nullptr, ""},
        {true, 0, nullptr, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        if (c.valuesStale) {
            cardValuesAfterExchange(CardQuestion::Status, noAnswer, 9, '1');
        }
        VekCom_FehlermeldungSet(c.code);
        // Only what this outcome tells counts.
        if (auto *notification = panelWidget(first)->findChild<QLabel *>(
                QLatin1String(ui::detail::kAnnouncerName))) {
            notification->hide();
        }
        EXPECT_EQ(vekAnnounceOutcome(c.code, c.success), 1);
        EXPECT_EQ(heard(first), c.told);
    }
    cardValuesResetForTesting();
}

TEST_F(DisplayTest, WithoutSetsNothingHappens) {
    EXPECT_EQ(VekCom_FehlermeldungSet(-403012), 0);
    EXPECT_EQ(shown(first).led, 0);
    EXPECT_EQ(shown(first).number, 0);
}

TEST_F(DisplayTest, SilentKindLightsTheLedWithEmptyText) {
    registerBoth();
    VekCom_FehlermeldungSet(-6123);
    EXPECT_EQ(shown(first).led, 1);
    EXPECT_EQ(shown(first).text, "");
    EXPECT_EQ(shown(first).number, 6123);
}

TEST_F(DisplayTest, SmallestIntShowsTheLargestNumber) {
    registerBoth();
    VekCom_FehlermeldungSet(INT_MIN);
    EXPECT_EQ(shown(first).number, INT_MAX);
    EXPECT_EQ(shown(first).text, "Ein unbekannter Fehler ist aufgetreten");
}

TEST_F(DisplayTest, EleventhSetIsRefusedWithAPopupAndNotStored) {
    for (int i = 0; i < MAX_FEHLERCONTROLS; ++i) {
        EXPECT_EQ(VekCom_RegisterFehlerControls(first, ERRORLED, ERRORTEXT, ERRORNUMBER), 0);
    }
    PopupDriver driver;
    driver.pressEnter();
    EXPECT_EQ(VekCom_RegisterFehlerControls(second, ERRORLED, ERRORTEXT, ERRORNUMBER), -1);
    EXPECT_EQ(driver.seen(0).title, "Interner Fehler");
    EXPECT_EQ(driver.seen(0).text, "MAX_FEHLERCONTROLS ist zu klein");
    EXPECT_EQ(VekCom_FehlermeldungSet(-403012), MAX_FEHLERCONTROLS);
    EXPECT_EQ(shown(second).led, 0);
}

TEST_F(DisplayTest, PopupTitlesCarryTheNumberInTheLanguage) {
    PopupDriver driver;
    driver.pressEnter();
    driver.pressEscape();
    driver.clickButton("OK");
    VEK_Fehlerpopup(-802201);
    VEK_Fehlerpopup(-9123);
    VEK_Fehlersprache(kVekLanguageEnglish);
    VEK_Fehlerpopup(-403012);
    ASSERT_TRUE(driver.allAnswered());
    EXPECT_EQ(driver.seen(0).title, "Fehler #802201");
    EXPECT_EQ(driver.seen(0).text, "INI-Datei nicht gefunden");
    EXPECT_EQ(driver.seen(1).title, "Fehler #9123");
    EXPECT_EQ(driver.seen(1).text, "");
    EXPECT_EQ(driver.seen(2).title, "Error #403012");
    EXPECT_EQ(driver.seen(2).text, "No answer from device");
}

TEST_F(DisplayTest, SilentKindShowsNoPopup) {
    PopupDriver driver(300);
    driver.justLook();
    VEK_Fehlerpopup(-6123);
    VEK_Fehlerpopup2(-6999, "Status");
    QTRY_VERIFY_WITH_TIMEOUT(!driver.allAnswered(), 2000);
    EXPECT_FALSE(driver.seen(0).seen);
}

TEST_F(DisplayTest, CallerTitleIsFollowedByTheNumber) {
    PopupDriver driver;
    driver.pressEnter();
    driver.pressEnter();
    VEK_Fehlerpopup2(-403012, "Status");
    VEK_Fehlerpopup2(-403012, nullptr);
    EXPECT_EQ(driver.seen(0).title, "Status #403012");
    EXPECT_EQ(driver.seen(0).text, "Keine Antwort vom Gerät");
    EXPECT_EQ(driver.seen(1).title, " #403012");
}

TEST_F(DisplayTest, LongCallerTitleIsCutAtAWholeCharacterKeepingTheNumber) {
    // 40 two-byte characters: 80 bytes plus " #403012" (8) would fit, 60 would not.
    std::string title;
    for (int i = 0; i < 60; ++i) {
        title += "ä";
    }
    PopupDriver driver;
    driver.pressEnter();
    VEK_Fehlerpopup2(-403012, title.c_str());
    const std::string seen = driver.seen(0).title;
    EXPECT_LE(seen.size(), 99u);
    EXPECT_EQ(seen.substr(seen.size() - 8), " #403012");
    const std::string kept = seen.substr(0, seen.size() - 8);
    EXPECT_EQ(kept.size() % 2, 0u);
    EXPECT_EQ(kept, title.substr(0, kept.size()));
    EXPECT_EQ(kept.size(), 90u);
}

} // namespace
