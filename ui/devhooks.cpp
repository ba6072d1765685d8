#include "ui/devhooks.h"

#include "ui/uiruntime.h"

#include "platform/process.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ui {

namespace {

constexpr int kIdleMs = 500;
constexpr int kRetryMs = 10;

// The hooks act inside RunUserInterface's loop, not in a popup that start-up shows before.
bool mainLoopRunning() {
    return userInterfaceRunning() && QApplication::activeModalWidget() == nullptr;
}

void whenMainLoopRuns(void (*action)()) {
    QTimer::singleShot(0, [action] {
        if (mainLoopRunning()) {
            action();
        } else {
            QTimer::singleShot(kRetryMs, [action] { whenMainLoopRuns(action); });
        }
    });
}

void probeStartup() {
    std::printf("shown\n");
    std::fflush(stdout);
    QTimer::singleShot(kIdleMs, [] {
        std::printf("rss %ld\n", ::residentKilobytes());
        std::fflush(stdout);
        QuitUserInterface(0);
    });
}

void takeScreenshots() {
    const QDir dir(QString::fromLocal8Bit(std::getenv("TRZ4_SCREENSHOT_DIR")));
    for (int handle : loadedPanels()) {
        QWidget *panel = panelWidget(handle);
        const bool hidden = !panel->isVisible();
        if (hidden) {
            InstallPopup(handle);
        }
        QApplication::processEvents();
        const QString file = dir.filePath(panel->objectName().toLower() + QStringLiteral(".png"));
        if (!panel->grab().save(file)) {
            std::fprintf(stderr, "screenshot not written: %s\n", qPrintable(file));
        }
        if (hidden) {
            RemovePopup(handle);
        }
    }
    QuitUserInterface(0);
}

// A static initialiser rather than a call in main: the developer build runs the program's own
// main unchanged. The library is an object library, so this object is always linked in.
const bool kHooksHandedToStartup = (setStartupHook(armDeveloperHooks), true);

} // namespace

void armDeveloperHooks() {
    const char *probe = std::getenv("TRZ4_STARTUP_PROBE");
    if (probe != nullptr && probe[0] != '\0') {
        whenMainLoopRuns(probeStartup);
    }
    const char *screenshots = std::getenv("TRZ4_SCREENSHOT_DIR");
    if (screenshots != nullptr && screenshots[0] != '\0') {
        whenMainLoopRuns(takeScreenshots);
    }
}

} // namespace ui
