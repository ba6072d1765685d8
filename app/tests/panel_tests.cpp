// The two panels and the menu bar as loaded: every control with its constant, kind, label,
// initial value and the positions the layout fixes.
#include "app/language.h"
#include "app/trz4SteuerungGui.h"
#include "ui/testing/ctrlvalues.h"
#include "ui/uiruntime.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QStyle>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using ui::testing::ctrlInt;
using ui::testing::ctrlText;

// A widget's rectangle in panel coordinates (relative to the panel's canvas).
QRect onPanel(int panel, QWidget *widget) {
    return QRect(widget->mapTo(panelCanvas(panel), QPoint(0, 0)), widget->size());
}

// Loads the main panel and the info panel as its child, in `language`.
void loadBothPanels(Language language, int *main, int *info) {
    setProgramLanguage(language);
    registerTrz4SteuerungGui();
    *main = LoadPanel(0, kTrz4GuiResource, MAINPANEL);
    *info = LoadPanel(*main, kTrz4GuiResource, INFOPANEL);
    ASSERT_GE(*main, 0);
    ASSERT_GE(*info, 0);
}

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override { loadBothPanels(Language::German, &main, &info); }
    void TearDown() override {
        DiscardPanel(info);
        DiscardPanel(main);
    }
    template <typename W> W *widget(int panel, int control) {
        return qobject_cast<W *>(controlWidget(panel, control));
    }
    std::string labelOf(int panel, int control) {
        auto *label = qobject_cast<QLabel *>(controlLabelWidget(panel, control));
        return label == nullptr ? std::string() : label->text().toStdString();
    }
    int main = -1;
    int info = -1;
};

// The constants are fixed by the resource's numbering: the panels 1 and 2, the controls of each
// panel numbered from 2 in resource order.
static_assert(INFOPANEL == 1 && MAINPANEL == 2 && MENUMAIN == 1);

constexpr int kMainControls[] = {ADRESSE,
                                 COMPORT,
                                 COMHILFE,
                                 SCANN,
                                 IDLESEN,
                                 STATUSABFRAGE,
                                 KARTENNUMMERLESEN,
                                 KARTENNUMMERSCHREIBEN,
                                 KARTENNUMMERSOLL,
                                 FEHLERLED,
                                 FEHLERSTRING,
                                 FEHLERNUMMER,
                                 LED1,
                                 ID,
                                 MAINPANEL_TEXTMSG_2,
                                 MAINPANEL_TEXTMSG_3,
                                 MAINPANEL_TEXTMSG,
                                 STATUSLED10,
                                 KARTENNUMMERIST,
                                 STATUSLED9,
                                 COMAKTIVLED,
                                 DECORATION,
                                 MAINPANEL_PICTURE,
                                 DECORATION_2,
                                 DECORATION_3,
                                 SCANNTEXT};
constexpr int kInfoControls[] = {INFOPANEL_PICTURE, OK,    INFOPANEL_TEXTMSG,  INFOPANEL_TEXTMSG_2,
                                 VERSION,           DATUM, INFOPANEL_TEXTMSG_3};

template <std::size_t N> constexpr bool numberedFromTwo(const int (&controls)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (controls[i] != static_cast<int>(i) + 2) {
            return false;
        }
    }
    return true;
}
static_assert(numberedFromTwo(kMainControls));
static_assert(numberedFromTwo(kInfoControls));

TEST_F(PanelTest, EveryConstantNamesALoadedControlAndNoMore) {
    for (int control : kMainControls) {
        EXPECT_NE(controlWidget(main, control), nullptr) << control;
    }
    for (int control : kInfoControls) {
        EXPECT_NE(controlWidget(info, control), nullptr) << control;
    }
    EXPECT_EQ(controlWidget(main, 28), nullptr);
    EXPECT_EQ(controlWidget(info, 9), nullptr);
}

TEST_F(PanelTest, MainPanelTitleSizeAndBackground) {
    QWidget *window = panelWidget(main);
    EXPECT_EQ(window->windowTitle().toStdString(), "trz-4 Steuerung");
    EXPECT_EQ(panelCanvas(main)->size(), QSize(698, 471));
    EXPECT_EQ(window->palette().color(QPalette::Window).rgb() & 0xFFFFFF, 0xECE9D8u);
    EXPECT_EQ(panelWidget(info)->windowTitle().toStdString(), "Info");
    EXPECT_EQ(panelCanvas(info)->size(), QSize(375, 275));
}

