// Keyboard and assistive technology on the program's panels, as a person meets them: what the
// accessibility interface says of every control, group and window, and the Tab order, against
// a committed list per language (golden files, diffed); the shortcuts; Enter on the keypad;
// what a screen reader hears of an error and of a text that shows nothing; the COM ports'
// devices in the ring.
#include "app/language.h"
#include "app/trz4SteuerungGui.h"
#include "ui/uiruntime.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMetaEnum>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

int gCommits = 0;
int gCommittedControl = 0;
int countCommits(int, int control, int event, void *, int, int) {
    if (event == EVENT_COMMIT) {
        ++gCommits;
        gCommittedControl = control;
    }
    return 0;
}

class AccessTest : public ::testing::TestWithParam<Language> {
protected:
    void SetUp() override {
        setProgramLanguage(GetParam());
        registerTrz4SteuerungGui();
        main = LoadPanel(0, kTrz4GuiResource, MAINPANEL);
        info = LoadPanel(main, kTrz4GuiResource, INFOPANEL);
        ASSERT_GE(main, 0);
        ASSERT_GE(info, 0);
        gCommits = 0;
        gCommittedControl = 0;
    }
    void TearDown() override {
        DiscardPanel(main);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setProgramLanguage(Language::German);
    }
    // Shows the main panel as the active window, as the program does at start-up.
    void showMain() {
        DisplayPanel(main);
        ASSERT_TRUE(QTest::qWaitForWindowActive(panelWidget(main)));
    }
    const char *language() const { return GetParam() == Language::German ? "de" : "en"; }

    int main = -1;
    int info = -1;
};

std::string roleName(QAccessible::Role role) {
    return QMetaEnum::fromType<QAccessible::Role>().valueToKey(role);
}

// Here and below, texts are appended piece by piece: "..." + std::string&& trips GCC 12's
// -Wrestrict at -O3 (a false alarm in its string inlining), which the Windows build uses.
std::string quoted(const QString &text) {
    std::string result = "\"";
    result += QString(text).replace(u'\n', QStringLiteral("\\n")).toStdString();
    result += '"';
    return result;
}

// One line per object: its role and name, its value and description where it has them, the
// group it belongs to, and how it takes the focus (Tab, a click only, or not at all).
std::string describe(const std::string &what, QWidget *widget) {
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(widget);
    if (a == nullptr) {
        return what + " (no accessible interface)\n";
    }
    std::string line = what + "  " + roleName(a->role()) + " " + quoted(a->text(QAccessible::Name));
    if (const QString value = a->text(QAccessible::Value); !value.isEmpty()) {
        line += "  value " + quoted(value);
    }
    if (const QString description = a->text(QAccessible::Description); !description.isEmpty()) {
        line += "  description " + quoted(description);
    }
    for (QAccessibleInterface *up = a->parent(); up != nullptr; up = up->parent()) {
        if (up->role() == QAccessible::Grouping) {
            line += "  in " + quoted(up->text(QAccessible::Name));
            break;
        }
    }
    if (a->parent() != nullptr && a->parent()->indexOfChild(a) < 0) {
        line += "  (left out of the tree)";
    } else if (a->state().invisible) {
        line += "  hidden";
    } else if (widget->focusPolicy() & Qt::TabFocus) {
        line += "  Tab";
    } else if (widget->focusPolicy() != Qt::NoFocus) {
        line += "  click";
    }
    return line + "\n";
}

// The constants of the controls by number, as the panel description names them.
std::string listControls(int panel, int firstAfterLast) {
    std::string text;
    for (int control = 2; control < firstAfterLast; ++control) {
        QWidget *widget = controlWidget(panel, control);
        text += describe(widget->objectName().toStdString(), widget);
    }
    return text;
}

// The focus in the window after each Tab, from the control that has it when the window opens,
// until it comes round again.
std::string tabOrder(QWidget *window) {
    std::string order = "Tab order:";
    QWidget *start = window->focusWidget();
    if (start == nullptr) {
        return order + " (no focus)\n";
    }
    order += " ";
    order += start->objectName().toStdString();
    for (int i = 0; i < 30; ++i) {
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        QWidget *now = window->focusWidget();
        order += ", ";
        order += now != nullptr ? now->objectName().toStdString() : std::string("?");
        if (now == start) {
            break;
        }
    }
    return order + "\n";
}

