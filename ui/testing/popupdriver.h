// Answers modal dialogs from a test as a person would, while the code under test waits in
// the dialog's own event loop.
//
// Queue the answers first, then call the code that opens the dialogs:
//
//     ui::testing::PopupDriver driver;
//     driver.pressEnter();                      // answers the first dialog
//     driver.clickButton("abbrechen");          // answers the second one
//     int chosen = GenericMessagePopup(...);    // blocks until the driver has answered
//     EXPECT_EQ(driver.seen(0).title, "Warnung");
//
// The driver polls every few milliseconds for QApplication::activeModalWidget() (message
// boxes, GenericMessagePopup boxes and panels shown by InstallPopup alike), records what the
// dialog shows, and answers it: keys go to the dialog's focus widget, so focus, Enter and
// Escape rules are exercised as an operator meets them. Each answer waits until the dialog
// answered before has gone. A dialog that does not appear within the time-out is recorded as
// not seen, and the remaining answers are dropped.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <string>
#include <vector>

class QWidget;

namespace ui::testing {

// What a dialog showed when it was answered. Texts are UTF-8, button labels without the '&'
// of their shortcuts.
struct SeenPopup {
    bool seen = false;
    std::string title;
    std::string text; // the message, or the texts of all labels joined by line feeds
    std::vector<std::string> buttons;
    std::string focusedButton; // label of the button that had the focus, or empty
    std::string defaultButton; // label of the button with the default-button mark, or empty
    // Whether the styles draw the focus ring: they do once the window counts the focus as moved
    // by the keyboard (Qt::WA_KeyboardFocusChange), and a widget has it.
    bool focusRingShown = false;
    // What a screen reader reads: the message's accessible name and the dialog's description.
    std::string spokenText;
    std::string description;
};

class PopupDriver : public QObject {
    Q_OBJECT
public:
    explicit PopupDriver(int timeoutMs = 5000);
    ~PopupDriver() override;

    void pressEnter();
    void pressEscape();
    void pressKey(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Clicks the button whose label (shortcut '&' removed) is `label`. Without such a button
    // the dialog is recorded, answered with Escape so that the test does not hang, and the
    // driver fails (allAnswered() false, the remaining answers dropped).
    void clickButton(const std::string &label);
    // Records the dialog and leaves it open (for tests that close it themselves).
    void justLook();

    // Dialogs answered so far; seen(i) for the i-th queued answer (empty SeenPopup if none).
    int answered() const { return answeredCount; }
    SeenPopup seen(int i) const;
    bool allAnswered() const { return steps.empty() && !failed; }

private:
    struct Step {
        enum class Kind { Key, Click, Look } kind;
        int key = 0;
        Qt::KeyboardModifiers modifiers;
        std::string label;
    };
    void enqueue(Step step);
    void poll();
    bool answer(QWidget *dialog, const Step &step);

    std::deque<Step> steps;
    std::vector<SeenPopup> records;
    QTimer timer;
    QPointer<QWidget> lastDialog;
    int answeredCount = 0;
    int waitedMs = 0;
    int timeoutMs;
    bool failed = false;
};

// Text of a button without its shortcut marks ("&OK" -> "OK", "a && b" -> "a & b").
std::string buttonLabel(const QString &text);

} // namespace ui::testing
