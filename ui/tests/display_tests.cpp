// Whether the program may start: on Linux a display is there when DISPLAY, WAYLAND_DISPLAY or
// QT_QPA_PLATFORM names one; without one the program is not started. (Windows always has its
// desktop.)
#include "ui/uiruntime.h"

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

namespace {

TEST(RuntimeStart, DisplayCheckLooksAtTheThreeVariables) {
    const QByteArray saved = qgetenv("QT_QPA_PLATFORM");
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("QT_QPA_PLATFORM", "");
    EXPECT_FALSE(displayAvailable());
    // Without a display the program is not started and ends as with a runtime not ready.
    static bool programCalled = false;
    char name[] = "trz4Steuerung";
    char *argv[] = {name, nullptr};
    EXPECT_EQ(runUserInterfaceProgram(1, argv,
                                      [](int, char *[]) {
                                          programCalled = true;
                                          return 0;
                                      }),
              -1);
    EXPECT_FALSE(programCalled);
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    EXPECT_TRUE(displayAvailable());
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("QT_QPA_PLATFORM", saved);
    if (!display.isEmpty()) {
        qputenv("DISPLAY", display);
    }
    if (!wayland.isEmpty()) {
        qputenv("WAYLAND_DISPLAY", wayland);
    }
    EXPECT_EQ(InitRuntimeEngine(nullptr, nullptr, nullptr), 1);
}

} // namespace