TEST_F(PanelTest, ButtonsCarryTheirTextsAndTakeKeyboardFocus) {
    // '&' marks the keyboard shortcut's letter (Alt+letter).
    const std::pair<int, const char *> buttons[] = {{COMHILFE, "?"},
                                                    {SCANN, "&Scann"},
                                                    {IDLESEN, "&ID lesen"},
                                                    {STATUSABFRAGE, "S&tatus lesen"},
                                                    {KARTENNUMMERLESEN, "&Lesen"},
                                                    {KARTENNUMMERSCHREIBEN, "&Einstellen"}};
    for (const auto &[control, text] : buttons) {
        auto *button = widget<QPushButton>(main, control);
        ASSERT_NE(button, nullptr) << control;
        EXPECT_EQ(button->text().toStdString(), text);
        EXPECT_TRUE(button->focusPolicy() & Qt::TabFocus) << control;
    }
    auto *ok = widget<QPushButton>(info, OK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text().toStdString(), "&OK"); // the O is the keyboard shortcut
    EXPECT_TRUE(ok->focusPolicy() & Qt::TabFocus);
}

TEST_F(PanelTest, RingsHoldTheirItemsAtLoad) {
    auto *adresse = widget<QComboBox>(main, ADRESSE);
    ASSERT_NE(adresse, nullptr);
    EXPECT_EQ(labelOf(main, ADRESSE), "&Adresse");
    ASSERT_EQ(adresse->count(), 1);
    EXPECT_EQ(adresse->itemText(0).toStdString(), "1");
    char address = 0;
    EXPECT_EQ(GetCtrlVal(main, ADRESSE, &address), 0);
    EXPECT_EQ(address, '1');

    auto *comport = widget<QComboBox>(main, COMPORT);
    ASSERT_NE(comport, nullptr);
    EXPECT_EQ(labelOf(main, COMPORT), "&COM-Port (USB)");
    ASSERT_EQ(comport->count(), 1);
    EXPECT_EQ(comport->itemText(0).toStdString(), "nicht geöffnet");
    EXPECT_EQ(ctrlInt(main, COMPORT), 0);

    auto *soll = widget<QComboBox>(main, KARTENNUMMERSOLL);
    ASSERT_NE(soll, nullptr);
    const std::string expected = "123456789abcdef";
    ASSERT_EQ(soll->count(), 15);
    for (int i = 0; i < soll->count(); ++i) {
        EXPECT_EQ(soll->itemText(i).toStdString(), std::string(1, expected[i]));
        EXPECT_EQ(soll->itemData(i).toInt(), expected[i]);
    }
    char card = 0;
    EXPECT_EQ(GetCtrlVal(main, KARTENNUMMERSOLL, &card), 0);
    EXPECT_EQ(card, '1');
    int index = 0;
    GetIndexFromValue(main, KARTENNUMMERSOLL, &index, '0');
    EXPECT_EQ(index, -1);
    GetIndexFromValue(main, KARTENNUMMERSOLL, &index, 'A');
    EXPECT_EQ(index, -1);
}

TEST_F(PanelTest, LedsHaveLabelsAndInitialStates) {
    EXPECT_EQ(labelOf(main, FEHLERLED), "Fehler");
    EXPECT_EQ(labelOf(main, LED1), "1");
    EXPECT_EQ(labelOf(main, COMAKTIVLED), "Com");
    EXPECT_EQ(ctrlInt(main, FEHLERLED), 0);
    EXPECT_EQ(ctrlInt(main, LED1), 0);
    EXPECT_EQ(ctrlInt(main, COMAKTIVLED), 0);
    EXPECT_EQ(ctrlInt(main, STATUSLED9), 1);
    EXPECT_EQ(ctrlInt(main, STATUSLED10), 1);
    for (int control : {FEHLERLED, LED1, COMAKTIVLED, STATUSLED9, STATUSLED10}) {
        QWidget *led = controlWidget(main, control);
        EXPECT_EQ(led->accessibleName().toStdString(), labelOf(main, control));
        EXPECT_FALSE(led->accessibleDescription().isEmpty());
    }
}

