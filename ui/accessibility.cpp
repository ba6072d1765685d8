#include "ui/accessibility.h"

#include "ui/ledwidget.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QSpinBox>
#include <QWidget>

namespace ui::detail {

namespace {

// The dynamic property that carries a widget's AccessibleKind.
constexpr const char *kKindProperty = "trz4AccessibleKind";
// Set on a label whose text another object carries as its name (an LED's label, a group's
// heading).
constexpr const char *kNamesAnotherProperty = "trz4NamesAnother";

// An LED as a screen reader says it in every reading mode: "Fehler: aus". Its description is
// the state alone.
class LedAccessible : public QAccessibleWidget {
public:
    explicit LedAccessible(LedWidget *led) : QAccessibleWidget(led, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        const QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && !text.isEmpty()) {
            return text + QStringLiteral(": ") + widget()->accessibleDescription();
        }
        return text;
    }
};

// The notification that announceText shows: named by its text.
class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(QLabel *announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<QLabel *>(widget())->text()
                                      : QAccessibleWidget::text(t);
    }
};

// A panel's canvas or a group: its children are the widgets inside that are not hidden. Qt
// lists hidden ones too, merely marked invisible; a text that shows nothing on screen (an
// empty text message) says nothing to a screen reader either.
class ContainerAccessible : public QAccessibleWidget {
public:
    ContainerAccessible(QWidget *widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role) {}

    int childCount() const override { return static_cast<int>(shownChildren().size()); }
    QAccessibleInterface *child(int index) const override {
        const QList<QWidget *> children = shownChildren();
        return index >= 0 && index < children.size()
                   ? QAccessible::queryAccessibleInterface(children.at(index))
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        return child == nullptr ? -1 : shownChildren().indexOf(child->object());
    }

private:
    QList<QWidget *> shownChildren() const {
        QList<QWidget *> shown;
        for (QObject *object : widget()->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (child != nullptr && !child->isWindow() && !child->isHidden() &&
                !child->property(kNamesAnotherProperty).toBool()) {
                shown << child;
            }
        }
        return shown;
    }
};

// A widget whose shown value is its text for assistive technology: read-only, without caret
// or selection.
class ShownTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    using QAccessibleWidget::QAccessibleWidget;
    using QAccessibleWidget::text;

    void *interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface *>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }

    QString text(int start, int end) const override {
        return shownText().mid(start, end < 0 ? -1 : end - start);
    }
    int characterCount() const override { return static_cast<int>(shownText().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *start, int *end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

protected:
    virtual QString shownText() const = 0;
};

// A ring as Qt's combo box presents it, but named by its label or accessible name everywhere.
// Its current item's text is also its text: a screen reader that looks for the shown value of
// a closed combo box in its text (Orca does, as Qt 6.4 offers no selection there) says the
// value on focus and where-am-I, not the description in its place.
class RingAccessible : public ShownTextAccessible {
public:
    explicit RingAccessible(QComboBox *ring) : ShownTextAccessible(ring, QAccessible::ComboBox) {}

    // The list of items is the one child, as in Qt's own combo box.
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(ring()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        return child != nullptr && child->object() == ring()->view() ? 0 : -1;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return ring()->currentText();
        }
        if (t == QAccessible::Description) {
            const QString device = ring()->currentData(Qt::AccessibleDescriptionRole).toString();
            if (!device.isEmpty()) {
                return device;
            }
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction() << pressAction();
    }
    void doAction(const QString &action) override {
        if (action != showMenuAction() && action != pressAction()) {
            QAccessibleWidget::doAction(action);
        } else if (ring()->view()->isVisible()) {
            ring()->hidePopup();
        } else {
            ring()->showPopup();
        }
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

protected:
    QString shownText() const override { return ring()->currentText(); }

private:
    QComboBox *ring() const { return static_cast<QComboBox *>(object()); }
};

// A number the operator cannot change (the error number): a read-only text field, not a spin
// box that a screen reader announces as if it could be turned.
class ReadOnlyNumberAccessible : public ShownTextAccessible {
public:
    explicit ReadOnlyNumberAccessible(QAbstractSpinBox *box)
        : ShownTextAccessible(box, QAccessible::EditableText) {}

    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.editable = false;
        return s;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? box()->text() : QAccessibleWidget::text(t);
    }

protected:
    QString shownText() const override { return box()->text(); }

private:
    QAbstractSpinBox *box() const { return static_cast<QAbstractSpinBox *>(object()); }
};

QAccessibleInterface *panelAccessible(const QString & /*className*/, QObject *object) {
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget == nullptr) {
        return nullptr;
    }
    // An LED tells its state while it is being made, before it could be marked.
    if (auto *led = qobject_cast<LedWidget *>(widget)) {
        return new LedAccessible(led);
    }
    const QVariant kind = widget->property(kKindProperty);
    if (!kind.isValid()) {
        return nullptr;
    }
    switch (static_cast<AccessibleKind>(kind.toInt())) {
    case AccessibleKind::PanelWindow:
        return new QAccessibleWidget(
            widget, widget->parentWidget() != nullptr ? QAccessible::Dialog : QAccessible::Window);
    case AccessibleKind::Canvas:
        return new ContainerAccessible(widget, QAccessible::Client);
    case AccessibleKind::Group:
        return new ContainerAccessible(widget, QAccessible::Grouping);
    case AccessibleKind::Ring:
        if (auto *ring = qobject_cast<QComboBox *>(widget)) {
            return new RingAccessible(ring);
        }
        return nullptr;
    case AccessibleKind::ReadOnlyNumber:
        if (auto *box = qobject_cast<QAbstractSpinBox *>(widget)) {
            return new ReadOnlyNumberAccessible(box);
        }
        return nullptr;
    case AccessibleKind::Announcer:
        if (auto *announcer = qobject_cast<QLabel *>(widget)) {
            return new AnnouncerAccessible(announcer);
        }
        return nullptr;
    }
    return nullptr;
}

} // namespace

