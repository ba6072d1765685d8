// The runtime operations on real widgets: handles, values, rings, callbacks and the loop, on
// the tests' own panels (ui/testing/testpanels.h); and the registration of panel resources, on
// panels of its own.
#include "ui/testing/testpanels.h"
#include "ui/paneldescription.h"
#include "ui/uiruntime.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <vector>

namespace {

struct Event {
    int panel, control, event, data1, data2;
    void *callbackData;
};
std::vector<Event> gEvents;

int recordEvent(int panel, int control, int event, void *data, int d1, int d2) {
    gEvents.push_back({panel, control, event, d1, d2, data});
    return 0;
}

// Rebuilds the ring on a click, as the COM-port list does: the list must not be open yet.
bool gListWasOpen = false;
int rebuildRing(int panel, int control, int event, void *, int, int) {
    if (event == EVENT_LEFT_CLICK || event == EVENT_KEYPRESS) {
        auto *ring = static_cast<QComboBox *>(controlWidget(panel, control));
        gListWasOpen = ring->view()->isVisible();
        ClearListCtrl(panel, control);
        InsertListItem(panel, control, -1, "nicht geöffnet", 0);
        InsertListItem(panel, control, -1, "COM 3", 3);
    }
    return 0;
}

bool gAfterQuit = false;
int quitFromCallback(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) {
        QuitUserInterface(7);
        gAfterQuit = true; // still runs: the loop ends only after the callback returns
    }
    return 0;
}

int gDiscardTarget = 0;
int discardOwnPanel(int panel, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) {
        EXPECT_EQ(DiscardPanel(panel), 0);
        gDiscardTarget = panel;
    }
    return 0;
}

std::vector<int> gPanelEvents;
int recordPanelEvent(int, int event, void *, int, int) {
    gPanelEvents.push_back(event);
    return 0;
}

std::vector<int> gMenuItems;
void recordMenu(int menuBar, int item, void *, int panel) {
    EXPECT_GT(menuBar, 0);
    EXPECT_GT(panel, 0);
    gMenuItems.push_back(item);
}

// The runtime knows no panel of its own: the tests' panels are registered for every test.
class TestPanels : public ::testing::Environment {
public:
    void SetUp() override { ui::testing::registerTestPanels(); }
};
const auto *const testPanels = ::testing::AddGlobalTestEnvironment(new TestPanels);

class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        gEvents.clear();
        gPanelEvents.clear();
        gMenuItems.clear();
        main = LoadPanel(0, kTestPanelsResource, TESTPANEL);
        ASSERT_GE(main, 0);
    }
    void TearDown() override {
        DiscardPanel(main);
        registerCallback("Test_Button", static_cast<CtrlCallbackPtr>(nullptr));
        registerCallback("Test_Panel", static_cast<PanelCallbackPtr>(nullptr));
        registerCallback("Test_Menu_First", static_cast<MenuCallbackPtr>(nullptr));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(loadedPanelCount(), 0);
    }
    int main = -1;
};

TEST(RuntimeLoad, UnknownResourceOrPanelFailsWithoutPanel) {
    EXPECT_EQ(LoadPanel(0, "other.ui", TESTPANEL), kUiErrResourceNotFound);
    EXPECT_EQ(LoadPanel(0, kTestPanelsResource, 99), kUiErrResourceNotFound);
    EXPECT_EQ(LoadPanel(0, nullptr, TESTPANEL), kUiErrResourceNotFound);
    EXPECT_EQ(LoadPanel(12345, kTestPanelsResource, CHILDPANEL), kUiErrBadPanel);
    EXPECT_EQ(loadedPanelCount(), 0);
}

ui::PanelDescription smallPanel(int resourceId, const char *title) {
    ui::PanelDescription panel{resourceId, "SMALL", title, 120, 60, 0xFFFFFF};
    ui::ControlDescription button{2, "KNOPF", ui::ControlKind::CommandButton, 10, 10, 80, 24};
    button.label = "Knopf";
    panel.controls = {button};
    return panel;
}

std::string titleOf(int panel) {
    return panelWidget(panel)->windowTitle().toStdString();
}

