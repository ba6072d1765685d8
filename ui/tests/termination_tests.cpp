// Termination requests (signals here; the session's end takes the same way) end the event
// loop as "Beenden" does, and popups stop waiting for an operator.
#include "ui/uiruntime.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <string>

namespace {

int warning(int escapeButton, char *response = nullptr, int size = 0) {
    return GenericMessagePopup("Warnung", "Karte umstellen?", "umstellen", "abbrechen", "",
                               response, size, 0, kPopupBtn2, kPopupBtn1, escapeButton);
}

class Termination : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(watchTerminationRequests(), 0); }
    void TearDown() override { unwatchTerminationRequests(); }
};

TEST_F(Termination, SignalEndsTheLoopAndLaterPopupsAnswerAtOnceOnStderr) {
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        EXPECT_FALSE(terminationRequested());
        QTimer::singleShot(0, [signal] { std::raise(signal); });
        EXPECT_EQ(RunUserInterface(), 0);
        EXPECT_TRUE(terminationRequested());

        ::testing::internal::CaptureStderr();
        EXPECT_EQ(MessagePopup("Fehler #800203", "Fehler beim schreiben\n/x: Keine Berechtigung"),
                  0);
        char response[16] = "alt";
        EXPECT_EQ(warning(kPopupBtn2, response, sizeof response), kPopupBtn2);
        EXPECT_STREQ(response, "");
        // Without an Escape button the last button answers, never the Enter button.
        EXPECT_EQ(warning(kPopupNoCtrl), kPopupBtn2);
        // A second request while ending changes nothing.
        std::raise(SIGINT);
        QCoreApplication::processEvents();
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(err, "Fehler #800203: Fehler beim schreiben\n/x: Keine Berechtigung\n"
                       "Warnung: Karte umstellen?\nWarnung: Karte umstellen?\n");
        EXPECT_TRUE(terminationRequested());
        unwatchTerminationRequests();
        ASSERT_EQ(watchTerminationRequests(), 0);
    }
}

TEST_F(Termination, OpenPopupIsClosedAndTheLoopThatFollowsEndsAtOnce) {
    // As at start-up: a popup waits before the event loop has ever run.
    QTimer::singleShot(20, [] { std::raise(SIGTERM); });
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(warning(kPopupBtn2), kPopupBtn2);
    // The offscreen platform may add notes of its own.
    EXPECT_TRUE(std::string(::testing::internal::GetCapturedStderr())
                    .ends_with("Warnung: Karte umstellen?\n"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(RunUserInterface(), 0);

    // Disarmed, a quit marked for a loop that never ran is forgotten with the request.
    unwatchTerminationRequests();
    ASSERT_EQ(watchTerminationRequests(), 0);
    QTimer::singleShot(20, [] { std::raise(SIGTERM); });
    ::testing::internal::CaptureStderr();
    MessagePopup("Info", "offen");
    EXPECT_TRUE(std::string(::testing::internal::GetCapturedStderr()).ends_with("Info: offen\n"));
    EXPECT_TRUE(terminationRequested());
    unwatchTerminationRequests();
    EXPECT_FALSE(terminationRequested());
    QTimer::singleShot(10, [] { QuitUserInterface(7); });
    EXPECT_EQ(RunUserInterface(), 7);
}

TEST_F(Termination, TheApplicationsQuitEventIsARequestThatLeavesLaterLoopsWorking) {
    // The session's end reaches the application as QEvent::Quit. Qt's own answer would end
    // every loop for good; the program's way out leaves the loops of its shutdown working.
    QTimer::singleShot(0, [] { QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit)); });
    EXPECT_EQ(RunUserInterface(), 0);
    EXPECT_TRUE(terminationRequested());
    unwatchTerminationRequests();
    QTimer::singleShot(10, [] { QuitUserInterface(7); });
    EXPECT_EQ(RunUserInterface(), 7);
}

} // namespace
