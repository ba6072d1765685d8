// Panels: building them from their descriptions, the callbacks bound by name, and the events
// that reach the callbacks.
#include "ui/uiruntime.h"

#include "ui/ledwidget.h"
#include "ui/logo.h"
#include "ui/paneldescription.h"
#include "ui/runtime_internal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <climits>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ui::detail {

namespace {

std::map<int, std::unique_ptr<Panel>> gPanels;
int gNextHandle = 1;

std::map<std::string, const ui::ResourceDescription *, std::less<>> &resourceTable() {
    static std::map<std::string, const ui::ResourceDescription *, std::less<>> table;
    return table;
}

using AnyCallback = std::variant<CtrlCallbackPtr, PanelCallbackPtr, MenuCallbackPtr>;
std::map<std::string, AnyCallback> &callbackTable() {
    static std::map<std::string, AnyCallback> table;
    return table;
}

// Depth of callbacks running now: a panel discarded from inside one of its own callbacks is
// deleted once the event that called it has been handled.
int gCallbackDepth = 0;

// Work that waits until no callback runs (runWhenNoCallback).
std::vector<std::function<void()>> gWaiting;

} // namespace

CallbackScope::CallbackScope() {
    ++gCallbackDepth;
}

CallbackScope::~CallbackScope() {
    --gCallbackDepth;
    releaseWaitingWork();
}

void releaseWaitingWork() {
    if (gCallbackDepth > 0 || exchangeRunning() || gWaiting.empty()) {
        return;
    }
    // Posted, not run here: the event that called the callback is still being handled.
    std::vector<std::function<void()>> waiting;
    waiting.swap(gWaiting);
    for (auto &task : waiting)
        QTimer::singleShot(
            0, [task = std::move(task)]() mutable { runWhenNoCallback(std::move(task)); });
}

void runWhenNoCallback(std::function<void()> task) {
    // An exchange counts as a callback: the runtime handles events inside its waits, and work
    // started there would run in the middle of it (a ring rebuilt, a port closed).
    if (gCallbackDepth > 0 || exchangeRunning()) {
        gWaiting.push_back(std::move(task));
        return;
    }
    task();
}

Panel *findPanel(int handle) {
    auto it = gPanels.find(handle);
    return it == gPanels.end() ? nullptr : it->second.get();
}

Control *findControl(int panel, int control) {
    Panel *p = findPanel(panel);
    if (p == nullptr) {
        return nullptr;
    }
    auto it = p->controls.find(control);
    return it == p->controls.end() || it->second.widget.isNull() ? nullptr : &it->second;
}

int lookupError(int panel) {
    return findPanel(panel) == nullptr ? kUiErrBadPanel : kUiErrBadControl;
}

QComboBox *ringOf(Control *c) {
    return c == nullptr ? nullptr : qobject_cast<QComboBox *>(c->widget);
}

