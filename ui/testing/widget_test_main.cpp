// The main function of every test binary that runs real widgets: they need a QApplication for
// the whole run. QT_QPA_PLATFORM chooses the platform where it is set; otherwise the build's
// default (TRZ4_WIDGET_TEST_PLATFORM) holds: offscreen on Linux, where test discovery runs the
// binary at build time without a display; the windows platform with DirectWrite on Windows (see
// ui/CMakeLists.txt).
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", TRZ4_WIDGET_TEST_PLATFORM);
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
