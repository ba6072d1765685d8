#include "ui/testing/popupdriver.h"

#include "ui/popupdialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace ui::testing {

namespace {

constexpr int kPollMs = 10;

std::string readText(QWidget *dialog) {
    if (auto *message = dialog->findChild<QLabel *>(QStringLiteral("popupText"))) {
        return message->text().toStdString();
    }
    QStringList texts;
    for (QLabel *label : dialog->findChildren<QLabel *>()) {
        if (!label->text().isEmpty()) {
            texts << label->text();
        }
    }
    return texts.join(QLatin1Char('\n')).toStdString();
}

void sendKey(QWidget *dialog, int key, Qt::KeyboardModifiers modifiers) {
    QWidget *target = dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog;
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QPointer<QWidget> guard(target);
    QApplication::sendEvent(target, &press);
    if (!guard.isNull()) {
        QApplication::sendEvent(target, &release);
    }
}

} // namespace

std::string buttonLabel(const QString &text) {
    QString plain;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
                plain += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        plain += text[i];
    }
    return plain.toStdString();
}

PopupDriver::PopupDriver(int timeoutMs) : timeoutMs(timeoutMs) {
    timer.setInterval(kPollMs);
    connect(&timer, &QTimer::timeout, this, &PopupDriver::poll);
}

PopupDriver::~PopupDriver() = default;

void PopupDriver::pressEnter() {
    pressKey(Qt::Key_Return);
}
void PopupDriver::pressEscape() {
    pressKey(Qt::Key_Escape);
}

void PopupDriver::pressKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    enqueue(Step{Step::Kind::Key, qtKey, modifiers, {}});
}

void PopupDriver::clickButton(const std::string &label) {
    enqueue(Step{Step::Kind::Click, 0, Qt::NoModifier, label});
}

void PopupDriver::justLook() {
    enqueue(Step{Step::Kind::Look, 0, Qt::NoModifier, {}});
}

SeenPopup PopupDriver::seen(int i) const {
    return i >= 0 && i < static_cast<int>(records.size()) ? records[static_cast<size_t>(i)]
                                                          : SeenPopup{};
}

void PopupDriver::enqueue(Step step) {
    steps.push_back(std::move(step));
    if (!timer.isActive()) {
        waitedMs = 0;
        timer.start();
    }
}

void PopupDriver::poll() {
    QWidget *dialog = QApplication::activeModalWidget();
    // The dialog answered last may still be on its way out; wait until it has gone.
    if (dialog != nullptr && dialog == lastDialog && dialog->isVisible()) {
        dialog = nullptr;
    } else if (dialog == nullptr || !dialog->isVisible()) {
        lastDialog = nullptr;
        dialog = nullptr;
    }
    if (dialog == nullptr) {
        waitedMs += kPollMs;
        if (waitedMs >= timeoutMs) {
            records.push_back(SeenPopup{});
            steps.clear();
            failed = true;
            timer.stop();
        }
        return;
    }
    const Step step = steps.front();
    steps.pop_front();
    waitedMs = 0;
    lastDialog = dialog;
    if (answer(dialog, step)) {
        ++answeredCount;
    } else {
        failed = true;
    }
    if (steps.empty() || failed) {
        timer.stop();
    }
}

bool PopupDriver::answer(QWidget *dialog, const Step &step) {
    SeenPopup record;
    record.seen = true;
    record.title = dialog->windowTitle().toStdString();
    record.text = readText(dialog);
    record.description = dialog->accessibleDescription().toStdString();
    if (auto *message =
            dialog->findChild<QLabel *>(QLatin1String(ui::detail::PopupDialog::kTextName))) {
        record.spokenText = message->accessibleName().toStdString();
    }
    QAbstractButton *target = nullptr;
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
        const std::string label = buttonLabel(button->text());
        record.buttons.push_back(label);
        if (button->hasFocus() || dialog->focusWidget() == button) {
            record.focusedButton = label;
        }
        if (auto *push = qobject_cast<QPushButton *>(button);
            push != nullptr && push->isDefault()) {
            record.defaultButton = label;
        }
        if (step.kind == Step::Kind::Click && label == step.label) {
            target = button;
        }
    }
    record.focusRingShown =
        dialog->focusWidget() != nullptr && dialog->testAttribute(Qt::WA_KeyboardFocusChange);
    records.push_back(record);
    switch (step.kind) {
    case Step::Kind::Key:
        sendKey(dialog, step.key, step.modifiers);
        return true;
    case Step::Kind::Click:
        if (target == nullptr) {
            // Leave no dialog behind that would block the test until its time-out.
            steps.clear();
            sendKey(dialog, Qt::Key_Escape, Qt::NoModifier);
            return false;
        }
        target->click();
        return true;
    case Step::Kind::Look:
        return true;
    }
    return false;
}

} // namespace ui::testing