namespace {

const PanelDescription *findPanelDescription(const char *resourceFile, int panelResourceId) {
    if (resourceFile == nullptr) {
        return nullptr;
    }
    auto it = resourceTable().find(std::string_view(resourceFile));
    if (it == resourceTable().end()) {
        return nullptr;
    }
    for (const PanelDescription *panel : it->second->panels) {
        if (panel->resourceId == panelResourceId) {
            return panel;
        }
    }
    return nullptr;
}

template <typename T> T lookupCallback(const char *name) {
    if (name == nullptr) {
        return nullptr;
    }
    auto it = callbackTable().find(name);
    if (it == callbackTable().end() || !std::holds_alternative<T>(it->second)) {
        return nullptr;
    }
    return std::get<T>(it->second);
}

int invokeCtrlCallback(int panel, int control, int event, int data1, int data2) {
    Control *c = findControl(panel, control);
    if (c == nullptr || c->callback == nullptr || callbacksHeld()) {
        return 0;
    }
    CallbackScope scope;
    return c->callback(panel, control, event, c->callbackData, data1, data2);
}

int invokePanelCallback(int panel, int event) {
    Panel *p = findPanel(panel);
    if (p == nullptr || p->callback == nullptr) {
        return 0;
    }
    if (callbacksHeld()) {
        // The operator asked to close the window while an exchange waited: the request counts,
        // but only once the callback that runs the exchange is done.
        if (event == EVENT_CLOSE) {
            runWhenNoCallback([panel] { invokePanelCallback(panel, EVENT_CLOSE); });
        }
        return 0;
    }
    CallbackScope scope;
    return p->callback(panel, event, p->callbackData, 0, 0);
}

void invokeMenuCallback(int panel, int menuItem) {
    Panel *p = findPanel(panel);
    if (p == nullptr) {
        return;
    }
    auto it = p->menuItems.find(menuItem);
    if (it == p->menuItems.end() || it->second.callback == nullptr || callbacksHeld()) {
        return;
    }
    CallbackScope scope;
    it->second.callback(p->menuBarHandle, menuItem, it->second.callbackData, panel);
}

class PanelWindow : public QWidget {
public:
    PanelWindow(int handle, QWidget *parent, Qt::WindowFlags flags)
        : QWidget(parent, flags), handle(handle) {}

protected:
    // The close box never closes a panel by itself: it reports the close event, and the
    // program decides (the main panel's callback ends the event loop).
    void closeEvent(QCloseEvent *event) override {
        event->ignore();
        invokePanelCallback(handle, EVENT_CLOSE);
    }

private:
    int handle;
};

// Delivers left clicks and key presses to the control callbacks before the control itself
// reacts, so that a ring can rebuild its list before it opens.
class ControlEvents : public QObject {
public:
    ControlEvents(int panel, int control, QObject *parent)
        : QObject(parent), panel(panel), control(control) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        QPointer<QObject> guard(watched);
        if (event->type() == QEvent::MouseButtonPress) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton) {
                const QPoint at = mouse->position().toPoint();
                const int swallow =
                    invokeCtrlCallback(panel, control, EVENT_LEFT_CLICK, at.y(), at.x());
                return swallow != 0 || guard.isNull();
            }
        } else if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            const int swallow = invokeCtrlCallback(panel, control, EVENT_KEYPRESS, key->key(),
                                                   static_cast<int>(key->modifiers()));
            if (swallow != 0 || guard.isNull()) {
                return true;
            }
            // A focused command button answers Enter as well as Space: keyboard operators
            // reach for Enter first.
            auto *button = qobject_cast<QPushButton *>(watched);
            if (button != nullptr && key->modifiers() == Qt::NoModifier &&
                (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
                button->click();
                return true;
            }
        }
        return false;
    }

private:
    int panel;
    int control;
};

QFont panelFont() {
    // The panels are laid out for "Microsoft Sans Serif". Where it is not installed they take
    // the system's own sans-serif face, which every Qt program loads anyway: a face of its own
    // would cost start-up time for each weight it needs.
    static const QFont font = [] {
        QFont f = QApplication::font();
        if (QFontDatabase::families().contains(QStringLiteral("Microsoft Sans Serif"))) {
            f.setFamilies({QStringLiteral("Microsoft Sans Serif")});
        }
        f.setPixelSize(12);
        return f;
    }();
    return font;
}

// Group headings: a dark blue that reads well on the panel background.
constexpr int kHeadingColour = 0x1C3F7A;

QLabel *makeLabel(const ControlDescription &d, QWidget *canvas, QWidget *buddy) {
    if (d.labelPlace == LabelPlace::None || d.label == nullptr || d.label[0] == '\0') {
        return nullptr;
    }
    auto *label = new QLabel(QString::fromUtf8(d.label), canvas);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QString::fromLatin1(d.constantName) + QStringLiteral("_label"));
    // Labels get the room up to their control (left) or a fixed width (right, above) instead
    // of a measured one: measuring every text at load costs start-up time, and the layout
    // leaves them that room anyway.
    constexpr int kLabelHeight = 16;
    constexpr int kGap = 4;
    constexpr int kRightLabelWidth = 210;
    QRect place;
    switch (d.labelPlace) {
    case LabelPlace::Left:
        place = QRect(d.labelX, d.labelY, d.x - kGap - d.labelX, kLabelHeight);
        break;
    case LabelPlace::Right:
        place = QRect(d.labelX, d.labelY, kRightLabelWidth, kLabelHeight);
        break;
    default:
        place = QRect(d.labelX, d.labelY, d.width, kLabelHeight);
        break;
    }
    label->setGeometry(place.intersected(canvas->rect()));
    if (buddy != nullptr && buddy->focusPolicy() != Qt::NoFocus) {
        label->setBuddy(buddy);
    }
    return label;
}