TEST_F(PanelTest, StatusLedsUpperInvalidNumberLowerParametersLabelRight) {
    EXPECT_EQ(onPanel(main, controlWidget(main, STATUSLED9)).topLeft(), QPoint(106, 281));
    EXPECT_EQ(onPanel(main, controlWidget(main, STATUSLED10)).topLeft(), QPoint(106, 308));
    EXPECT_EQ(labelOf(main, STATUSLED9), "Ungültige Kartennummer");
    EXPECT_EQ(labelOf(main, STATUSLED10), "Nicht alle Parameter eingestellt");
    for (int control : {STATUSLED9, STATUSLED10}) {
        EXPECT_GT(controlLabelWidget(main, control)->x(),
                  controlWidget(main, control)->x() + controlWidget(main, control)->width() - 1);
    }
}

TEST_F(PanelTest, TextsAndDisplaysAtLoad) {
    EXPECT_EQ(ctrlText(main, MAINPANEL_TEXTMSG_2), "Com-Einstellungen");
    EXPECT_EQ(ctrlText(main, MAINPANEL_TEXTMSG_3), "Kartennummer");
    EXPECT_EQ(ctrlText(main, MAINPANEL_TEXTMSG), "Status");
    EXPECT_EQ(ctrlText(main, SCANNTEXT), "Suche Gerät ...");
    EXPECT_EQ(ctrlText(main, FEHLERSTRING), "");
    EXPECT_EQ(ctrlText(main, KARTENNUMMERIST), "");
    EXPECT_EQ(ctrlText(main, ID), "");
    EXPECT_EQ(labelOf(main, ID), "ID");
    EXPECT_EQ(ctrlInt(main, FEHLERNUMMER), 0);
    auto *number = widget<QSpinBox>(main, FEHLERNUMMER);
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->minimum(), -2147483647 - 1);
    EXPECT_EQ(number->maximum(), 2147483647);
    EXPECT_EQ(number->singleStep(), 1);
    for (int control : {ID, FEHLERSTRING, KARTENNUMMERIST}) {
        ASSERT_NE(widget<QLineEdit>(main, control), nullptr);
        EXPECT_TRUE(widget<QLineEdit>(main, control)->isReadOnly());
    }
}

TEST_F(PanelTest, PositionsOfTheLayout) {
    auto at = [this](int control) { return onPanel(main, controlWidget(main, control)).topLeft(); };
    EXPECT_EQ(at(SCANN), QPoint(308, 146));
    EXPECT_EQ(at(IDLESEN), QPoint(386, 146));
    EXPECT_EQ(at(LED1), QPoint(231, 151));
    EXPECT_EQ(at(COMHILFE), QPoint(395, 100));
    EXPECT_EQ(at(SCANNTEXT), QPoint(233, 194));
    EXPECT_EQ(at(STATUSABFRAGE), QPoint(109, 347));
    EXPECT_EQ(at(KARTENNUMMERLESEN), QPoint(418, 286));
    EXPECT_EQ(at(KARTENNUMMERSCHREIBEN), QPoint(418, 330));
    EXPECT_EQ(at(COMAKTIVLED), QPoint(83, 412));
    EXPECT_EQ(at(FEHLERLED), QPoint(83, 438));
    EXPECT_EQ(at(FEHLERSTRING), QPoint(115, 438));
    EXPECT_EQ(onPanel(main, controlWidget(main, FEHLERSTRING)).right() + 1, 567);
    EXPECT_EQ(at(FEHLERNUMMER), QPoint(575, 438));
    EXPECT_EQ(at(MAINPANEL_TEXTMSG_2), QPoint(72, 42));
    EXPECT_EQ(at(MAINPANEL_TEXTMSG), QPoint(78, 249));
    EXPECT_EQ(at(MAINPANEL_TEXTMSG_3), QPoint(374, 250));
    EXPECT_EQ(onPanel(main, controlWidget(main, DECORATION)), QRect(63, 35, 549, 193));
    EXPECT_EQ(onPanel(main, controlWidget(main, DECORATION_2)), QRect(63, 241, 280, 151));
    EXPECT_EQ(onPanel(main, controlWidget(main, DECORATION_3)), QRect(356, 241, 256, 151));
    EXPECT_EQ(controlWidget(main, MAINPANEL_PICTURE)->size(), QSize(41, 42));
    EXPECT_EQ(controlWidget(info, INFOPANEL_PICTURE)->size(), QSize(69, 70));
    EXPECT_EQ(onPanel(main, controlLabelWidget(main, ADRESSE)).y(), 68);
    EXPECT_EQ(onPanel(main, controlLabelWidget(main, COMPORT)).y(), 102);
}

