// The two panels and the menu bar as loaded: every control with its constant, kind, label,
// initial value and the positions the layout fixes.
#include "app/trz4SteuerungGui.h"
#include "ui/uiruntime.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace {

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerTrz4SteuerungGui();
        main = LoadPanel(0, kTrz4GuiResource, MAINPANEL);
        info = LoadPanel(main, kTrz4GuiResource, INFOPANEL);
        ASSERT_GE(main, 0);
        ASSERT_GE(info, 0);
    }
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
    std::string textOf(int panel, int control) {
        std::string text;
        EXPECT_EQ(GetCtrlVal(panel, control, &text), 0);
        return text;
    }
    int intOf(int panel, int control) {
        int value = -99;
        EXPECT_EQ(GetCtrlVal(panel, control, &value), 0);
        return value;
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
    QWidget *canvas = controlWidget(main, ADRESSE)->parentWidget();
    EXPECT_EQ(canvas->size(), QSize(698, 471));
    EXPECT_EQ(window->palette().color(QPalette::Window).rgb() & 0xFFFFFF, 0xECE9D8u);
    EXPECT_EQ(panelWidget(info)->windowTitle().toStdString(), "Info");
    EXPECT_EQ(controlWidget(info, OK)->parentWidget()->size(), QSize(375, 275));
}

TEST_F(PanelTest, ButtonsCarryTheirTextsAndTakeKeyboardFocus) {
    const std::pair<int, const char *> buttons[] = {{COMHILFE, "?"},
                                                    {SCANN, "Scann"},
                                                    {IDLESEN, "ID lesen"},
                                                    {STATUSABFRAGE, "Status lesen"},
                                                    {KARTENNUMMERLESEN, "Lesen"},
                                                    {KARTENNUMMERSCHREIBEN, "Einstellen"}};
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
    EXPECT_EQ(labelOf(main, ADRESSE), "Adresse");
    ASSERT_EQ(adresse->count(), 1);
    EXPECT_EQ(adresse->itemText(0).toStdString(), "1");
    char address = 0;
    EXPECT_EQ(GetCtrlVal(main, ADRESSE, &address), 0);
    EXPECT_EQ(address, '1');

    auto *comport = widget<QComboBox>(main, COMPORT);
    ASSERT_NE(comport, nullptr);
    EXPECT_EQ(labelOf(main, COMPORT), "COM-Port (USB)");
    ASSERT_EQ(comport->count(), 1);
    EXPECT_EQ(comport->itemText(0).toStdString(), "nicht geöffnet");
    EXPECT_EQ(intOf(main, COMPORT), 0);

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
    EXPECT_EQ(intOf(main, FEHLERLED), 0);
    EXPECT_EQ(intOf(main, LED1), 0);
    EXPECT_EQ(intOf(main, COMAKTIVLED), 0);
    EXPECT_EQ(intOf(main, STATUSLED9), 1);
    EXPECT_EQ(intOf(main, STATUSLED10), 1);
    for (int control : {FEHLERLED, LED1, COMAKTIVLED, STATUSLED9, STATUSLED10}) {
        QWidget *led = controlWidget(main, control);
        EXPECT_EQ(led->accessibleName().toStdString(), labelOf(main, control));
        EXPECT_FALSE(led->accessibleDescription().isEmpty());
    }
}

TEST_F(PanelTest, StatusLedsUpperInvalidNumberLowerParametersLabelRight) {
    QWidget *upper = controlWidget(main, STATUSLED9);
    QWidget *lower = controlWidget(main, STATUSLED10);
    EXPECT_EQ(upper->pos(), QPoint(106, 281));
    EXPECT_EQ(lower->pos(), QPoint(106, 308));
    EXPECT_EQ(labelOf(main, STATUSLED9), "Ungültige Kartennummer");
    EXPECT_EQ(labelOf(main, STATUSLED10), "Nicht alle Parameter eingestellt");
    for (int control : {STATUSLED9, STATUSLED10}) {
        EXPECT_GT(controlLabelWidget(main, control)->x(),
                  controlWidget(main, control)->x() + controlWidget(main, control)->width() - 1);
    }
}