std::string readText(const std::string &path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

TEST_P(AccessTest, AccessibilityAndTabOrderMatchTheCommittedList) {
    showMain();
    std::string listing =
        std::string("# What assistive technology is told about the panels (language ") +
        language() +
        "), from Qt's accessibility interfaces; written by access_tests, compared with "
        "its golden file.\n";
    listing += "\n";
    listing += describe("MAINPANEL", panelWidget(main));
    listing += listControls(main, SCANNTEXT + 1);
    listing += tabOrder(panelWidget(main));
    InstallPopup(info);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panelWidget(info)));
    listing += "\n";
    listing += describe("INFOPANEL", panelWidget(info));
    listing += listControls(info, INFOPANEL_TEXTMSG_3 + 1);
    listing += tabOrder(panelWidget(info));
    RemovePopup(info);

    const std::string golden =
        std::string(TRZ4_ACCESS_GOLDEN_DIR) + "/accessibility_" + language() + ".golden";
    const std::string actual =
        std::string(TRZ4_ACCESS_ACTUAL_DIR) + "/accessibility_" + language() + ".actual";
    QFile out(QString::fromStdString(actual));
    if (out.open(QIODevice::WriteOnly)) {
        out.write(QByteArray::fromStdString(listing));
    }
    EXPECT_EQ(listing, readText(golden))
        << "differs from " << golden << "; the listing is in " << actual;
}

// The letter after a single '&', lower case; 0 when there is none.
QChar shortcutLetter(const QString &text) {
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'&') {
            if (text[i + 1] != u'&') {
                return text[i + 1].toLower();
            }
            ++i;
        }
    }
    return QChar();
}

TEST_P(AccessTest, ShortcutsDifferFromEachOtherAndFromTheMenusAndActAsAPersonExpects) {
    std::map<QChar, std::string> taken;
    auto take = [&taken](const QString &text, const std::string &owner) {
        const QChar letter = shortcutLetter(text);
        if (letter.isNull()) {
            return;
        }
        EXPECT_TRUE(taken.emplace(letter, owner).second)
            << owner << " and " << taken[letter] << " share Alt+" << QString(letter).toStdString();
    };
    for (QMenu *menu : panelWidget(main)->findChild<QMenuBar *>()->findChildren<QMenu *>()) {
        take(menu->title(), menu->objectName().toStdString());
    }
    int buttons = 0;
    for (int control = 2; control <= SCANNTEXT; ++control) {
        if (auto *button = qobject_cast<QPushButton *>(controlWidget(main, control))) {
            take(button->text(), button->objectName().toStdString());
            buttons += shortcutLetter(button->text()).isNull() ? 0 : 1;
        }
        if (auto *label = qobject_cast<QLabel *>(controlLabelWidget(main, control));
            label != nullptr && label->buddy() != nullptr) {
            take(label->text(), label->objectName().toStdString());
        }
    }
    EXPECT_EQ(buttons, 5) << "every button with a word has its letter";

    // Alt+letter presses a button; a label's letter moves the focus to its ring.
    showMain();
    InstallCtrlCallback(main, STATUSABFRAGE, countCommits, nullptr);
    auto *status = qobject_cast<QPushButton *>(controlWidget(main, STATUSABFRAGE));
    const QChar statusLetter = shortcutLetter(status->text());
    // Through the window, as keys from the keyboard come, so that shortcuts apply.
    QWindow *window = panelWidget(main)->windowHandle();
    QTest::keyClick(window, statusLetter.toLatin1(), Qt::AltModifier);
    // A shortcut presses its button visibly: the click comes a moment later.
    for (int waited = 0; waited < 1000 && gCommits == 0; waited += 10) {
        QTest::qWait(10);
    }
    EXPECT_EQ(gCommits, 1);
    EXPECT_EQ(gCommittedControl, STATUSABFRAGE);
    auto *comLabel = qobject_cast<QLabel *>(controlLabelWidget(main, COMPORT));
    QTest::keyClick(window, shortcutLetter(comLabel->text()).toLatin1(), Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), controlWidget(main, COMPORT));
    // A lone Alt leaves the keyboard where it is: Tab goes on to the next control instead of
    // cycling the menus of a menu bar that took the focus.
    QTest::keyClick(window, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyClick(window, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), controlWidget(main, COMHILFE));
}

TEST_P(AccessTest, EnterOnTheKeypadPressesAFocusedButtonAsEnterDoes) {
    showMain();
    InstallCtrlCallback(main, KARTENNUMMERLESEN, countCommits, nullptr);
    QWidget *button = controlWidget(main, KARTENNUMMERLESEN);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(gCommits, 1);
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(gCommits, 2);
    // With another modifier it is no press.
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier | Qt::ControlModifier);
    EXPECT_EQ(gCommits, 2);
}

// Counts how often a widget is shown and hidden: a screen reader hears of a notification when it
// is shown (Qt passes the show on as an accessibility event; the offscreen platform used by the
// tests has no accessibility bridge to watch).
class ShowCounter : public QObject {
public:
    explicit ShowCounter(QWidget *widget) { widget->installEventFilter(this); }
    int shown = 0;
    int hidden = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        shown += event->type() == QEvent::Show ? 1 : 0;
        hidden += event->type() == QEvent::Hide ? 1 : 0;
        return false;
    }
};

// The notifications in a panel's window: what a screen reader has been told to say.
QWidget *notificationOf(QWidget *window) {
    for (QWidget *w : window->findChildren<QWidget *>()) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        if (a != nullptr && a->role() == QAccessible::Notification) {
            return w;
        }
    }
    return nullptr;
}

