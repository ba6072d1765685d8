// Control values, attributes and ring lists.
#include "ui/uiruntime.h"

#include "ui/accessibility.h"
#include "ui/ledwidget.h"
#include "ui/runtime_internal.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextDocument>

using namespace ui::detail;
using ui::ControlKind;

namespace {

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

// A string control shows text from outside the program (a card's identification, a system's
// reason). QLineEdit would draw its control characters as blanks, hiding that they are there;
// they show as U+FFFD instead. Line feed and tab stay: they separate the parts of an error
// message, and the field shows them as a space.
QString withVisibleControls(const QString &text) {
    QString shown = text;
    for (QChar &c : shown) {
        const char16_t unit = c.unicode();
        if ((unit < 0x20 && unit != u'\n' && unit != u'\t') || (unit >= 0x7F && unit <= 0x9F)) {
            c = QChar::ReplacementCharacter;
        }
    }
    return shown;
}

// The tooltip of a string control: the whole text, for a long error message with the
// system's reason that the field cannot show; the stale note instead while the value is stale.
void setStringTooltip(Control *c, const QString &shown) {
    auto *edit = static_cast<QLineEdit *>(c->widget.data());
    const QString tip = c->staleNote.isEmpty() ? shown : c->staleNote;
    // Tooltips render whatever looks like markup, so such a text is escaped to be shown as
    // written.
    edit->setToolTip(Qt::mightBeRichText(tip) ? Qt::convertFromPlainText(tip) : tip);
    // A screen reader hears that the text is stale, as the mouse's tooltip shows it.
    edit->setAccessibleDescription(c->staleNote);
}

// Greyed and in italics: a stale text stays readable, but does not look like a fresh answer.
void showStringStale(Control *c) {
    auto *edit = static_cast<QLineEdit *>(c->widget.data());
    const bool stale = !c->staleNote.isEmpty();
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, stale ? QColor(0x80, 0x80, 0x80)
                                           : QApplication::palette(edit).color(QPalette::Text));
    edit->setPalette(palette);
    QFont font = edit->font();
    font.setItalic(stale);
    edit->setFont(font);
    setStringTooltip(c, edit->text());
}

void showLabelStale(Control *c) {
    if (c->label.isNull()) {
        return;
    }
    const bool stale = !c->staleNote.isEmpty();
    QPalette palette = c->label->palette();
    palette.setColor(QPalette::WindowText,
                     stale ? QColor(0x80, 0x80, 0x80)
                           : c->label->parentWidget()->palette().color(QPalette::WindowText));
    c->label->setPalette(palette);
    c->label->setToolTip(c->staleNote);
}

int setTextValue(int panel, int control, const QString &text) {
    Control *c = findControl(panel, control);
    if (c == nullptr) {
        return lookupError(panel);
    }
    switch (c->kind) {
    case ControlKind::String: {
        auto *edit = static_cast<QLineEdit *>(c->widget.data());
        const QString shown = withVisibleControls(text);
        edit->setText(shown);
        edit->setCursorPosition(0);
        // A long error message with the system's reason attached does not fit the field; the
        // tooltip shows it whole.
        setStringTooltip(c, shown);
        if (c->announce) {
            announceText(edit, shown);
        }
        break;
    }
    case ControlKind::TextMessage: {
        auto *label = static_cast<QLabel *>(c->widget.data());
        label->setText(text);
        // An empty text shows nothing; hidden, it says nothing to a screen reader either.
        label->setVisible(!text.isEmpty());
        break;
    }
    case ControlKind::CommandButton:
        static_cast<QPushButton *>(c->widget.data())->setText(text);
        break;
    default:
        return kUiErrWrongType;
    }
    paintNow(c->widget);
    return 0;
}

// Qt fits an open list to its items only when it opens. A list that changes while it is open
// (a port plugged in or pulled while the operator looks at the COM list) is fitted again at
// once, so that a new item shows and the chosen one is not cut off.
void fitOpenList(QComboBox *ring) {
    if (ring->view() != nullptr && ring->view()->isVisible()) {
        ring->showPopup();
    }
}

} // namespace

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

int ClearListCtrl(int panel, int control) {
    Control *c = findControl(panel, control);
    QComboBox *ring = ringOf(c);
    if (ring == nullptr) {
        return c == nullptr ? lookupError(panel) : kUiErrWrongType;
    }
    ring->clear();
    fitOpenList(ring);
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
    fitOpenList(ring);
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
    const QVariant text =
        tooltip == nullptr || tooltip[0] == '\0' ? QVariant() : QVariant(utf8(tooltip));
    ring->setItemData(index, text, Qt::ToolTipRole);
    // What the mouse shows, a screen reader says.
    ring->setItemData(index, text, Qt::AccessibleDescriptionRole);
    return 0;
}

int announceToScreenReader(int panel, const char *text) {
    Panel *p = findPanel(panel);
    if (p == nullptr) {
        return lookupError(panel);
    }
    if (text != nullptr && text[0] != '\0') {
        announceText(p->window, utf8(text));
    }
    return 0;
}

int setCtrlAccessibleName(int panel, int control, const char *name) {
    Control *c = findControl(panel, control);
    if (c == nullptr) {
        return lookupError(panel);
    }
    c->widget->setAccessibleName(utf8(name));
    return 0;
}

int setLedStateTexts(int panel, int control, const char *onText, const char *offText) {
    Control *c = findControl(panel, control);
    if (c == nullptr) {
        return lookupError(panel);
    }
    if (c->kind != ControlKind::Led) {
        return kUiErrWrongType;
    }
    static_cast<LedWidget *>(c->widget.data())
        ->setStateTexts(onText != nullptr ? utf8(onText) : QString(),
                        offText != nullptr ? utf8(offText) : QString());
    return 0;
}

int setCtrlStale(int panel, int control, const char *note) {
    Control *c = findControl(panel, control);
    if (c == nullptr) {
        return lookupError(panel);
    }
    if (c->kind != ControlKind::Led && c->kind != ControlKind::String) {
        return kUiErrWrongType;
    }
    const QString text = utf8(note);
    if (text == c->staleNote) {
        return 0;
    }
    c->staleNote = text;
    if (c->kind == ControlKind::Led) {
        static_cast<LedWidget *>(c->widget.data())->setStaleNote(text);
    } else {
        showStringStale(c);
    }
    showLabelStale(c);
    paintNow(c->widget);
    paintNow(c->label);
    return 0;
}

int getCtrlStale(int panel, int control, std::string *note) {
    Control *c = findControl(panel, control);
    if (c == nullptr) {
        return lookupError(panel);
    }
    if (note == nullptr) {
        return kUiErrBadArgument;
    }
    *note = c->staleNote.toStdString();
    return 0;
}
