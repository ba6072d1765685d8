// Termination requests from the system and the session, taken up on the user-interface thread.
#include "ui/uiruntime.h"

#include "platform/termination.h"
#include "ui/popupdialog.h"
#include "ui/runtime_internal.h"

#include <QApplication>
#include <QPointer>
#include <QSessionManager>
#include <QSocketNotifier>

namespace {

void takeUpRequest();

// QEvent::Quit is how the platform asks the application to end (the session manager's "die"
// at the end of the session). Qt's own answer, QCoreApplication::exit(), would end every
// event loop and keep any later one from running, popups included, without a word; the
// program's own way out replaces it.
class QuitEventFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
            takeUpRequest();
            event->accept();
            return true;
        }
        return false;
    }
};

bool gRequested = false;
QPointer<QSocketNotifier> gNotifier;
QPointer<QuitEventFilter> gQuitFilter;
QMetaObject::Connection gCommitData;

void takeUpRequest() {
    if (gRequested) {
        return;
    }
    gRequested = true;
    QuitUserInterface(0);
    ui::detail::PopupDialog::closeAllWithoutOperator();
}

} // namespace

int watchTerminationRequests() {
    auto *application = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (application == nullptr) {
        return kUiErrNoApplication;
    }
    if (!gNotifier.isNull()) {
        return 0;
    }
    if (startTerminationWatch() != 0) {
        return kUiErrSystem;
    }
    gNotifier = new QSocketNotifier(static_cast<qintptr>(terminationNotifier()),
                                    QSocketNotifier::Read, application);
    QObject::connect(gNotifier, &QSocketNotifier::activated, application, [] {
        // Always drain, so that the notifier does not fire again for requests taken up.
        if (takeTerminationRequests() > 0) {
            takeUpRequest();
        }
    });
    // The session manager asks for the data when the session ends; the program's data are its
    // settings, which are written on the way out. saveStateRequest is left alone: it asks for
    // state to restore in a later session, and this program keeps none.
    gCommitData = QObject::connect(application, &QGuiApplication::commitDataRequest, application,
                                   [](QSessionManager &) { takeUpRequest(); });
    gQuitFilter = new QuitEventFilter(application);
    application->installEventFilter(gQuitFilter);
    return 0;
}

bool terminationRequested() {
    return gRequested;
}

void unwatchTerminationRequests() {
    delete gNotifier.data();
    delete gQuitFilter.data();
    QObject::disconnect(gCommitData);
    stopTerminationWatch();
    gRequested = false;
    ui::detail::forgetPendingQuit();
}