TEST_F(PanelTest, TextsAndDisplaysAtLoad) {
    EXPECT_EQ(textOf(main, MAINPANEL_TEXTMSG_2), "Com-Einstellungen");
    EXPECT_EQ(textOf(main, MAINPANEL_TEXTMSG_3), "Kartennummer");
    EXPECT_EQ(textOf(main, MAINPANEL_TEXTMSG), "Status");
    EXPECT_EQ(textOf(main, SCANNTEXT), "Suche Gerät ...");
    EXPECT_EQ(textOf(main, FEHLERSTRING), "");
    EXPECT_EQ(textOf(main, KARTENNUMMERIST), "");
    EXPECT_EQ(textOf(main, ID), "");
    EXPECT_EQ(labelOf(main, ID), "ID");
    EXPECT_EQ(intOf(main, FEHLERNUMMER), 0);
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
    auto at = [this](int control) { return controlWidget(main, control)->pos(); };
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
    EXPECT_EQ(controlWidget(main, FEHLERSTRING)->geometry().right() + 1, 567);
    EXPECT_EQ(at(FEHLERNUMMER), QPoint(575, 438));
    EXPECT_EQ(at(MAINPANEL_TEXTMSG_2), QPoint(72, 42));
    EXPECT_EQ(at(MAINPANEL_TEXTMSG), QPoint(78, 249));
    EXPECT_EQ(at(MAINPANEL_TEXTMSG_3), QPoint(374, 250));
    EXPECT_EQ(controlWidget(main, DECORATION)->geometry(), QRect(63, 35, 549, 193));
    EXPECT_EQ(controlWidget(main, DECORATION_2)->geometry(), QRect(63, 241, 280, 151));
    EXPECT_EQ(controlWidget(main, DECORATION_3)->geometry(), QRect(356, 241, 256, 151));
    EXPECT_EQ(controlWidget(main, MAINPANEL_PICTURE)->size(), QSize(41, 42));
    EXPECT_EQ(controlWidget(info, INFOPANEL_PICTURE)->size(), QSize(69, 70));
    EXPECT_EQ(controlLabelWidget(main, ADRESSE)->y(), 68);
    EXPECT_EQ(controlLabelWidget(main, COMPORT)->y(), 102);
}

// No two controls overlap, no label sits on a control, and every text fits its place.
TEST_F(PanelTest, NothingOverlapsAndTextsFit) {
    for (int panel : {main, info}) {
        QWidget *canvas = controlWidget(panel, panel == main ? ADRESSE : OK)->parentWidget();
        ASSERT_NE(canvas, nullptr);
        QList<QWidget *> boxes;
        for (QObject *child : canvas->children()) {
            auto *w = qobject_cast<QWidget *>(child);
            if (w == nullptr || w->objectName().startsWith("DECORATION")) {
                continue; // frames enclose other controls on purpose
            }
            EXPECT_TRUE(canvas->rect().contains(w->geometry())) << w->objectName().toStdString();
            if (auto *label = qobject_cast<QLabel *>(w);
                label != nullptr && label->pixmap().isNull()) {
                const QSize needed = label->sizeHint();
                EXPECT_LE(needed.width(), label->width()) << w->objectName().toStdString();
            }
            boxes << w;
        }
        for (int i = 0; i < boxes.size(); ++i) {
            for (int j = i + 1; j < boxes.size(); ++j) {
                EXPECT_FALSE(boxes[i]->geometry().intersects(boxes[j]->geometry()))
                    << boxes[i]->objectName().toStdString() << " / "
                    << boxes[j]->objectName().toStdString();
            }
        }
    }
}

TEST_F(PanelTest, InfoPanelTextsAtLoad) {
    EXPECT_EQ(textOf(info, VERSION), "Version");
    EXPECT_EQ(textOf(info, DATUM), "Datum");
    EXPECT_EQ(textOf(info, INFOPANEL_TEXTMSG_3), "trz4-Steuerung");
    EXPECT_EQ(textOf(info, INFOPANEL_TEXTMSG), kMakerName);
    // The logos have no text of their own: assistive technology reads out the maker's name.
    EXPECT_EQ(controlWidget(main, MAINPANEL_PICTURE)->accessibleName().toStdString(), kMakerName);
    EXPECT_EQ(controlWidget(info, INFOPANEL_PICTURE)->accessibleName().toStdString(), kMakerName);
    const std::string contact = textOf(info, INFOPANEL_TEXTMSG_2);
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
    auto menus = panelWidget(main)->findChildren<QMenu *>();
    QStringList titles;
    for (QMenu *menu : menus) {
        titles << QString(menu->title()).remove('&');
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
