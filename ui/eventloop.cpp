// The event loop, modal popups, the wait cursor and the process start-up around the program.
#include "ui/uiruntime.h"

#include "platform/process.h"
#include "toolbox/toolbox.h"

#include "platform/rs232.h"
#include "text/texts.h"
#include "ui/popupdialog.h"
#include "ui/runtime_internal.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

using namespace ui::detail;

namespace {

QPointer<QEventLoop> gMainLoop;
void (*gStartupHook)() = nullptr;
bool gQuitPending = false;
int gQuitCode = 0;

// Exchanges (ExchangeScope) running now, and whether the runtime is handling events inside
// one of their waits.
int gExchangeDepth = 0;
bool gHandlingWaitEvents = false;
SerialWaitHook gHookBefore = nullptr;

bool onUserInterfaceThread() {
    QCoreApplication *application = QCoreApplication::instance();
    return application != nullptr && QThread::currentThread() == application->thread();
}

// What an operator does to make something happen. Handled inside an exchange's wait, each of
// these would either start a second callback under the running one or be kept by Qt and
// replayed once the exchange is over; both would do what the operator no longer expects.
bool isOperatorInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

class OperatorInputDropper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (!gHandlingWaitEvents) {
            return false;
        }
        if (event->type() == QEvent::ShortcutOverride) {
            // Accepted, the key counts as taken by the focus widget, so no shortcut fires; the
            // key press that follows is dropped.
            event->accept();
            return true;
        }
        return isOperatorInput(event->type());
    }
};

QPointer<OperatorInputDropper> gInputDropper;

// Runs inside the serial layer's waits, and once more when an exchange ends: the window
// system's events are handled (repaints, exposures, the cursor), the operator's input is
// dropped and no callback starts.
void handleEventsWhileWaiting() {
    if (gHandlingWaitEvents || gExchangeDepth == 0 || !onUserInterfaceThread()) {
        return;
    }
    gHandlingWaitEvents = true;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    gHandlingWaitEvents = false;
}

int strictUtf8CutLength(const QByteArray &bytes, int maxBytes) {
    int length = bytes.size() < maxBytes ? static_cast<int>(bytes.size()) : maxBytes;
    // Step back over continuation bytes so that a cut never splits a character.
    if (length < bytes.size()) {
        while (length > 0 && (static_cast<unsigned char>(bytes[length]) & 0xC0) == 0x80) {
            --length;
        }
    }
    return length;
}

QWidget *popupParent() {
    QWidget *active = QApplication::activeModalWidget();
    if (active == nullptr) {
        active = QApplication::activeWindow();
    }
    if (active == nullptr) {
        for (int handle : loadedPanels()) {
            if (panelWidget(handle)->isVisible()) {
                active = panelWidget(handle);
            }
        }
    }
    return active;
}

// A popup that opens during an exchange (under the wait cursor) shows the normal pointer, so
// that the operator sees that the box waits for an answer.
class PopupCursor {
public:
    PopupCursor() : active(QApplication::overrideCursor() != nullptr) {
        if (active) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        }
    }
    ~PopupCursor() {
        if (active) {
            QApplication::restoreOverrideCursor();
        }
    }
    PopupCursor(const PopupCursor &) = delete;
    PopupCursor &operator=(const PopupCursor &) = delete;

private:
    bool active;
};

// Qt's "-platform NAME" (also spelt "--platform NAME") chooses the platform as
// QT_QPA_PLATFORM does.
bool platformOnCommandLine(int argc, char *argv[]) {
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-platform" || arg == "--platform") {
            return true;
        }
    }
    return false;
}

// Qt's message handler before the QApplication was made.
QtMessageHandler gQtMessagesBeforeStartup = nullptr;

// The display variables that are set, as "DISPLAY=:1", for the message of a display that
// cannot be opened; without any (a -platform option, Windows), the first line of Qt's reason.
std::string displaySettings(const QString &qtReason) {
    std::string settings;
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty()) {
            settings +=
                (settings.empty() ? "" : ", ") + std::string(name) + "=" + value.toStdString();
        }
    }
    if (settings.empty()) {
        settings = "Qt: " + qtReason.section(QLatin1Char('\n'), 0, 0).toStdString();
    }
    return settings;
}