// The controls of both panels and their labels, frames left out (they enclose other controls
// on purpose), each with its rectangle on the panel.
std::vector<std::pair<QWidget *, QRect>> boxesOf(int panel, int controlCount) {
    std::vector<std::pair<QWidget *, QRect>> boxes;
    for (int control = 2; control < 2 + controlCount; ++control) {
        for (QWidget *w : {controlWidget(panel, control), controlLabelWidget(panel, control)}) {
            if (w != nullptr && !w->objectName().startsWith("DECORATION")) {
                boxes.emplace_back(w, onPanel(panel, w));
            }
        }
    }
    return boxes;
}

// The room a control's text needs: labels and text messages their size hint, buttons their
// text with the style's margins, rings their longest item with the arrow.
QSize neededFor(QWidget *w) {
    if (auto *button = qobject_cast<QPushButton *>(w)) {
        const QString text = QString(button->text()).remove('&');
        const int margins = 2 * (button->style()->pixelMetric(QStyle::PM_ButtonMargin) / 2 +
                                 button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
        return {button->fontMetrics().horizontalAdvance(text) + margins,
                button->fontMetrics().height()};
    }
    if (auto *label = qobject_cast<QLabel *>(w); label != nullptr && label->pixmap().isNull()) {
        return label->sizeHint();
    }
    if (auto *ring = qobject_cast<QComboBox *>(w)) {
        return ring->sizeHint();
    }
    return {0, 0};
}

// At the design font and at larger ones: no two controls overlap, no label sits on a control,
// everything stays on its panel, and every text fits its place.
void expectNothingOverlapsAndTextsFit(int main, int info) {
    for (auto [panel, count] : {std::pair{main, 26}, std::pair{info, 7}}) {
        const QRect canvas = panelCanvas(panel)->rect();
        const auto boxes = boxesOf(panel, count);
        for (const auto &[w, rect] : boxes) {
            const std::string name = w->objectName().toStdString();
            EXPECT_TRUE(canvas.contains(rect)) << name;
            const QSize needed = neededFor(w);
            EXPECT_LE(needed.width(), rect.width()) << name;
            EXPECT_LE(needed.height(), rect.height()) << name;
        }
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                EXPECT_FALSE(boxes[i].second.intersects(boxes[j].second))
                    << boxes[i].first->objectName().toStdString() << " / "
                    << boxes[j].first->objectName().toStdString();
            }
        }
    }
}

TEST_F(PanelTest, NothingOverlapsAndTextsFit) {
    expectNothingOverlapsAndTextsFit(main, info);
}

// The application's font in points (the design font is 9 points, 12 pixels at 96 dpi), and the
// language: both change how much room the texts need.
class PanelAtFontSize : public ::testing::TestWithParam<std::tuple<int, Language>> {
protected:
    void SetUp() override {
        previous = QApplication::font();
        QFont font = previous;
        font.setPointSize(std::get<0>(GetParam()));
        QApplication::setFont(font);
        loadBothPanels(std::get<1>(GetParam()), &main, &info);
    }
    void TearDown() override {
        DiscardPanel(main);
        QApplication::setFont(previous);
        setProgramLanguage(Language::German);
    }
    QFont previous;
    int main = -1;
    int info = -1;
};

// The layout grows with the font as far as the screen holds the window; beyond that it keeps
// its proportions at the screen's size.
TEST_P(PanelAtFontSize, LayoutGrowsWithTheFontAndNothingIsClipped) {
    const double scale = std::max(1.0, QFontInfo(QApplication::font()).pixelSize() / 12.0);
    const QSize canvas = panelCanvas(main)->size();
    const double shown = canvas.width() / 698.0;
    EXPECT_LE(shown, scale + 0.01);
    if (shown < scale - 0.01) {
        const QSize room = panelWidget(main)->screen()->availableGeometry().size();
        EXPECT_GE(panelWidget(main)->sizeHint().width(), room.width() * 0.9) << "capped early";
    }
    EXPECT_NEAR(canvas.height(), 471 * shown, 1.0);
    EXPECT_NEAR(onPanel(main, controlWidget(main, SCANN)).x(), 308 * shown, 1.0);
    EXPECT_NEAR(onPanel(main, controlWidget(main, FEHLERNUMMER)).y(), 438 * shown, 1.0);
    expectNothingOverlapsAndTextsFit(main, info);
}

