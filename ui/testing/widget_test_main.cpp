// The main function of every test binary that runs real widgets: they need a QApplication for
// the whole run. QT_QPA_PLATFORM chooses the platform where it is set; otherwise the build's
// default (TRZ4_WIDGET_TEST_PLATFORM) holds: offscreen on Linux, where test discovery runs the
// binary at build time without a display; the windows platform with DirectWrite on Windows (see
// ui/CMakeLists.txt). The offscreen platform's own screen (800 x 800) is smaller than the panels
// at the larger fonts the tests try, and a panel never grows beyond its screen: plain
// "offscreen" gets a screen large enough (testing/large-screen.json).
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", TRZ4_WIDGET_TEST_PLATFORM);
    }
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TRZ4_WIDGET_TEST_SCREEN);
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