QWidget *makeWidget(const ControlDescription &d, QWidget *canvas, bool *charValues) {
    const QString text = QString::fromUtf8(d.label);
    switch (d.kind) {
    case ControlKind::CommandButton: {
        auto *button = new QPushButton(text, canvas);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::Led: {
        auto *led = new LedWidget(text, canvas);
        led->setOnColour(d.onColour);
        led->setOn(d.initialValue != 0);
        return led;
    }
    case ControlKind::Ring: {
        auto *ring = new QComboBox(canvas);
        for (const ui::RingItem &item : d.items) {
            ring->addItem(QString::fromUtf8(item.label), item.value);
        }
        ring->setCurrentIndex(d.items.empty() ? -1 : 0);
        *charValues = d.charValues;
        return ring;
    }
    case ControlKind::String: {
        auto *edit = new QLineEdit(canvas);
        edit->setReadOnly(d.indicator);
        return edit;
    }
    case ControlKind::Numeric: {
        auto *spin = new QSpinBox(canvas);
        spin->setRange(INT_MIN, INT_MAX);
        // The step is 1 already; setting it again would lay the box out anew.

        spin->setValue(d.initialValue);
        spin->setAlignment(Qt::AlignRight);
        if (d.indicator) {
            spin->setReadOnly(true);
            spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
        }
        return spin;
    }
    case ControlKind::TextMessage: {
        auto *label = new QLabel(text, canvas);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (d.bold) {
            QFont font = label->font();
            font.setBold(true);
            label->setFont(font);
        }
        if (d.heading) {
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, rgbColour(kHeadingColour));
            label->setPalette(palette);
        }
        return label;
    }
    case ControlKind::Frame: {
        auto *frame = new QFrame(canvas);
        frame->setFrameShape(QFrame::Box);
        frame->setFrameShadow(QFrame::Sunken);
        frame->setAttribute(Qt::WA_TransparentForMouseEvents);
        return frame;
    }
    case ControlKind::Picture: {
        auto *picture = new QLabel(canvas);
        picture->setPixmap(drawMakerLogo(QSize(d.width, d.height)));
        return picture;
    }
    }
    return nullptr;
}

// Wires the commit event of one control; the lambdas look the control up again at each call
// because a callback may have replaced the binding or discarded the panel.
void connectCommit(const ControlDescription &d, QWidget *widget, int panel) {
    const int control = d.id;
    auto commit = [panel, control] { invokeCtrlCallback(panel, control, EVENT_COMMIT, 0, 0); };
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QObject::connect(button, &QPushButton::clicked, button, commit);
    } else if (auto *ring = qobject_cast<QComboBox *>(widget)) {
        // activated, not currentIndexChanged: values set by the program commit nothing.
        QObject::connect(ring, &QComboBox::activated, ring, commit);
    } else if (!d.indicator) {
        if (auto *spin = qobject_cast<QSpinBox *>(widget)) {
            QObject::connect(spin, &QSpinBox::editingFinished, spin, commit);
        } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            QObject::connect(edit, &QLineEdit::returnPressed, edit, commit);
        }
    }
}

