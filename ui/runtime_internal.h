// Shared state of the runtime's source files: the table of loaded panels with their controls.
// Not part of the runtime's interface.
#pragma once

#include "ui/paneldescription.h"
#include "ui/uiruntime.h"

#include <QAction>
#include <QColor>
#include <QLabel>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>

class QComboBox;

namespace ui::detail {

struct Control {
    int id = 0;
    ControlKind kind = ControlKind::Frame;
    bool charValues = false;
    bool announce = false; // strings: new texts are announced to assistive technology
    QPointer<QWidget> widget;
    QPointer<QLabel> label;
    CtrlCallbackPtr callback = nullptr;
    void *callbackData = nullptr;
    // Not empty while the value is shown as stale (setCtrlStale).
    QString staleNote;
};

struct MenuItem {
    QPointer<QAction> action;
    MenuCallbackPtr callback = nullptr;
    void *callbackData = nullptr;
};

struct Panel {
    int handle = 0;
    int parent = 0;
    QPointer<QWidget> window;
    std::map<int, Control> controls;
    PanelCallbackPtr callback = nullptr;
    void *callbackData = nullptr;
    int menuBarHandle = 0;
    std::map<int, MenuItem> menuItems;
    bool popup = false;
};

// Null for an unknown handle, or a control that is unknown or already destroyed.
Panel *findPanel(int handle);
Control *findControl(int panel, int control);
// Why a control lookup failed, as a result code.
int lookupError(int panel);
// Drops a quit that QuitUserInterface marked while no loop ran.
void forgetPendingQuit();

// True while the runtime handles events inside an exchange's wait (ExchangeScope): no
// callback may start then.
bool callbacksHeld();
// The ring widget of a control, or null when it is none.
QComboBox *ringOf(Control *control);

// Marks a callback of the program as running for its lifetime; callbacks nest (a popup's own
// loop may run another).
struct CallbackScope {
    CallbackScope();
    ~CallbackScope();
    CallbackScope(const CallbackScope &) = delete;
    CallbackScope &operator=(const CallbackScope &) = delete;
};

// Runs task now when no callback of the program and no exchange (ExchangeScope) runs, else from
// the event loop once the outermost of them has ended: callbacks run one at a time, also those
// the runtime starts by itself (descriptor callbacks, a close deferred by an exchange).
void runWhenNoCallback(std::function<void()> task);
// Posts the work runWhenNoCallback kept, once no callback and no exchange runs any more; the
// end of each calls it.
void releaseWaitingWork();

// Shows a new value at once, even when the calling callback keeps the event loop busy.
inline void paintNow(QWidget *widget) {
    if (widget != nullptr && widget->isVisible()) {
        widget->repaint();
    }
}

inline QString utf8(const char *text) {
    return text == nullptr ? QString() : QString::fromUtf8(text);
}

inline QColor rgbColour(int rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb & 0xFFFFFF));
}

} // namespace ui::detail