TEST_P(AccessTest, AnOutcomeIsAnnouncedEachTimeAndTheErrorRowDoesNotRepeatIt) {
    showMain();
    // As a failure's outcome is worded, its line break included.
    const char *sentence = "Fehler 403160: Keine Antwort vom Gerät.\nCOM 9";
    ASSERT_EQ(announceToScreenReader(main, sentence), 0);
    QWidget *notification = notificationOf(panelWidget(main));
    ASSERT_NE(notification, nullptr);
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(notification);
    EXPECT_EQ(a->text(QAccessible::Name).toStdString(),
              "Fehler 403160: Keine Antwort vom Gerät. COM 9");
    EXPECT_FALSE(a->state().invisible);
    // It has no pixel of its own: nothing new shows on the panel.
    EXPECT_TRUE(notification->size().isEmpty());

    // The same outcome again is told again: the notification is shown anew.
    ShowCounter counter(notification);
    ASSERT_EQ(announceToScreenReader(main, sentence), 0);
    EXPECT_EQ(counter.shown, 1);

    // The error row shows the message; the outcome's sentence has said it once already.
    ASSERT_EQ(SetCtrlVal(main, FEHLERSTRING, "Keine Antwort vom Gerät"), 0);
    EXPECT_EQ(counter.shown, 1);
}

// The index of a widget among its container's children for assistive technology, or -1.
int childIndex(QWidget *widget) {
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(widget);
    return a->parent()->indexOfChild(a);
}

TEST_P(AccessTest, ATextThatShowsNothingSaysNothingToAScreenReader) {
    showMain();
    QWidget *scan = controlWidget(main, SCANNTEXT);
    ASSERT_EQ(SetCtrlVal(main, SCANNTEXT, ""), 0);
    EXPECT_TRUE(scan->isHidden());
    EXPECT_EQ(childIndex(scan), -1);
    ASSERT_EQ(SetCtrlVal(main, SCANNTEXT, "Suche nach Gerät 1"), 0);
    EXPECT_TRUE(scan->isVisible());
    EXPECT_GE(childIndex(scan), 0);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(scan)->text(QAccessible::Name).toStdString(),
              "Suche nach Gerät 1");
    // The labels that an LED or a group carries as its name are not said twice.
    EXPECT_EQ(childIndex(controlLabelWidget(main, FEHLERLED)), -1);
    EXPECT_EQ(childIndex(controlWidget(main, MAINPANEL_TEXTMSG_2)), -1);
    EXPECT_GE(childIndex(controlWidget(main, FEHLERLED)), 0);
}

TEST_P(AccessTest, EachComPortsDeviceIsItsItemsDescriptionAndTheRingsWhileChosen) {
    ASSERT_EQ(InsertListItem(main, COMPORT, -1, "COM 33", 33), 0);
    ASSERT_EQ(InsertListItem(main, COMPORT, -1, "COM 65", 65), 0);
    ASSERT_EQ(setRingItemTooltip(main, COMPORT, 1, "/dev/ttyUSB0 (FT232R USB UART)"), 0);
    ASSERT_EQ(setRingItemTooltip(main, COMPORT, 2, "/dev/ttyACM0"), 0);
    auto *ring = qobject_cast<QComboBox *>(controlWidget(main, COMPORT));
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(ring);
    ASSERT_EQ(a->childCount(), 1);
    QAccessibleInterface *list = a->child(0);
    ASSERT_NE(list, nullptr);
    ASSERT_GE(list->childCount(), 3);
    EXPECT_EQ(list->child(1)->text(QAccessible::Name).toStdString(), "COM 33");
    EXPECT_EQ(list->child(1)->text(QAccessible::Description).toStdString(),
              "/dev/ttyUSB0 (FT232R USB UART)");
    EXPECT_EQ(list->child(2)->text(QAccessible::Description).toStdString(), "/dev/ttyACM0");

    ASSERT_EQ(SetCtrlVal(main, COMPORT, 33), 0);
    EXPECT_EQ(a->text(QAccessible::Value).toStdString(), "COM 33");
    // Also its text, where Orca looks for a closed combo box's value (else it says nothing).
    ASSERT_NE(a->textInterface(), nullptr);
    EXPECT_EQ(a->textInterface()->text(0, -1).toStdString(), "COM 33");
    EXPECT_EQ(a->text(QAccessible::Description).toStdString(), "/dev/ttyUSB0 (FT232R USB UART)");
    ASSERT_EQ(SetCtrlVal(main, COMPORT, 65), 0);
    EXPECT_EQ(a->text(QAccessible::Description).toStdString(), "/dev/ttyACM0");
    ASSERT_EQ(setRingItemTooltip(main, COMPORT, 2, nullptr), 0);
    EXPECT_TRUE(a->text(QAccessible::Description).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Language, AccessTest,
                         ::testing::Values(Language::German, Language::English),
                         [](const auto &info) {
                             return info.param == Language::German ? "de" : "en";
                         });

} // namespace