TEST(RuntimeResources, PanelsLoadOnlyFromTheResourceRegisteredUnderTheName) {
    const ui::PanelDescription first = smallPanel(7, "Erstes");
    const ui::PanelDescription second = smallPanel(8, "Zweites");
    const ui::ResourceDescription firstResource{{&first}};
    const ui::ResourceDescription secondResource{{&second}};

    EXPECT_EQ(LoadPanel(0, "small.ui", 7), kUiErrResourceNotFound);
    EXPECT_EQ(registerPanelResource("small.ui", &firstResource), 0);
    const int panel = LoadPanel(0, "small.ui", 7);
    ASSERT_GE(panel, 0);
    EXPECT_EQ(titleOf(panel), "Erstes");
    std::string label;
    EXPECT_EQ(GetCtrlVal(panel, 2, &label), 0);
    EXPECT_EQ(label, "Knopf");
    // Names are compared whole and byte for byte; another resource's panels are not found.
    EXPECT_EQ(LoadPanel(0, "SMALL.UI", 7), kUiErrResourceNotFound);
    EXPECT_EQ(LoadPanel(0, "small.u", 7), kUiErrResourceNotFound);
    EXPECT_EQ(LoadPanel(0, "small.ui", TESTPANEL), kUiErrResourceNotFound);
    EXPECT_EQ(LoadPanel(0, kTestPanelsResource, 7), kUiErrResourceNotFound);

    // Registering the name again replaces the description.
    EXPECT_EQ(registerPanelResource("small.ui", &secondResource), 0);
    EXPECT_EQ(LoadPanel(0, "small.ui", 7), kUiErrResourceNotFound);
    const int replaced = LoadPanel(0, "small.ui", 8);
    ASSERT_GE(replaced, 0);
    EXPECT_EQ(titleOf(replaced), "Zweites");

    // A null description removes the name; panels loaded before stay usable.
    EXPECT_EQ(registerPanelResource("small.ui", nullptr), 0);
    EXPECT_EQ(LoadPanel(0, "small.ui", 8), kUiErrResourceNotFound);
    EXPECT_EQ(SetCtrlVal(panel, 2, "Noch da"), 0);
    EXPECT_EQ(titleOf(panel), "Erstes");
    EXPECT_EQ(registerPanelResource(nullptr, &firstResource), kUiErrBadArgument);
    EXPECT_EQ(registerPanelResource("small.ui", nullptr), 0); // removing twice is harmless

    EXPECT_EQ(DiscardPanel(panel), 0);
    EXPECT_EQ(DiscardPanel(replaced), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(loadedPanelCount(), 0);
}

TEST_F(RuntimeTest, PanelIsHiddenUntilDisplayedAndChildGoesWithParent) {
    EXPECT_FALSE(panelWidget(main)->isVisible());
    const int info = LoadPanel(main, kTestPanelsResource, CHILDPANEL);
    ASSERT_GE(info, 0);
    EXPECT_NE(info, main);
    EXPECT_EQ(DisplayPanel(main), 0);
    EXPECT_TRUE(panelWidget(main)->isVisible());
    EXPECT_FALSE(panelWidget(info)->isVisible());
    EXPECT_EQ(DiscardPanel(main), 0);
    EXPECT_EQ(panelWidget(info), nullptr);
    EXPECT_EQ(DiscardPanel(info), kUiErrBadPanel);
    main = LoadPanel(0, kTestPanelsResource, TESTPANEL);
}

TEST_F(RuntimeTest, ValuesOfEachKindRoundTrip) {
    int number = -1;
    EXPECT_EQ(SetCtrlVal(main, ERRORLED, 5), 0);
    EXPECT_EQ(GetCtrlVal(main, ERRORLED, &number), 0);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(SetCtrlVal(main, ERRORNUMBER, 403012), 0);
    EXPECT_EQ(GetCtrlVal(main, ERRORNUMBER, &number), 0);
    EXPECT_EQ(number, 403012);
    EXPECT_EQ(SetCtrlVal(main, ERRORNUMBER, -2147483647 - 1), 0);
    EXPECT_EQ(GetCtrlVal(main, ERRORNUMBER, &number), 0);
    EXPECT_EQ(number, -2147483647 - 1);

    char card = 0;
    EXPECT_EQ(SetCtrlVal(main, DIGITRING, 'c'), 0);
    EXPECT_EQ(GetCtrlVal(main, DIGITRING, &card), 0);
    EXPECT_EQ(card, 'c');
    EXPECT_EQ(SetCtrlVal(main, DIGITRING, 'C'), kUiErrBadArgument);
    EXPECT_EQ(GetCtrlVal(main, DIGITRING, &card), 0);
    EXPECT_EQ(card, 'c');

    std::string text;
    EXPECT_EQ(SetCtrlVal(main, ERRORTEXT, "Keine Antwort vom Gerät"), 0);
    EXPECT_EQ(GetCtrlVal(main, ERRORTEXT, &text), 0);
    EXPECT_EQ(text, "Keine Antwort vom Gerät");
    // A message longer than the field stays readable whole in the tooltip.
    EXPECT_EQ(controlWidget(main, ERRORTEXT)->toolTip(), "Keine Antwort vom Gerät");
    EXPECT_EQ(SetCtrlVal(main, TEXT, nullptr), 0);
    EXPECT_EQ(GetCtrlVal(main, TEXT, &text), 0);
    EXPECT_EQ(text, "");
}

TEST_F(RuntimeTest, WrongTypesAndUnknownControlsAreRefused) {
    int number = 0;
    char card = 0;
    std::string text;
    EXPECT_EQ(SetCtrlVal(main, ERRORTEXT, 1), kUiErrWrongType);
    EXPECT_EQ(SetCtrlVal(main, ERRORLED, "an"), kUiErrWrongType);
    EXPECT_EQ(GetCtrlVal(main, ERRORTEXT, &card), kUiErrWrongType);
    EXPECT_EQ(GetCtrlVal(main, INTRING, &card), kUiErrWrongType);
    EXPECT_EQ(GetCtrlVal(main, ERRORLED, &text), kUiErrWrongType);
    EXPECT_EQ(GetCtrlVal(main, ERRORLED, static_cast<int *>(nullptr)), kUiErrBadArgument);
    EXPECT_EQ(SetCtrlVal(main, 999, 1), kUiErrBadControl);
    EXPECT_EQ(GetCtrlVal(4711, ERRORLED, &number), kUiErrBadPanel);
    EXPECT_EQ(SetCtrlAttribute(main, ERRORTEXT, ATTR_ON_COLOR, 0xFF0000), kUiErrBadAttribute);
    EXPECT_EQ(SetPanelAttribute(main, 1, 1), kUiErrBadAttribute);
    EXPECT_EQ(SetSystemAttribute(ATTR_TASKBAR_BUTTON_VISIBLE, 0), 0);
}

TEST_F(RuntimeTest, LedOnColourAndStateText) {
    int colour = 0;
    EXPECT_EQ(SetCtrlAttribute(main, LED, ATTR_ON_COLOR, 0x00FF00), 0);
    EXPECT_EQ(GetCtrlAttribute(main, LED, ATTR_ON_COLOR, &colour), 0);
    EXPECT_EQ(colour, 0x00FF00);
    QWidget *led = controlWidget(main, LED);
    EXPECT_EQ(led->accessibleDescription(), "aus");
    SetCtrlVal(main, LED, 1);
    EXPECT_EQ(led->accessibleDescription(), "ein");
    EXPECT_EQ(led->toolTip(), "1: ein");
}

TEST_F(RuntimeTest, RingListOperations) {
    EXPECT_EQ(ClearListCtrl(main, INTRING), 0);
    int count = -1;
    GetNumListItems(main, INTRING, &count);
    EXPECT_EQ(count, 0);
    int port = 0;
    EXPECT_EQ(GetCtrlVal(main, INTRING, &port), kUiErrIndexOutOfRange);
    EXPECT_EQ(InsertListItem(main, INTRING, -1, "nicht geöffnet", 0), 0);
    EXPECT_EQ(InsertListItem(main, INTRING, -1, "COM 10", 10), 0);
    EXPECT_EQ(InsertListItem(main, INTRING, 1, "COM 1", 1), 0);
    EXPECT_EQ(InsertListItem(main, INTRING, 5, "COM 5", 5), kUiErrIndexOutOfRange);
    std::string label;
    GetLabelFromIndex(main, INTRING, 1, &label);
    EXPECT_EQ(label, "COM 1");
    int index = 0;
    EXPECT_EQ(GetIndexFromValue(main, INTRING, &index, 10), 0);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(GetIndexFromValue(main, INTRING, &index, 7), 0);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(SetCtrlVal(main, INTRING, 10), 0);
    EXPECT_EQ(GetCtrlVal(main, INTRING, &port), 0);
    EXPECT_EQ(port, 10);
    EXPECT_EQ(SetCtrlVal(main, INTRING, 7), kUiErrBadArgument);
    EXPECT_EQ(setRingItemTooltip(main, INTRING, 2, "/dev/ttyUSB0"), 0);
    auto *ring = static_cast<QComboBox *>(controlWidget(main, INTRING));
    EXPECT_EQ(ring->itemData(2, Qt::ToolTipRole).toString(), "/dev/ttyUSB0");
    EXPECT_EQ(setRingItemTooltip(main, INTRING, 3, "x"), kUiErrIndexOutOfRange);
    EXPECT_EQ(ClearListCtrl(main, ERRORLED), kUiErrWrongType);
}

// The fault: Qt sizes an open list only when it opens, so an item added meanwhile (a port
// plugged in) stayed hidden and the chosen one clipped until the list was opened again.
TEST_F(RuntimeTest, AnOpenListFollowsItsItemsAsTheyComeAndGo) {
    DisplayPanel(main);
    auto *ring = static_cast<QComboBox *>(controlWidget(main, INTRING));
    auto refill = [&](int items) {
        ClearListCtrl(main, INTRING);
        for (int port = 1; port <= items; ++port)
            InsertListItem(main, INTRING, -1, ("COM " + std::to_string(port)).c_str(), port);
        SetCtrlVal(main, INTRING, items);
    };
    // The last item, and so every one above it, is shown whole in the open list.
    auto allShown = [ring] {
        QApplication::processEvents();
        const QAbstractItemView *view = ring->view();
        const QRect last = view->visualRect(view->model()->index(ring->count() - 1, 0));
        return last.top() >= 0 && last.bottom() < view->viewport()->height();
    };
    refill(1);
    ring->showPopup();
    ASSERT_TRUE(ring->view()->isVisible());
    QApplication::processEvents();
    const int oneItemHeight = ring->view()->height();
    refill(5);
    EXPECT_TRUE(ring->view()->isVisible());
    EXPECT_TRUE(allShown());
    refill(1);
    EXPECT_TRUE(allShown());
    EXPECT_EQ(ring->view()->height(), oneItemHeight) << "shrinks again";
    ring->hidePopup();
    // A closed list stays closed.
    refill(3);
    EXPECT_FALSE(ring->view()->isVisible());
}

TEST_F(RuntimeTest, CallbacksAreBoundByNameAtLoad) {
    // Registered after this panel was loaded: only panels loaded later bind it.
    registerCallback("Test_Button", recordEvent);
    static_cast<QPushButton *>(controlWidget(main, BOUNDBUTTON))->click();
    EXPECT_TRUE(gEvents.empty());

    const int second = LoadPanel(0, kTestPanelsResource, TESTPANEL);
    static_cast<QPushButton *>(controlWidget(second, BOUNDBUTTON))->click();
    static_cast<QPushButton *>(controlWidget(second, BUTTON))->click(); // bound by no name
    ASSERT_EQ(gEvents.size(), 1u);
    EXPECT_EQ(gEvents[0].panel, second);
    EXPECT_EQ(gEvents[0].control, BOUNDBUTTON);
    EXPECT_EQ(gEvents[0].event, EVENT_COMMIT);
    DiscardPanel(second);
}

TEST_F(RuntimeTest, InstalledCallbackGetsItsDataAndCanBeRemoved) {
    int data = 0;
    EXPECT_EQ(InstallCtrlCallback(main, BUTTON, recordEvent, &data), 0);
    static_cast<QPushButton *>(controlWidget(main, BUTTON))->click();
    ASSERT_EQ(gEvents.size(), 1u);
    EXPECT_EQ(gEvents[0].callbackData, &data);
    EXPECT_EQ(InstallCtrlCallback(main, BUTTON, nullptr, nullptr), 0);
    static_cast<QPushButton *>(controlWidget(main, BUTTON))->click();
    EXPECT_EQ(gEvents.size(), 1u);
}

TEST_F(RuntimeTest, RingCommitsOnOperatorChoiceOnly) {
    InstallCtrlCallback(main, CHARRING, recordEvent, nullptr);
    InsertListItem(main, CHARRING, -1, "&", '&');
    SetCtrlVal(main, CHARRING, '&'); // the program's own setting commits nothing
    EXPECT_TRUE(gEvents.empty());
    auto *ring = static_cast<QComboBox *>(controlWidget(main, CHARRING));
    emit ring->activated(0);
    ASSERT_EQ(gEvents.size(), 1u);
    EXPECT_EQ(gEvents[0].event, EVENT_COMMIT);
}

TEST_F(RuntimeTest, ClickAndKeyReachTheRingBeforeItsListOpens) {
    DisplayPanel(main);
    InstallCtrlCallback(main, INTRING, rebuildRing, nullptr);
    auto *ring = static_cast<QComboBox *>(controlWidget(main, INTRING));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), ring->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ring, &press);
    EXPECT_FALSE(gListWasOpen);
    EXPECT_EQ(ring->count(), 2);
    EXPECT_TRUE(ring->view()->isVisible());
    ring->hidePopup();

    ClearListCtrl(main, INTRING);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(ring, &key);
    EXPECT_EQ(ring->count(), 2);
}