void markAccessible(QWidget *widget, AccessibleKind kind) {
    static const bool installed = (QAccessible::installFactory(panelAccessible), true);
    (void)installed;
    widget->setProperty(kKindProperty, static_cast<int>(kind));
}

void leaveOutNamingLabel(QWidget *label) {
    label->setProperty(kNamesAnotherProperty, true);
}

void followCurrentItem(QComboBox *ring) {
    auto changed = [ring] {
        QAccessibleEvent event(ring, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    };
    QObject::connect(ring, &QComboBox::currentIndexChanged, ring, changed);
    // The operator chose an item in the closed ring with the keys (a choice in the open list
    // Qt presents itself; a value the program sets is no choice). Qt 6.4 tells a screen reader
    // nothing it says then (Orca ignores a combo box's name change and finds no selection in
    // it); the chosen item taking the focus it says, as with other toolkits' combo boxes.
    QObject::connect(ring, &QComboBox::activated, ring, [ring](int index) {
        const QModelIndex item =
            ring->model()->index(index, ring->modelColumn(), ring->rootModelIndex());
        if (!ring->hasFocus() || ring->view()->isVisible() || !item.isValid()) {
            return;
        }
        // The closed list keeps the chosen item selected.
        ring->view()->setCurrentIndex(item);
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(ring->view());
        QAccessibleTableInterface *table = list != nullptr ? list->tableInterface() : nullptr;
        QAccessibleInterface *cell = table != nullptr ? table->cellAt(item.row(), 0) : nullptr;
        if (cell != nullptr) {
            QAccessibleEvent focus(ring->view(), QAccessible::Focus);
            focus.setChild(list->indexOfChild(cell));
            QAccessible::updateAccessibility(&focus);
        }
    });
    QObject::connect(ring->model(), &QAbstractItemModel::dataChanged, ring,
                     [ring, changed](const QModelIndex &from, const QModelIndex &to) {
                         const int current = ring->currentIndex();
                         if (current >= from.row() && current <= to.row()) {
                             changed();
                         }
                     });
}

QString withoutLineBreaks(const QString &text) {
    QString joined = text.trimmed();
    // "Karten-\nnummer": a hyphen at a line end before a small letter divides one word.
    static const QRegularExpression dividedWord(QStringLiteral("(\\w)-\\n\\s*(?=\\p{Ll})"));
    joined.replace(dividedWord, QStringLiteral("\\1"));
    static const QRegularExpression lineBreaks(QStringLiteral("\\s*\\n\\s*"));
    return joined.replace(lineBreaks, QStringLiteral(" "));
}

void announceText(QWidget *widget, const QString &text) {
    QWidget *window = widget->window();
    auto *announcer = window->findChild<QLabel *>(QLatin1String(kAnnouncerName));
    if (announcer == nullptr) {
        announcer = new QLabel(window);
        markAccessible(announcer, AccessibleKind::Announcer);
        announcer->setObjectName(QLatin1String(kAnnouncerName));
        announcer->setTextFormat(Qt::PlainText);
        // No pixel on screen: what it says is on the panel already.
        announcer->setGeometry(0, 0, 0, 0);
    }
    // Shown anew for each message: the screen reader speaks a notification as it appears.
    announcer->hide();
    announcer->setText(withoutLineBreaks(text));
    announcer->setVisible(!text.isEmpty());
}

} // namespace ui::detail
