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

bool gRequested = false;
QPointer<QSocketNotifier> gNotifier;
QMetaObject::Connection gCommitData;
QMetaObject::Connection gAboutToQuit;

void takeUpRequest() {
    if (gRequested) {
        return;
    }
    gRequested = true;
    QuitUserInterface(0);
    ui::PopupDialog::closeAllWithoutOperator();
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
    // QCoreApplication::quit() (the session's end through the platform) ends every event loop
    // and keeps new ones from running: popups must not be waited for from then on.
    gAboutToQuit =
        QObject::connect(application, &QCoreApplication::aboutToQuit, application, takeUpRequest);
    return 0;
}

bool terminationRequested() {
    return gRequested;
}

void unwatchTerminationRequests() {
    delete gNotifier.data();
    QObject::disconnect(gCommitData);
    QObject::disconnect(gAboutToQuit);
    stopTerminationWatch();
    gRequested = false;
    ui::detail::forgetPendingQuit();
}