TEST_F(RuntimeTest, EnterOnAFocusedButtonCommits) {
    InstallCtrlCallback(main, BUTTON2, recordEvent, nullptr);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(controlWidget(main, BUTTON2), &key);
    ASSERT_EQ(gEvents.size(), 2u);
    EXPECT_EQ(gEvents[0].event, EVENT_KEYPRESS);
    EXPECT_EQ(gEvents[0].data1, Qt::Key_Return);
    EXPECT_EQ(gEvents[1].event, EVENT_COMMIT);
}

TEST_F(RuntimeTest, QuitEndsTheLoopAfterTheCallbackReturns) {
    InstallCtrlCallback(main, BUTTON, quitFromCallback, nullptr);
    DisplayPanel(main);
    gAfterQuit = false;
    QTimer::singleShot(
        0, [this] { static_cast<QPushButton *>(controlWidget(main, BUTTON))->click(); });
    EXPECT_EQ(RunUserInterface(), 7);
    EXPECT_TRUE(gAfterQuit);
}

TEST_F(RuntimeTest, QuitBeforeTheLoopEndsItAtOnce) {
    QuitUserInterface(3);
    EXPECT_EQ(RunUserInterface(), 3);
}

TEST_F(RuntimeTest, CloseBoxReportsCloseAndKeepsThePanel) {
    DiscardPanel(main);
    registerCallback("Test_Panel", recordPanelEvent);
    main = LoadPanel(0, kTestPanelsResource, TESTPANEL);
    DisplayPanel(main);
    panelWidget(main)->close();
    ASSERT_EQ(gPanelEvents.size(), 1u);
    EXPECT_EQ(gPanelEvents[0], EVENT_CLOSE);
    EXPECT_TRUE(panelWidget(main)->isVisible());
}

