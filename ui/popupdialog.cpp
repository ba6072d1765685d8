#include "ui/popupdialog.h"

#include "ui/accessibility.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

namespace ui::detail {

namespace {

// Button labels come from callers as plain text: a '&' must show as itself rather than turn
// the next letter into a shortcut.
QString plainButtonText(const QString &label) {
    QString text = label;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

PopupDialog::PopupDialog(const QString &title, const QString &message,
                         const std::array<QString, 3> &labels, bool withInput, int enterButton,
                         int escapeButton, QWidget *parent)
    : QDialog(parent), message(message), enterButton(enterButton), escapeButton(escapeButton) {
    setWindowTitle(title);
    setModal(true);
    setWindowModality(Qt::ApplicationModal);

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *text = new QLabel(message, this);
    text->setObjectName(QLatin1String(kTextName));
    // Messages carry user strings and device answers: never interpret them as markup.
    text->setTextFormat(Qt::PlainText);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setMinimumWidth(220);
    layout->addWidget(text);

    if (withInput) {
        input = new QLineEdit(this);
        input->setObjectName(QLatin1String(kInputName));
        input->setAccessibleName(title);
        layout->addWidget(input);
    }

    auto *row = new QHBoxLayout;
    row->addStretch();
    for (int i = 0; i < 3; ++i) {
        if (labels[i].isEmpty()) {
            continue;
        }
        auto *button = new QPushButton(plainButtonText(labels[i]), this);
        const int number = i + 1;
        // Enter and Escape belong to the box, not to the focused button (keyPressEvent): no
        // button becomes the default by taking the focus. The Enter button carries the
        // platform's default-button mark, so that the operator sees what Enter will do
        // wherever the focus is.
        button->setAutoDefault(false);
        button->setDefault(number == enterButton);
        connect(button, &QPushButton::clicked, this, [this, number] { done(number); });
        buttons[i] = button;
        row->addWidget(button);
    }
    row->addStretch();
    layout->addLayout(row);

    // A screen reader reads the text as sentences, without its line breaks.
    text->setAccessibleName(withoutLineBreaks(message));
    // The focus may rest on another button than Enter's (the warning's "abbrechen"): a screen
    // reader, which says the focused button, must also say what Enter and Escape choose. Orca
    // reads the dialog's description after its text.
    if (hasButton(enterButton) && hasButton(escapeButton) && enterButton != escapeButton) {
        setAccessibleDescription(
            QCoreApplication::translate("PopupDialog", "Eingabetaste: %1. Escape: %2.")
                .arg(labels[enterButton - 1], labels[escapeButton - 1]));
    }
}

bool PopupDialog::hasButton(int number) const {
    return number >= 1 && number <= 3 && buttons[number - 1] != nullptr;
}

int PopupDialog::answerWithoutOperator() {
    const QByteArray report = (windowTitle() + QStringLiteral(": ") + message).toUtf8();
    std::fprintf(stderr, "%s\n", report.constData());
    std::fflush(stderr);
    if (hasButton(escapeButton)) {
        return escapeButton;
    }
    for (int number = 3; number >= 1; --number) {
        if (hasButton(number)) {
            return number;
        }
    }
    return 0;
}

void PopupDialog::closeAllWithoutOperator() {
    for (QWidget *window : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<PopupDialog *>(window);
        if (box != nullptr && box->isVisible()) {
            box->done(box->answerWithoutOperator());
        }
    }
}

void PopupDialog::setActiveControl(int control) {
    if (control == 4 && input != nullptr) {
        input->setFocus();
    } else if (hasButton(control)) {
        buttons[control - 1]->setFocus();
    }
}

void PopupDialog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // Styles draw the focus ring only once the keyboard has moved the focus, and showing the
    // window resets that. In this box the focus is part of the question (Space answers with the
    // focused button, Enter with the marked one), so the ring shows from the start.
    setAttribute(Qt::WA_KeyboardFocusChange);
}

QString PopupDialog::inputText() const {
    return input != nullptr ? input->text() : QString();
}

void PopupDialog::keyPressEvent(QKeyEvent *event) {
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (hasButton(enterButton)) {
            done(enterButton);
        }
        event->accept();
        return;
    }
    if (plain && event->key() == Qt::Key_Escape) {
        reject();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Escape and the close box both arrive here: they choose the Escape button, and without one
// the box stays open, because the caller expects one of its buttons as the answer.
void PopupDialog::reject() {
    if (hasButton(escapeButton)) {
        done(escapeButton);
    }
}

} // namespace ui::detail