void buildMenuBar(Panel &panel, const ui::MenuBarDescription &description, QVBoxLayout *layout) {
    auto *bar = new QMenuBar(panel.window);
    panel.menuBarHandle = gNextHandle++;
    const int handle = panel.handle;
    for (const ui::MenuDescription &menuDescription : description.menus) {
        QMenu *menu = bar->addMenu(QString::fromUtf8(menuDescription.label));
        menu->setObjectName(QString::fromLatin1(menuDescription.constantName));
        for (const ui::MenuItemDescription &item : menuDescription.items) {
            QAction *action = menu->addAction(QString::fromUtf8(item.label));
            action->setObjectName(QString::fromLatin1(item.constantName));
            const int id = item.id;
            QObject::connect(action, &QAction::triggered, action,
                             [handle, id] { invokeMenuCallback(handle, id); });
            panel.menuItems[id] =
                MenuItem{action, lookupCallback<MenuCallbackPtr>(item.callbackName), nullptr};
        }
    }
    layout->setMenuBar(bar);
}

void buildControls(Panel &panel, const PanelDescription &description, QWidget *canvas) {
    for (const ControlDescription &d : description.controls) {
        Control control;
        control.id = d.id;
        control.kind = d.kind;
        QWidget *widget = makeWidget(d, canvas, &control.charValues);
        widget->setObjectName(QString::fromLatin1(d.constantName));
        widget->setGeometry(d.x, d.y, d.width, d.height);
        control.widget = widget;
        control.label = makeLabel(d, canvas, widget);
        if (d.accessibleName != nullptr) {
            widget->setAccessibleName(QString::fromUtf8(d.accessibleName));
        } else if (d.label != nullptr && d.label[0] != '\0' && d.kind != ControlKind::Led) {
            widget->setAccessibleName(QString::fromUtf8(d.label).remove(QLatin1Char('&')));
        }
        control.callback = lookupCallback<CtrlCallbackPtr>(d.callbackName);
        widget->installEventFilter(new ControlEvents(panel.handle, d.id, widget));
        connectCommit(d, widget, panel.handle);
        panel.controls[d.id] = control;
    }
    // Frames are decoration: they sit below everything inside them.
    for (auto &[id, control] : panel.controls) {
        if (control.kind == ControlKind::Frame) {
            control.widget->lower();
        }
    }
}

// Removes a panel and its child panels from the table; answers the window to delete.
QPointer<QWidget> unregisterPanel(int handle) {
    std::vector<int> children;
    for (const auto &[h, p] : gPanels) {
        if (p->parent == handle) {
            children.push_back(h);
        }
    }
    for (int child : children) {
        unregisterPanel(child);
    }
    auto it = gPanels.find(handle);
    QPointer<QWidget> window = it->second->window;
    gPanels.erase(it);
    return window;
}

} // namespace

} // namespace ui::detail

using namespace ui::detail;
using ui::ControlKind;
using ui::PanelDescription;

namespace {

// The three callback shapes share one table; a null function removes the name's binding.
template <typename Function> void bindCallbackName(const char *name, Function function) {
    if (name == nullptr) {
        return;
    }
    if (function == nullptr) {
        callbackTable().erase(name);
    } else {
        callbackTable()[name] = function;
    }
}

} // namespace

void registerCallback(const char *name, CtrlCallbackPtr function) {
    bindCallbackName(name, function);
}

void registerCallback(const char *name, PanelCallbackPtr function) {
    bindCallbackName(name, function);
}

void registerCallback(const char *name, MenuCallbackPtr function) {
    bindCallbackName(name, function);
}

int registerPanelResource(const char *resourceFile, const ui::ResourceDescription *resource) {
    if (resourceFile == nullptr) {
        return kUiErrBadArgument;
    }
    if (resource == nullptr) {
        resourceTable().erase(std::string(resourceFile));
    } else {
        resourceTable()[resourceFile] = resource;
    }
    return 0;
}

