#include "ui/devhooks.h"

#include "ui/runtime_internal.h"
#include "ui/uiruntime.h"

#include "platform/process.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

// The main panel: the first loaded panel that shows.
int shownPanel() {
    for (int handle : loadedPanels()) {
        if (panelWidget(handle)->isVisible()) {
            return handle;
        }
    }
    return 0;
}

void printControlValues(int panel) {
    for (const auto &[id, control] : detail::findPanel(panel)->controls) {
        std::string text;
        int number = 0;
        if (control.kind == ControlKind::Led && GetCtrlVal(panel, id, &number) == 0) {
            text = std::to_string(number);
        } else if ((control.kind != ControlKind::String &&
                    control.kind != ControlKind::TextMessage) ||
                   GetCtrlVal(panel, id, &text) != 0) {
            continue;
        }
        std::printf("%s=%s\n", qPrintable(control.widget->objectName()), text.c_str());
    }
    std::fflush(stdout);
}

void drive() {
    const int panel = shownPanel();
    const QStringList names =
        QString::fromLocal8Bit(std::getenv("TRZ4_DRIVE")).split(QLatin1Char(','));
    for (const QString &name : names) {
        auto *button = panelWidget(panel)->findChild<QAbstractButton *>(name.trimmed());
        if (button == nullptr) {
            std::fprintf(stderr, "TRZ4_DRIVE: no button %s\n", qPrintable(name));
            QuitUserInterface(3);
            return;
        }
        button->click();
        QApplication::processEvents();
    }
    printControlValues(panel);
    // TRZ4_DRIVE_HOLD_MS keeps the result on screen that long before the close, for a
    // picture of it.
    const char *holdMs = std::getenv("TRZ4_DRIVE_HOLD_MS");
    const int hold = holdMs != nullptr ? std::atoi(holdMs) : 0;
    QTimer::singleShot(std::max(hold, 0), [panel] { panelWidget(panel)->close(); });
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
    const char *drivenButtons = std::getenv("TRZ4_DRIVE");
    if (drivenButtons != nullptr && drivenButtons[0] != '\0') {
        whenMainLoopRuns(drive);
    }
}

} // namespace ui