// While the QApplication is being made, Qt ends the process with abort() when no platform
// can be brought up: a display that is named but cannot be reached, a platform plugin that
// does not load. The program ends instead as the help promises for a missing display, with
// exit status 255 and a line in its language; Qt's own warnings before it, which name the
// cause, still go out. Nothing has been read or written yet, so nothing is lost.
void endOnPlatformFailure(QtMsgType type, const QMessageLogContext &context,
                          const QString &message) {
    if (type != QtFatalMsg) {
        if (gQtMessagesBeforeStartup != nullptr) {
            gQtMessagesBeforeStartup(type, context, message);
        }
        return;
    }
    std::fprintf(stderr, "trz4Steuerung: %s\n",
                 withArgument(trText("runtime", "Die grafische Anzeige ließ sich nicht öffnen "
                                                "(%1); das Programm braucht eine Anzeige."),
                              displaySettings(message))
                     .c_str());
    std::fflush(stderr);
    std::_Exit(255);
}

} // namespace

bool displayAvailable() {
    return graphicalDisplayAvailable();
}

int runUserInterfaceProgram(int argc, char *argv[], int (*programMain)(int, char *[])) {
    if (!displayAvailable() && !platformOnCommandLine(argc, argv)) {
        std::fprintf(stderr, "trz4Steuerung: %s\n",
                     trText("runtime", "Keine grafische Anzeige gefunden (DISPLAY, "
                                       "WAYLAND_DISPLAY und QT_QPA_PLATFORM sind leer); das "
                                       "Programm braucht eine Anzeige.")
                         .c_str());
        // The exit status of a runtime that cannot be brought up, as the program's main gives
        // it when the runtime is not ready.
        return -1;
    }
    gQtMessagesBeforeStartup = qInstallMessageHandler(endOnPlatformFailure);
    QApplication application(argc, argv);
    qInstallMessageHandler(gQtMessagesBeforeStartup);
    QApplication::setQuitOnLastWindowClosed(false);
    // From here on a kill, Ctrl-C or the session's end takes the program's own way out. Should
    // the system refuse, they end the process as before; there is no one to tell yet.
    watchTerminationRequests();
    // Wayland compositors find the window's icon through the desktop file's name.
    QGuiApplication::setDesktopFileName(QStringLiteral("de.beispielwerk.trz4steuerung"));
    // The string helpers step over double-byte characters only under a double-byte code
    // page; which one the process runs under is decided once, here at start-up.
    initMultibyteModeFromLocale();
    if (gStartupHook != nullptr) {
        gStartupHook();
    }
    const int result = programMain(argc, argv);
    for (int handle : loadedPanels()) {
        DiscardPanel(handle); // child panels go with their parent and are skipped
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}

void setStartupHook(void (*hook)()) {
    gStartupHook = hook;
}

int RunUserInterface() {
    if (QApplication::instance() == nullptr) {
        return kUiErrNoApplication;
    }
    if (gQuitPending) {
        gQuitPending = false;
        return gQuitCode;
    }
    QEventLoop loop;
    gMainLoop = &loop;
    const int code = loop.exec();
    gMainLoop = nullptr;
    gQuitPending = false;
    return code;
}

void ui::detail::forgetPendingQuit() {
    gQuitPending = false;
}

int QuitUserInterface(int returnCode) {
    gQuitCode = returnCode;
    if (gMainLoop.isNull()) {
        gQuitPending = true;
    } else {
        // Ends only this loop, after the current callback: a popup's own loop that the
        // callback still runs is not cut short.
        gMainLoop->exit(returnCode);
    }
    return 0;
}

int InstallPopup(int panel) {
    Panel *p = findPanel(panel);
    if (p == nullptr) {
        return kUiErrBadPanel;
    }
    QWidget *window = p->window;
    // Modality only takes effect when a window is shown.
    window->hide();
    window->setWindowModality(Qt::ApplicationModal);
    if (Panel *parent = findPanel(p->parent); parent != nullptr && parent->window->isVisible()) {
        const QRect area = parent->window->frameGeometry();
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
    }
    p->popup = true;
    window->show();
    window->raise();
    window->activateWindow();
    return 0;
}

int RemovePopup(int panel) {
    Panel *p = findPanel(panel);
    if (p == nullptr) {
        return kUiErrBadPanel;
    }
    p->window->hide();
    p->window->setWindowModality(Qt::NonModal);
    p->popup = false;
    return 0;
}

int MessagePopup(const char *title, const char *message) {
    if (QApplication::instance() == nullptr) {
        return kUiErrNoApplication;
    }
    PopupDialog dialog(utf8(title), utf8(message),
                       {QString::fromStdString(trText("runtime", "OK")), {}, {}}, false, kPopupBtn1,
                       kPopupBtn1, popupParent());
    dialog.setActiveControl(kPopupBtn1);
    if (terminationRequested()) {
        dialog.answerWithoutOperator();
        return 0;
    }
    PopupCursor cursor;
    dialog.exec();
    return 0;
}

int GenericMessagePopup(const char *title, const char *message, const char *button1Label,
                        const char *button2Label, const char *button3Label, char *responseBuffer,
                        int responseBufferSize, int /*buttonArrangement*/, int activeControl,
                        int enterButton, int escapeButton) {
    if (QApplication::instance() == nullptr) {
        return kUiErrNoApplication;
    }
    const std::array<QString, 3> labels{utf8(button1Label), utf8(button2Label), utf8(button3Label)};
    if (labels[0].isEmpty() && labels[1].isEmpty() && labels[2].isEmpty()) {
        return kUiErrBadArgument;
    }
    const bool withInput = responseBuffer != nullptr && responseBufferSize > 0;
    PopupDialog dialog(utf8(title), utf8(message), labels, withInput, enterButton, escapeButton,
                       popupParent());
    dialog.setActiveControl(activeControl);
    int chosen = 0;
    if (terminationRequested()) {
        chosen = dialog.answerWithoutOperator();
    } else {
        PopupCursor cursor;
        chosen = dialog.exec();
    }
    if (withInput) {
        const QByteArray bytes = dialog.inputText().toUtf8();
        const int length = strictUtf8CutLength(bytes, responseBufferSize - 1);
        std::memcpy(responseBuffer, bytes.constData(), static_cast<size_t>(length));
        responseBuffer[length] = '\0';
    }
    return chosen;
}

bool isPopupInstalled(int panel) {
    Panel *p = findPanel(panel);
    return p != nullptr && p->popup && p->window->isVisible();
}

bool userInterfaceRunning() {
    return !gMainLoop.isNull();
}

bool ui::detail::callbacksHeld() {
    return gHandlingWaitEvents;
}

bool exchangeRunning() {
    return gExchangeDepth > 0;
}

ExchangeScope::ExchangeScope() : active(onUserInterfaceThread()) {
    if (!active) {
        return;
    }
    if (gExchangeDepth++ == 0) {
        if (gInputDropper.isNull()) {
            gInputDropper = new OperatorInputDropper(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(gInputDropper);
        }
        gHookBefore = setSerialWaitHook(handleEventsWhileWaiting);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

ExchangeScope::~ExchangeScope() {
    if (!active) {
        return;
    }
    if (gExchangeDepth == 1) {
        // Clicks and keys that arrived between the waits are still queued; they go now, so
        // that nothing aimed at the panels during the exchange acts after it.
        handleEventsWhileWaiting();
        setSerialWaitHook(gHookBefore);
        QApplication::restoreOverrideCursor();
    }
    --gExchangeDepth;
    releaseWaitingWork();
}

WaitCursor::WaitCursor() {
    if (QApplication::instance() != nullptr) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

WaitCursor::~WaitCursor() {
    if (QApplication::instance() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
}