int LoadPanel(int parentPanel, const char *resourceFile, int panelResourceId) {
    if (QApplication::instance() == nullptr) {
        return kUiErrNoApplication;
    }
    const PanelDescription *description = findPanelDescription(resourceFile, panelResourceId);
    if (description == nullptr) {
        return kUiErrResourceNotFound;
    }
    Panel *parent = nullptr;
    if (parentPanel != 0) {
        parent = findPanel(parentPanel);
        if (parent == nullptr) {
            return kUiErrBadPanel;
        }
    }

    auto panel = std::make_unique<Panel>();
    panel->handle = gNextHandle++;
    panel->parent = parentPanel;
    panel->callback = lookupCallback<PanelCallbackPtr>(description->callbackName);
    Qt::WindowFlags flags = parent != nullptr ? Qt::Dialog : Qt::Window;
    if (panel->callback == nullptr) {
        // Nothing would react to its close box, so the window offers none.
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    }
    auto *window =
        new PanelWindow(panel->handle, parent != nullptr ? parent->window : nullptr, flags);
    panel->window = window;
    window->setObjectName(QString::fromLatin1(description->constantName));
    window->setWindowTitle(QString::fromUtf8(description->title));
    window->setFont(panelFont());
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, rgbColour(description->backgroundColour));
    window->setPalette(palette);
    window->setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *canvas = new QWidget(window);
    canvas->setFixedSize(description->width, description->height);
    layout->addWidget(canvas);

    if (description->menuBar != nullptr) {
        buildMenuBar(*panel, *description->menuBar, layout);
    }
    buildControls(*panel, *description, canvas);
    window->adjustSize();

    const int handle = panel->handle;
    gPanels[handle] = std::move(panel);
    return handle;
}

int DisplayPanel(int panel) {
    Panel *p = findPanel(panel);
    if (p == nullptr) {
        return kUiErrBadPanel;
    }
    p->window->show();
    p->window->raise();
    p->window->activateWindow();
    return 0;
}

int HidePanel(int panel) {
    Panel *p = findPanel(panel);
    if (p == nullptr) {
        return kUiErrBadPanel;
    }
    p->window->hide();
    return 0;
}

int DiscardPanel(int panel) {
    if (findPanel(panel) == nullptr) {
        return kUiErrBadPanel;
    }
    QPointer<QWidget> window = unregisterPanel(panel);
    if (window.isNull()) {
        return 0;
    }
    window->hide();
    if (gCallbackDepth > 0) {
        window->deleteLater();
    } else {
        delete window.data();
    }
    return 0;
}

int SetPanelAttribute(int panel, int attribute, int value) {
    Panel *p = findPanel(panel);
    if (p == nullptr) {
        return kUiErrBadPanel;
    }
    if (attribute != ATTR_HAS_TASKBAR_BUTTON) {
        return kUiErrBadAttribute;
    }
    // A tool window gets no taskbar entry; a normal top-level window gets its own. Child
    // panels are dialogs of their parent either way.
    if (p->parent == 0) {
        const bool visible = p->window->isVisible();
        p->window->setWindowFlag(Qt::Tool, value == 0);
        if (visible) {
            p->window->show();
        }
    }
    return 0;
}

int SetSystemAttribute(int attribute, int /*value*/) {
    return attribute == ATTR_TASKBAR_BUTTON_VISIBLE ? 0 : kUiErrBadAttribute;
}

int InstallCtrlCallback(int panel, int control, CtrlCallbackPtr function, void *callbackData) {
    Control *c = findControl(panel, control);
    if (c == nullptr) {
        return lookupError(panel);
    }
    c->callback = function;
    c->callbackData = callbackData;
    return 0;
}

QWidget *panelWidget(int panel) {
    Panel *p = findPanel(panel);
    return p == nullptr ? nullptr : p->window.data();
}

QWidget *controlWidget(int panel, int control) {
    Control *c = findControl(panel, control);
    return c == nullptr ? nullptr : c->widget.data();
}

QWidget *controlLabelWidget(int panel, int control) {
    Control *c = findControl(panel, control);
    return c == nullptr ? nullptr : c->label.data();
}

QAction *menuItemAction(int panel, int menuItem) {
    Panel *p = findPanel(panel);
    if (p == nullptr) {
        return nullptr;
    }
    auto it = p->menuItems.find(menuItem);
    return it == p->menuItems.end() ? nullptr : it->second.action.data();
}

int loadedPanelCount() {
    return static_cast<int>(gPanels.size());
}

std::vector<int> loadedPanels() {
    std::vector<int> handles;
    for (const auto &[handle, panel] : gPanels) {
        handles.push_back(handle);
    }
    return handles;
}