TEST_F(RuntimeTest, MenuItemsCallTheirCallback) {
    DiscardPanel(main);
    registerCallback("Test_Menu_First", recordMenu);
    main = LoadPanel(0, kTestPanelsResource, TESTPANEL);
    menuItemAction(main, QUITITEM)->trigger();
    menuItemAction(main, INFOITEM)->trigger(); // no function registered under its name
    ASSERT_EQ(gMenuItems.size(), 1u);
    EXPECT_EQ(gMenuItems[0], QUITITEM);
}

TEST_F(RuntimeTest, PanelDiscardedFromItsOwnCallbackIsSafe) {
    InstallCtrlCallback(main, BUTTON, discardOwnPanel, nullptr);
    static_cast<QPushButton *>(controlWidget(main, BUTTON))->click();
    EXPECT_EQ(gDiscardTarget, main);
    EXPECT_EQ(panelWidget(main), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    main = LoadPanel(0, kTestPanelsResource, TESTPANEL);
}

// A value set while a callback blocks the loop must be painted before the callback goes on.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

TEST_F(RuntimeTest, SettingAValuePaintsAtOnce) {
    DisplayPanel(main);
    // Only a window on the screen is painted; a window system shows a new one a little later.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panelWidget(main)));
    PaintCounter counter;
    for (int control : {LED2, TEXT, STRING}) {
        QWidget *widget = controlWidget(main, control);
        widget->installEventFilter(&counter);
        counter.paints = 0;
        if (control == LED2) {
            SetCtrlVal(main, control, 1);
        } else {
            SetCtrlVal(main, control, "Suche nach Gerät 1");
        }
        EXPECT_GE(counter.paints, 1) << control;
        widget->removeEventFilter(&counter);
    }
}

// Mean saturation of a widget as drawn: a greyed lamp has little colour left.
int drawnSaturation(QWidget *widget) {
    const QImage image = widget->grab().toImage();
    const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
    return centre.hsvSaturation();
}

TEST_F(RuntimeTest, StaleValuesAreGreyedWithTheirNoteAndKeepTheirValue) {
    DisplayPanel(main);
    const char *note = "Nicht aktuell: die letzte Abfrage ist fehlgeschlagen.";
    auto *edit = static_cast<QLineEdit *>(controlWidget(main, STRING2));
    const QColor fresh = edit->palette().color(QPalette::Text);
    SetCtrlVal(main, STRING2, "7");
    SetCtrlVal(main, LABELLEDLED, 1);
    const int litSaturation = drawnSaturation(controlWidget(main, LABELLEDLED));

    EXPECT_EQ(setCtrlStale(main, STRING2, note), 0);
    EXPECT_EQ(setCtrlStale(main, LABELLEDLED, note), 0);
    std::string text;
    GetCtrlVal(main, STRING2, &text);
    EXPECT_EQ(text, "7");
    int on = 0;
    GetCtrlVal(main, LABELLEDLED, &on);
    EXPECT_EQ(on, 1);
    std::string shown;
    EXPECT_EQ(getCtrlStale(main, STRING2, &shown), 0);
    EXPECT_EQ(shown, note);
    EXPECT_EQ(edit->toolTip().toStdString(), note);
    EXPECT_NE(edit->palette().color(QPalette::Text), fresh);
    EXPECT_TRUE(edit->font().italic());
    EXPECT_NE(controlWidget(main, LABELLEDLED)->toolTip().toStdString().find(note),
              std::string::npos);
    EXPECT_EQ(controlLabelWidget(main, LABELLEDLED)->toolTip().toStdString(), note);
    EXPECT_LT(drawnSaturation(controlWidget(main, LABELLEDLED)), litSaturation * 2 / 3);

    // A new value keeps the mark until the mark is taken away.
    SetCtrlVal(main, STRING2, "8");
    EXPECT_EQ(edit->toolTip().toStdString(), note);
    EXPECT_EQ(setCtrlStale(main, STRING2, nullptr), 0);
    EXPECT_EQ(setCtrlStale(main, LABELLEDLED, ""), 0);
    EXPECT_EQ(getCtrlStale(main, STRING2, &shown), 0);
    EXPECT_EQ(shown, "");
    EXPECT_EQ(edit->toolTip().toStdString(), "8");
    EXPECT_EQ(edit->palette().color(QPalette::Text), fresh);
    EXPECT_FALSE(edit->font().italic());
    EXPECT_EQ(drawnSaturation(controlWidget(main, LABELLEDLED)), litSaturation);

    EXPECT_EQ(setCtrlStale(main, INTRING, note), kUiErrWrongType);
    EXPECT_EQ(setCtrlStale(main, 99, note), kUiErrBadControl);
    EXPECT_EQ(getCtrlStale(main, STRING2, nullptr), kUiErrBadArgument);
    SetCtrlVal(main, LABELLEDLED, 0);
}

TEST(RuntimeStart, WaitCursorNestsAndRestores) {
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    {
        WaitCursor outer;
        {
            WaitCursor inner;
            ASSERT_NE(QApplication::overrideCursor(), nullptr);
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace

namespace {

// A programming error caught by the utility library reaches the operator as the modal
// "Assert" popup before the process ends.
TEST(RuntimeStartDeathTest, AssertShowsItsPopupBeforeAborting) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            InitRuntimeEngine(nullptr, nullptr, nullptr);
            QTimer *poll = new QTimer(QCoreApplication::instance());
            QObject::connect(poll, &QTimer::timeout, [] {
                if (QWidget *box = QApplication::activeModalWidget()) {
                    std::fprintf(stderr, "popup<%s>\n", qPrintable(box->windowTitle()));
                    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                    QApplication::sendEvent(box, &enter);
                }
            });
            poll->start(10);
            assertFailed("Liste ist leer", 42, "liste.cpp");
        },
        "popup<Assert>");
}

} // namespace
