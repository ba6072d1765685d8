#include "ui/uiruntime.h"

#include "ui/devhooks.h"
#include "ui/ledwidget.h"
#include "ui/logo.h"
#include "ui/paneldescription.h"
#include "ui/popupdialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <variant>

namespace {

using ui::ControlDescription;
using ui::ControlKind;
using ui::LabelPlace;
using ui::LedWidget;
using ui::PanelDescription;

struct Control {
    int id = 0;
    ControlKind kind = ControlKind::Frame;
    bool charValues = false;
    QPointer<QWidget> widget;
    QPointer<QLabel> label;
    CtrlCallbackPtr callback = nullptr;
    void *callbackData = nullptr;
};

struct MenuItem {
    QPointer<QAction> action;
    MenuCallbackPtr callback = nullptr;
    void *callbackData = nullptr;
};

class PanelWindow;

struct Panel {
    int handle = 0;
    int parent = 0;
    QPointer<PanelWindow> window;
    std::map<int, Control> controls;
    PanelCallbackPtr callback = nullptr;
    void *callbackData = nullptr;
    int menuBarHandle = 0;
    std::map<int, MenuItem> menuItems;
    bool popup = false;
};

std::map<int, std::unique_ptr<Panel>> gPanels;
int gNextHandle = 1;

using AnyCallback = std::variant<CtrlCallbackPtr, PanelCallbackPtr, MenuCallbackPtr>;
std::map<std::string, AnyCallback> &callbackTable() {
    static std::map<std::string, AnyCallback> table;
    return table;
}

QPointer<QEventLoop> gMainLoop;
bool gQuitPending = false;
int gQuitCode = 0;
// Depth of callbacks running now: a panel discarded from inside one of its own callbacks is
// deleted once the event that called it has been handled.
int gCallbackDepth = 0;

struct CallbackScope {
    CallbackScope() { ++gCallbackDepth; }
    ~CallbackScope() { --gCallbackDepth; }
};

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

// Why a control lookup failed, as a result code.
int lookupError(int panel) {
    return findPanel(panel) == nullptr ? kUiErrBadPanel : kUiErrBadControl;
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
    if (c == nullptr || c->callback == nullptr) {
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
    CallbackScope scope;
    return p->callback(panel, event, p->callbackData, 0, 0);
}

void invokeMenuCallback(int panel, int menuItem) {
    Panel *p = findPanel(panel);
    if (p == nullptr) {
        return;
    }
    auto it = p->menuItems.find(menuItem);
    if (it == p->menuItems.end() || it->second.callback == nullptr) {
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
            // A focused command button answers Enter as well as Space, as operators of the
            // original panels expect.
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

QColor rgbColour(int rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb & 0xFFFFFF));
}

QString utf8(const char *text) {
    return text == nullptr ? QString() : QString::fromUtf8(text);
}

// Shows a new value at once, even when the calling callback keeps the event loop busy.
void paintNow(QWidget *widget) {
    if (widget != nullptr && widget->isVisible()) {
        widget->repaint();
    }
}

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
        picture->setPixmap(ui::drawMakerLogo(QSize(d.width, d.height)));
        picture->setAccessibleName(QString::fromUtf8(ui::kMakerName));
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

QComboBox *ringOf(Control *c) {
    return c == nullptr ? nullptr : qobject_cast<QComboBox *>(c->widget);
}

int selectRingValue(Control *c, int value) {
    QComboBox *ring = ringOf(c);
    const int index = ring->findData(value);
    if (index < 0) {
        return kUiErrBadArgument;
    }
    ring->setCurrentIndex(index);
    paintNow(ring);
    return 0;
}

int setTextValue(int panel, int control, const QString &text) {
    Control *c = findControl(panel, control);
    if (c == nullptr) {
        return lookupError(panel);
    }
    switch (c->kind) {
    case ControlKind::String:
        static_cast<QLineEdit *>(c->widget.data())->setText(text);
        static_cast<QLineEdit *>(c->widget.data())->setCursorPosition(0);
        break;
    case ControlKind::TextMessage:
        static_cast<QLabel *>(c->widget.data())->setText(text);
        break;
    case ControlKind::CommandButton:
        static_cast<QPushButton *>(c->widget.data())->setText(text);
        break;
    default:
        return kUiErrWrongType;
    }
    paintNow(c->widget);
    return 0;
}

// Removes a panel and its child panels from the table; answers the window to delete.
QPointer<PanelWindow> unregisterPanel(int handle) {
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
    QPointer<PanelWindow> window = it->second->window;
    gPanels.erase(it);
    return window;
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

} // namespace

// ---------------------------------------------------------------------------------------------
// Start-up.

bool displayAvailable() {
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char *value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') {
            return true;
        }
    }
    return false;
}