// The longest item the COM ring can get: the chosen port while its adapter is away, at the
// highest COM number, in the language in effect.
TEST_P(PanelAtFontSize, TheLongestComRingItemFits) {
    const QByteArray longest =
        QCoreApplication::translate("VekCom", "COM %1 (getrennt)").arg(256).toUtf8();
    ASSERT_GE(InsertListItem(main, COMPORT, -1, longest.constData(), 256), 0);
    auto *ring = static_cast<QComboBox *>(controlWidget(main, COMPORT));
    EXPECT_LE(ring->sizeHint().width(), ring->width()) << longest.constData();
}

INSTANTIATE_TEST_SUITE_P(PointsAndLanguage, PanelAtFontSize,
                         ::testing::Combine(::testing::Values(7, 9, 11, 15, 20, 28),
                                            ::testing::Values(Language::German, Language::English,
                                                              Language::Pseudo)));

TEST_F(PanelTest, InfoPanelTextsAtLoad) {
    EXPECT_EQ(ctrlText(info, VERSION), "Version");
    EXPECT_EQ(ctrlText(info, DATUM), "Datum");
    EXPECT_EQ(ctrlText(info, INFOPANEL_TEXTMSG_3), "trz4-Steuerung");
    EXPECT_EQ(ctrlText(info, INFOPANEL_TEXTMSG), kMakerName);
    // The logos have no text of their own: assistive technology reads out the maker's name.
    EXPECT_EQ(controlWidget(main, MAINPANEL_PICTURE)->accessibleName().toStdString(), kMakerName);
    EXPECT_EQ(controlWidget(info, INFOPANEL_PICTURE)->accessibleName().toStdString(), kMakerName);
    const std::string contact = ctrlText(info, INFOPANEL_TEXTMSG_2);
    EXPECT_NE(contact.find("Tel"), std::string::npos);
    EXPECT_NE(contact.find("Fax"), std::string::npos);
    EXPECT_NE(contact.find("@"), std::string::npos);
    EXPECT_NE(contact.find("www."), std::string::npos);
}

TEST_F(PanelTest, MenuBarWithItsTwoMenus) {
    QAction *beenden = menuItemAction(main, BEENDEN);
    QAction *infoItem = menuItemAction(main, INFO);
    ASSERT_NE(beenden, nullptr);
    ASSERT_NE(infoItem, nullptr);
    EXPECT_EQ(QString(beenden->text()).remove('&').toStdString(), "Beenden");
    EXPECT_EQ(QString(infoItem->text()).remove('&').toStdString(), "Info");
    // The menus as the bar holds them: the bar keeps a menu of its own for the entries that do
    // not fit, which is no menu of the panel.
    auto *bar = panelWidget(main)->findChild<QMenuBar *>();
    ASSERT_NE(bar, nullptr);
    QStringList titles;
    for (QAction *action : bar->actions()) {
        ASSERT_NE(action->menu(), nullptr);
        titles << QString(action->menu()->title()).remove('&');
    }
    EXPECT_EQ(titles, QStringList({"Datei", "Hilfe"}));
    EXPECT_EQ(menuItemAction(info, INFO), nullptr);
}

TEST_F(PanelTest, DateiOffersTheLinkLogBeforeBeendenWithAShortcutOfItsOwn) {
    QAction *log = menuItemAction(main, PROTOKOLL);
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log->text().toStdString(), "Schnittstellen&protokoll ...");
    QMenu *datei = nullptr;
    for (QMenu *menu : panelWidget(main)->findChildren<QMenu *>())
        if (menu->objectName() == "DATEI")
            datei = menu;
    ASSERT_NE(datei, nullptr);
    ASSERT_EQ(datei->actions().size(), 2);
    EXPECT_EQ(datei->actions()[0], log);
    EXPECT_EQ(datei->actions()[1], menuItemAction(main, BEENDEN));
    // Within a menu, and on the bar, each entry's underlined letter is its own.
    auto shortcutOf = [](const QString &text) {
        const int at = text.indexOf('&');
        return at < 0 ? QChar() : text.at(at + 1).toLower();
    };
    QList<QChar> letters;
    for (QAction *action : datei->actions())
        letters << shortcutOf(action->text());
    EXPECT_EQ(letters, (QList<QChar>{'p', 'b'}));
}

} // namespace
