// What the program's language puts into effect: the panels' texts as written in German, and in
// English the panels, the texts looked up in code, the catalogue's messages and Qt's own texts.
#include "app/language.h"
#include "app/trz4SteuerungGui.h"
#include "errors/VEK_errorV3.h"
#include "text/texts.h"
#include "ui/paneldescription.h"
#include "ui/uiruntime.h"

#include <QCoreApplication>
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class LanguageTest : public ::testing::Test {
protected:
    void TearDown() override { setProgramLanguage(Language::German); }
};

// Every text of a panel description as the loaded panel shows it, with the control it is on.
std::vector<std::pair<std::string, std::string>> shownTexts(int panel,
                                                            const ui::PanelDescription &d) {
    std::vector<std::pair<std::string, std::string>> texts;
    texts.emplace_back(d.title, panelWidget(panel)->windowTitle().toStdString());
    for (const ui::ControlDescription &c : d.controls) {
        QWidget *w = controlWidget(panel, c.id);
        if (auto *button = qobject_cast<QPushButton *>(w)) {
            texts.emplace_back(c.label, button->text().toStdString());
        } else if (auto *text = qobject_cast<QLabel *>(w); text != nullptr && c.label[0] != 0) {
            texts.emplace_back(c.label, text->text().toStdString());
        }
        if (auto *label = qobject_cast<QLabel *>(controlLabelWidget(panel, c.id))) {
            texts.emplace_back(c.label, label->text().toStdString());
        }
        if (c.accessibleName != nullptr) {
            texts.emplace_back(c.accessibleName, w->accessibleName().toStdString());
        }
    }
    return texts;
}

const ui::PanelDescription &description(int resourceId) {
    for (const ui::PanelDescription *p : trz4SteuerungGuiResource().panels) {
        if (p->resourceId == resourceId) {
            return *p;
        }
    }
    throw std::logic_error("no such panel");
}

TEST_F(LanguageTest, GermanIsEveryTextAsWrittenByteForByte) {
    ASSERT_EQ(setProgramLanguage(Language::German), 0);
    registerTrz4SteuerungGui();
    const int main = LoadPanel(0, kTrz4GuiResource, MAINPANEL);
    const int info = LoadPanel(main, kTrz4GuiResource, INFOPANEL);
    ASSERT_GE(info, 0);
    for (auto [panel, id] : {std::pair{main, MAINPANEL}, std::pair{info, INFOPANEL}}) {
        for (const auto &[written, shown] : shownTexts(panel, description(id))) {
            EXPECT_EQ(shown, written);
        }
    }
    EXPECT_STREQ(VEK_Fehlermeldung(-403012), "Keine Antwort vom Gerät");
    DiscardPanel(main);
}

TEST_F(LanguageTest, EnglishReachesPanelsPopupTextsMessagesAndQt) {
    ASSERT_EQ(setProgramLanguage(Language::English), 0);
    EXPECT_EQ(language(), Language::English);
    registerTrz4SteuerungGui();
    // The controls' names are in the English accessibility listing (access_tests).
    const int main = LoadPanel(0, kTrz4GuiResource, MAINPANEL);
    ASSERT_GE(main, 0);
    auto *bar = panelWidget(main)->findChild<QMenuBar *>();
    ASSERT_NE(bar, nullptr);
    QStringList menus;
    for (QAction *action : bar->actions()) {
        menus << action->text();
    }
    EXPECT_EQ(menus, QStringList({"&File", "&Help"}));
    EXPECT_EQ(panelWidget(main)->windowTitle().toStdString(), "trz-4 Control");
    DiscardPanel(main);

    EXPECT_STREQ(VEK_Fehlermeldung(-403012), "No answer from device");
    EXPECT_EQ(vekLanguage(), kVekLanguageEnglish);
    EXPECT_EQ(QCoreApplication::translate("Vek_Com", "nicht geöffnet").toStdString(), "not open");
    // Qt's own texts: English is Qt's own, also under the pseudo-language; German comes from
    // Qt's German catalogue.
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Copy").toStdString(), "&Copy");
    setProgramLanguage(Language::Pseudo);
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Copy").toStdString(), "&Copy");
    EXPECT_EQ(QCoreApplication::translate("Vek_Com", "nicht geöffnet").toStdString(),
              pseudoText("not open"));
    setProgramLanguage(Language::German);
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Copy").toStdString(), "&Kopieren");
    EXPECT_EQ(QCoreApplication::translate("Vek_Com", "nicht geöffnet").toStdString(),
              "nicht geöffnet");
    EXPECT_EQ(vekLanguage(), 1);
}

} // namespace