int runUserInterfaceProgram(int argc, char *argv[], int (*programMain)(int, char *[])) {
    if (!displayAvailable()) {
        std::fputs("trz4Steuerung: Keine grafische Anzeige gefunden (DISPLAY, WAYLAND_DISPLAY "
                   "und QT_QPA_PLATFORM sind leer); das Programm braucht eine Anzeige.\n",
                   stderr);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ui::armDeveloperHooks();
    const int result = programMain(argc, argv);
    while (!gPanels.empty()) {
        DiscardPanel(gPanels.begin()->first);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Callback names.

void registerCallback(const char *name, CtrlCallbackPtr function) {
    if (name == nullptr) {
        return;
    }
    if (function == nullptr) {
        callbackTable().erase(name);
    } else {
        callbackTable()[name] = function;
    }
}

void registerCallback(const char *name, PanelCallbackPtr function) {
    if (name == nullptr) {
        return;
    }
    if (function == nullptr) {
        callbackTable().erase(name);
    } else {
        callbackTable()[name] = function;
    }
}

void registerCallback(const char *name, MenuCallbackPtr function) {
    if (name == nullptr) {
        return;
    }
    if (function == nullptr) {
        callbackTable().erase(name);
    } else {
        callbackTable()[name] = function;
    }
}

// ---------------------------------------------------------------------------------------------
// Panels and the loop.

int LoadPanel(int parentPanel, const char *resourceFile, int panelResourceId) {
    if (QApplication::instance() == nullptr) {
        return kUiErrNoApplication;
    }
    const PanelDescription *description = ui::findPanelDescription(resourceFile, panelResourceId);
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
    QPointer<PanelWindow> window = unregisterPanel(panel);
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
    PanelWindow *window = p->window;
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

namespace {

QWidget *popupParent() {
    QWidget *active = QApplication::activeModalWidget();
    if (active == nullptr) {
        active = QApplication::activeWindow();
    }
    if (active == nullptr) {
        for (const auto &[handle, p] : gPanels) {
            if (p->window->isVisible()) {
                active = p->window;
            }
        }
    }
    return active;
}

} // namespace

int MessagePopup(const char *title, const char *message) {
    if (QApplication::instance() == nullptr) {
        return kUiErrNoApplication;
    }
    ui::PopupDialog dialog(utf8(title), utf8(message), {QStringLiteral("OK"), {}, {}}, false,
                           kPopupBtn1, kPopupBtn1, popupParent());
    dialog.setActiveControl(kPopupBtn1);
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
    ui::PopupDialog dialog(utf8(title), utf8(message), labels, withInput, enterButton, escapeButton,
                           popupParent());
    dialog.setActiveControl(activeControl);
    const int chosen = dialog.exec();
    if (withInput) {
        const QByteArray bytes = dialog.inputText().toUtf8();
        const int length = strictUtf8CutLength(bytes, responseBufferSize - 1);
        std::memcpy(responseBuffer, bytes.constData(), static_cast<size_t>(length));
        responseBuffer[length] = '\0';
    }
    return chosen;
}

// ---------------------------------------------------------------------------------------------
// Values.

int SetCtrlVal(int panel, int control, int value) {
    Control *c = findControl(panel, control);
    if (c == nullptr) {
        return lookupError(panel);
    }
    switch (c->kind) {
    case ControlKind::Led:
        static_cast<LedWidget *>(c->widget.data())->setOn(value != 0);
        paintNow(c->widget);
        return 0;
    case ControlKind::Ring:
        // An int on a character ring is taken as the character's code, as C callers pass
        // characters through int parameters.
        return selectRingValue(c, c->charValues ? static_cast<char>(value) : value);
    case ControlKind::Numeric:
        static_cast<QSpinBox *>(c->widget.data())->setValue(value);
        paintNow(c->widget);
        return 0;
    default:
        return kUiErrWrongType;
    }
}

int SetCtrlVal(int panel, int control, char value) {
    Control *c = findControl(panel, control);
    if (c == nullptr) {
        return lookupError(panel);
    }
    if (c->kind != ControlKind::Ring) {
        return kUiErrWrongType;
    }
    return selectRingValue(c, value);
}

int SetCtrlVal(int panel, int control, const char *value) {
    return setTextValue(panel, control, utf8(value));
}

int SetCtrlVal(int panel, int control, const std::string &value) {
    return setTextValue(panel, control, QString::fromStdString(value));
}

int GetCtrlVal(int panel, int control, int *value) {
    Control *c = findControl(panel, control);
    if (c == nullptr) {
        return lookupError(panel);
    }
    if (value == nullptr) {
        return kUiErrBadArgument;
    }
    switch (c->kind) {
    case ControlKind::Led:
        *value = static_cast<LedWidget *>(c->widget.data())->isOn() ? 1 : 0;
        return 0;
    case ControlKind::Ring: {
        QComboBox *ring = ringOf(c);
        if (ring->currentIndex() < 0) {
            return kUiErrIndexOutOfRange;
        }
        *value = ring->currentData().toInt();
        return 0;
    }
    case ControlKind::Numeric:
        *value = static_cast<QSpinBox *>(c->widget.data())->value();
        return 0;
    default:
        return kUiErrWrongType;
    }
}

int GetCtrlVal(int panel, int control, char *value) {
    Control *c = findControl(panel, control);
    if (c == nullptr) {
        return lookupError(panel);
    }
    if (value == nullptr) {
        return kUiErrBadArgument;
    }
    // Only a character ring has a one-character value; a text would not fit a char.
    if (c->kind != ControlKind::Ring || !c->charValues) {
        return kUiErrWrongType;
    }
    QComboBox *ring = ringOf(c);
    if (ring->currentIndex() < 0) {
        return kUiErrIndexOutOfRange;
    }
    *value = static_cast<char>(ring->currentData().toInt());
    return 0;
}

int GetCtrlVal(int panel, int control, std::string *value) {
    Control *c = findControl(panel, control);
    if (c == nullptr) {
        return lookupError(panel);
    }
    if (value == nullptr) {
        return kUiErrBadArgument;
    }
    QString text;
    switch (c->kind) {
    case ControlKind::String:
        text = static_cast<QLineEdit *>(c->widget.data())->text();
        break;
    case ControlKind::TextMessage:
        text = static_cast<QLabel *>(c->widget.data())->text();
        break;
    case ControlKind::CommandButton:
        text = static_cast<QPushButton *>(c->widget.data())->text();
        break;
    default:
        return kUiErrWrongType;
    }
    *value = text.toStdString();
    return 0;
}

int SetCtrlAttribute(int panel, int control, int attribute, int value) {
    Control *c = findControl(panel, control);
    if (c == nullptr) {
        return lookupError(panel);
    }
    if (attribute != ATTR_ON_COLOR || c->kind != ControlKind::Led) {
        return kUiErrBadAttribute;
    }
    static_cast<LedWidget *>(c->widget.data())->setOnColour(value);
    paintNow(c->widget);
    return 0;
}

int GetCtrlAttribute(int panel, int control, int attribute, int *value) {
    Control *c = findControl(panel, control);
    if (c == nullptr) {
        return lookupError(panel);
    }
    if (value == nullptr) {
        return kUiErrBadArgument;
    }
    if (attribute != ATTR_ON_COLOR || c->kind != ControlKind::Led) {
        return kUiErrBadAttribute;
    }
    *value = static_cast<LedWidget *>(c->widget.data())->onColour();
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

// ---------------------------------------------------------------------------------------------
// Rings.

int ClearListCtrl(int panel, int control) {
    Control *c = findControl(panel, control);
    QComboBox *ring = ringOf(c);
    if (ring == nullptr) {
        return c == nullptr ? lookupError(panel) : kUiErrWrongType;
    }
    ring->clear();
    paintNow(ring);
    return 0;
}

int InsertListItem(int panel, int control, int index, const char *label, int value) {
    Control *c = findControl(panel, control);
    QComboBox *ring = ringOf(c);
    if (ring == nullptr) {
        return c == nullptr ? lookupError(panel) : kUiErrWrongType;
    }
    if (index < -1 || index > ring->count()) {
        return kUiErrIndexOutOfRange;
    }
    const int value32 = c->charValues ? static_cast<char>(value) : value;
    ring->insertItem(index == -1 ? ring->count() : index, utf8(label), value32);
    paintNow(ring);
    return 0;
}

int InsertListItem(int panel, int control, int index, const char *label, char value) {
    return InsertListItem(panel, control, index, label, static_cast<int>(value));
}

int GetIndexFromValue(int panel, int control, int *index, int value) {
    Control *c = findControl(panel, control);
    QComboBox *ring = ringOf(c);
    if (ring == nullptr) {
        return c == nullptr ? lookupError(panel) : kUiErrWrongType;
    }
    if (index == nullptr) {
        return kUiErrBadArgument;
    }
    *index = ring->findData(c->charValues ? static_cast<char>(value) : value);
    return 0;
}

int GetIndexFromValue(int panel, int control, int *index, char value) {
    return GetIndexFromValue(panel, control, index, static_cast<int>(value));
}

int GetNumListItems(int panel, int control, int *count) {
    Control *c = findControl(panel, control);
    QComboBox *ring = ringOf(c);
    if (ring == nullptr) {
        return c == nullptr ? lookupError(panel) : kUiErrWrongType;
    }
    if (count == nullptr) {
        return kUiErrBadArgument;
    }
    *count = ring->count();
    return 0;
}

int GetLabelFromIndex(int panel, int control, int index, std::string *label) {
    Control *c = findControl(panel, control);
    QComboBox *ring = ringOf(c);
    if (ring == nullptr) {
        return c == nullptr ? lookupError(panel) : kUiErrWrongType;
    }
    if (label == nullptr) {
        return kUiErrBadArgument;
    }
    if (index < 0 || index >= ring->count()) {
        return kUiErrIndexOutOfRange;
    }
    *label = ring->itemText(index).toStdString();
    return 0;
}

int setRingItemTooltip(int panel, int control, int index, const char *tooltip) {
    Control *c = findControl(panel, control);
    QComboBox *ring = ringOf(c);
    if (ring == nullptr) {
        return c == nullptr ? lookupError(panel) : kUiErrWrongType;
    }
    if (index < 0 || index >= ring->count()) {
        return kUiErrIndexOutOfRange;
    }
    ring->setItemData(index, tooltip == nullptr || tooltip[0] == '\0' ? QVariant() : utf8(tooltip),
                      Qt::ToolTipRole);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Wait cursor.

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

// ---------------------------------------------------------------------------------------------
// Widget access.

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

bool isPopupInstalled(int panel) {
    Panel *p = findPanel(panel);
    return p != nullptr && p->popup && p->window->isVisible();
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

bool userInterfaceRunning() {
    return !gMainLoop.isNull();
}
