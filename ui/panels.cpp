// Panels: building them from their descriptions, the callbacks bound by name, and the events
// that reach the callbacks.
#include "ui/uiruntime.h"

#include "ui/accessibility.h"
#include "ui/ledwidget.h"
#include "ui/logo.h"
#include "ui/paneldescription.h"
#include "ui/panellayout.h"
#include "ui/runtime_internal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
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

const ui::ResourceDescription *findResource(const char *resourceFile) {
    if (resourceFile == nullptr) {
        return nullptr;
    }
    auto it = resourceTable().find(std::string_view(resourceFile));
    return it == resourceTable().end() ? nullptr : it->second;
}

const PanelDescription *findPanelDescription(const ui::ResourceDescription *resource,
                                             int panelResourceId) {
    if (resource == nullptr) {
        return nullptr;
    }
    for (const PanelDescription *panel : resource->panels) {
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
    // program decides (the main panel's callback ends the event loop). A popup without a
    // callback of its own closes, as every message box does.
    void closeEvent(QCloseEvent *event) override {
        event->ignore();
        operatorCloses();
    }

    // Escape on a popup is its close box, as on every other box.
    void keyPressEvent(QKeyEvent *event) override {
        const Panel *p = findPanel(handle);
        const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
        if (p != nullptr && p->popup && event->key() == Qt::Key_Escape &&
            modifiers == Qt::NoModifier) {
            event->accept();
            operatorCloses();
            return;
        }
        QWidget::keyPressEvent(event);
    }

private:
    void operatorCloses() {
        const Panel *p = findPanel(handle);
        if (p == nullptr) {
            return;
        }
        if (p->callback != nullptr) {
            invokePanelCallback(handle, EVENT_CLOSE);
        } else if (p->popup) {
            RemovePopup(handle);
        }
    }

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
            // A focused command button answers Enter (the main key or the keypad's) as well as
            // Space: keyboard operators reach for Enter first.
            auto *button = qobject_cast<QPushButton *>(watched);
            const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
            if (button != nullptr && modifiers == Qt::NoModifier &&
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

// Group headings: a dark blue that reads well on the panel background.
constexpr int kHeadingColour = 0x1C3F7A;

// Where a control's label goes, in design pixels.
constexpr int kLabelHeight = 16;
constexpr int kLabelGap = 4;
constexpr int kRightLabelWidth = 210;

// What every widget of one panel is built with.
struct Build {
    const char *textContext; // translation context of the texts, or null
    double scale;            // design pixels to panel pixels
};

// A text of the description as the operator reads it: its translation for the resource's
// context when one is installed, else as written.
QString panelText(const Build &build, const char *text) {
    if (text == nullptr || text[0] == '\0') {
        return {};
    }
    if (build.textContext == nullptr) {
        return QString::fromUtf8(text);
    }
    return QCoreApplication::translate(build.textContext, text);
}

QRect designRect(const ControlDescription &d) {
    return {d.x, d.y, d.width, d.height};
}

// The label of a control, in the control's parent. `origin` is where that parent sits on the
// panel, in panel pixels.
QLabel *makeLabel(const ControlDescription &d, const Build &build, QWidget *parent, QPoint origin,
                  QWidget *buddy) {
    if (d.labelPlace == LabelPlace::None || d.label == nullptr || d.label[0] == '\0') {
        return nullptr;
    }
    auto *label = new QLabel(panelText(build, d.label), parent);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QString::fromLatin1(d.constantName) + QStringLiteral("_label"));
    // Labels get the room up to their control (left) or a fixed width (right, above) instead
    // of a measured one: measuring every text at load costs start-up time, and the layout
    // leaves them that room anyway.
    QRect place;
    switch (d.labelPlace) {
    case LabelPlace::Left:
        place = QRect(d.labelX, d.labelY, d.x - kLabelGap - d.labelX, kLabelHeight);
        break;
    case LabelPlace::Right:
        place = QRect(d.labelX, d.labelY, kRightLabelWidth, kLabelHeight);
        break;
    default:
        place = QRect(d.labelX, d.labelY, d.width, kLabelHeight);
        break;
    }
    label->setGeometry(
        scaledRect(place, build.scale).translated(-origin).intersected(parent->rect()));
    // The buddy takes the label's keyboard shortcut, and assistive technology names the
    // control after its label. An LED carries its label as its name itself.
    if (d.kind == ControlKind::Led) {
        leaveOutNamingLabel(label);
    } else if (buddy != nullptr && buddy->focusPolicy() != Qt::NoFocus) {
        label->setBuddy(buddy);
    }
    return label;
}

QWidget *makeWidget(const ControlDescription &d, const Build &build, QWidget *parent,
                    bool *charValues) {
    const QString text = panelText(build, d.label);
    switch (d.kind) {
    case ControlKind::CommandButton: {
        auto *button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::Led: {
        auto *led = new LedWidget(QString(text).remove(QLatin1Char('&')), parent);
        led->setOnColour(d.onColour);
        led->setOn(d.initialValue != 0);
        return led;
    }
    case ControlKind::Ring: {
        auto *ring = new QComboBox(parent);
        markAccessible(ring, AccessibleKind::Ring);
        for (const ui::RingItem &item : d.items) {
            ring->addItem(panelText(build, item.label), item.value);
        }
        ring->setCurrentIndex(d.items.empty() ? -1 : 0);
        *charValues = d.charValues;
        followCurrentItem(ring);
        return ring;
    }
    case ControlKind::String: {
        auto *edit = new QLineEdit(parent);
        edit->setReadOnly(d.indicator);
        return edit;
    }
    case ControlKind::Numeric: {
        auto *spin = new QSpinBox(parent);
        if (d.indicator) {
            markAccessible(spin, AccessibleKind::ReadOnlyNumber);
        }
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
        auto *label = new QLabel(text, parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // An empty text shows nothing; hidden, it says nothing to a screen reader either.
        label->setVisible(!text.isEmpty());
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
        auto *frame = new QFrame(parent);
        markAccessible(frame, AccessibleKind::Group);
        frame->setFrameShape(QFrame::Box);
        frame->setFrameShadow(QFrame::Sunken);
        return frame;
    }
    case ControlKind::Picture: {
        auto *picture = new QLabel(parent);
        picture->setPixmap(drawMakerLogo(scaledRect(designRect(d), build.scale).size()));
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

// The menu bar's style, but a lone Alt does not take the keyboard into the menu bar. A screen
// reader's operator presses Alt and its letter as one chord, yet with the reader's key handling
// in between Qt may see the Alt alone: the bar took the focus, Tab then only cycled the menus
// and the next letter chose a menu. The letters with Alt still open the menus and F10 is not
// needed for that.
class NoLoneAltStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        return hint == SH_MenuBar_AltKeyNavigation
                   ? 0
                   : QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

void buildMenuBar(Panel &panel, const ui::MenuBarDescription &description, const Build &build,
                  QVBoxLayout *layout) {
    auto *bar = new QMenuBar(panel.window);
    auto *style = new NoLoneAltStyle;
    style->setParent(bar);
    bar->setStyle(style);
    panel.menuBarHandle = gNextHandle++;
    const int handle = panel.handle;
    for (const ui::MenuDescription &menuDescription : description.menus) {
        QMenu *menu = bar->addMenu(panelText(build, menuDescription.label));
        menu->setObjectName(QString::fromLatin1(menuDescription.constantName));
        for (const ui::MenuItemDescription &item : menuDescription.items) {
            QAction *action = menu->addAction(panelText(build, item.label));
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

// A window as large as its font asks for may not fit the screen (a large font on a small
// screen): its scale is then capped at what the screen's room allows, and its font shrinks
// with it, so that the whole panel stays visible with its proportions and nothing is clipped.
// The window manager's frame is known only once the window is shown; it is taken as the
// style's title bar above and its frame width around.
void fitToScreen(QWidget *window, QSize design, const QScreen *screen, QFont *font, double *scale) {
    if (screen == nullptr) {
        return;
    }
    const QStyle *style = window->style();
    const int border = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const QMargins frame(border, border + style->pixelMetric(QStyle::PM_TitleBarHeight), border,
                         border);
    const QLayout *layout = window->layout();
    const int menuHeight = layout != nullptr && layout->menuBar() != nullptr
                               ? layout->menuBar()->sizeHint().height()
                               : 0;
    const double fitting =
        fittingScale(design, menuHeight / *scale, frame, screen->availableGeometry().size());
    // A screen smaller than the frame itself leaves nothing to fit into.
    if (fitting >= *scale || fitting <= 0.0) {
        return;
    }
    *scale = fitting;
    // Never larger than before: the texts keep the room the layout gives them.
    const int pixels =
        std::max(1, std::min(fontPixels(*font), static_cast<int>(kDesignFontPixels * fitting)));
    font->setPixelSize(pixels);
    window->setFont(*font);
}

// The group a control sits in: the smallest frame whose rectangle holds the control's, or
// null.
const ControlDescription *groupOf(const ControlDescription &d, const PanelDescription &panel) {
    const ControlDescription *group = nullptr;
    for (const ControlDescription &frame : panel.controls) {
        if (frame.kind != ControlKind::Frame || &frame == &d ||
            !designRect(frame).contains(designRect(d))) {
            continue;
        }
        if (group == nullptr || designRect(*group).contains(designRect(frame))) {
            group = &frame;
        }
    }
    return group;
}

// Frames first, outer ones before the frames inside them: a control is made inside its group's
// frame, which must exist by then. The other controls keep the description's order.
std::vector<const ControlDescription *> buildOrder(const PanelDescription &description) {
    std::vector<const ControlDescription *> order;
    for (const ControlDescription &d : description.controls) {
        order.push_back(&d);
    }
    auto area = [](const ControlDescription *d) {
        return d->kind == ControlKind::Frame ? -(d->width * d->height) : 1;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&area](const auto *a, const auto *b) { return area(a) < area(b); });
    return order;
}

// The Tab key visits the controls that take the focus in reading order: the groups and the
// controls outside any group as blocks, then inside a block its controls.
void setReadingTabOrder(Panel &panel, QWidget *canvas) {
    std::vector<QWidget *> blocks;
    std::map<QWidget *, std::vector<QWidget *>> members;
    for (auto &[id, control] : panel.controls) {
        QWidget *widget = control.widget;
        if ((widget->focusPolicy() & Qt::TabFocus) == 0) {
            continue;
        }
        QWidget *block = widget;
        while (block->parentWidget() != canvas) {
            block = block->parentWidget();
        }
        if (members[block].empty()) {
            blocks.push_back(block);
        }
        members[block].push_back(widget);
    }
    auto onPanel = [canvas](const std::vector<QWidget *> &widgets) {
        std::vector<QRect> rects;
        for (QWidget *w : widgets) {
            rects.emplace_back(w->mapTo(canvas, QPoint(0, 0)), w->size());
        }
        return rects;
    };
    std::vector<QWidget *> chain;
    for (std::size_t b : readingOrder(onPanel(blocks))) {
        const std::vector<QWidget *> &inBlock = members[blocks[b]];
        for (std::size_t i : readingOrder(onPanel(inBlock))) {
            chain.push_back(inBlock[i]);
        }
    }
    for (std::size_t i = 1; i < chain.size(); ++i) {
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    }
    // The first control in reading order has the focus when the panel opens.
    if (!chain.empty()) {
        chain.front()->setFocus();
    }
}

void buildControls(Panel &panel, const PanelDescription &description, const Build &build,
                   QWidget *canvas) {
    std::map<const ControlDescription *, QWidget *> frames;
    std::vector<std::pair<const ControlDescription *, QLabel *>> headings;
    for (const ControlDescription *d : buildOrder(description)) {
        const ControlDescription *group = groupOf(*d, description);
        QWidget *parent = group != nullptr ? frames.at(group) : canvas;
        const QPoint origin =
            group != nullptr ? scaledRect(designRect(*group), build.scale).topLeft() : QPoint();
        Control control;
        control.id = d->id;
        control.kind = d->kind;
        control.announce = d->announce;
        QWidget *widget = makeWidget(*d, build, parent, &control.charValues);
        widget->setObjectName(QString::fromLatin1(d->constantName));
        widget->setGeometry(scaledRect(designRect(*d), build.scale).translated(-origin));
        if (d->kind == ControlKind::Frame) {
            frames[d] = widget;
        } else if (d->heading && group != nullptr) {
            headings.emplace_back(group, static_cast<QLabel *>(widget));
        }
        if (d->indicator) {
            widget->setFocusPolicy(Qt::ClickFocus);
        }
        control.widget = widget;
        control.label = makeLabel(*d, build, parent, origin, widget);
        // Buttons, text messages and controls with a label are named by their text (Qt follows
        // it when it changes); the description names the others.
        if (d->accessibleName != nullptr) {
            widget->setAccessibleName(panelText(build, d->accessibleName));
        }
        control.callback = lookupCallback<CtrlCallbackPtr>(d->callbackName);
        widget->installEventFilter(new ControlEvents(panel.handle, d->id, widget));
        connectCommit(*d, widget, panel.handle);
        panel.controls[d->id] = control;
    }
    for (const auto &[group, heading] : headings) {
        frames.at(group)->setAccessibleName(heading->text());
        leaveOutNamingLabel(heading);
    }
    setReadingTabOrder(panel, canvas);
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
    const ui::ResourceDescription *resource = findResource(resourceFile);
    const PanelDescription *description = findPanelDescription(resource, panelResourceId);
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
    if (parent == nullptr && panel->callback == nullptr) {
        // Nothing would react to its close box, so the window offers none. A child panel
        // keeps it: shown as a popup, its close box closes it.
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    }
    auto *window =
        new PanelWindow(panel->handle, parent != nullptr ? parent->window : nullptr, flags);
    markAccessible(window, AccessibleKind::PanelWindow);
    panel->window = window;
    QFont font = panelFont();
    Build build{resource->translationContext, layoutScale(fontPixels(font))};
    window->setObjectName(QString::fromLatin1(description->constantName));
    window->setWindowTitle(panelText(build, description->title));
    window->setFont(font);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, rgbColour(description->backgroundColour));
    window->setPalette(palette);
    window->setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (description->menuBar != nullptr) {
        buildMenuBar(*panel, *description->menuBar, build, layout);
    }
    fitToScreen(window, QSize(description->width, description->height),
                parent != nullptr ? parent->window->screen() : QGuiApplication::primaryScreen(),
                &font, &build.scale);
    auto *canvas = new QWidget(window);
    markAccessible(canvas, AccessibleKind::Canvas);
    canvas->setObjectName(QStringLiteral("canvas"));
    canvas->setFixedSize(
        scaledRect(QRect(0, 0, description->width, description->height), build.scale).size());
    layout->addWidget(canvas);
    buildControls(*panel, *description, build, canvas);
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

QWidget *panelCanvas(int panel) {
    QWidget *window = panelWidget(panel);
    return window == nullptr
               ? nullptr
               : window->findChild<QWidget *>(QStringLiteral("canvas"), Qt::FindDirectChildrenOnly);
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
