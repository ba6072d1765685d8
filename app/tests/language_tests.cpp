// The program's two languages: which one the locale and the option choose, what each puts into
// effect, and the English catalogue (complete, current with the sources' texts, placeholders
// and shortcuts kept).
#include "app/language.h"
#include "app/trz4SteuerungGui.h"
#include "errors/VEK_errorV3.h"
#include "platform/userlocale.h"
#include "ui/paneldescription.h"
#include "ui/uiruntime.h"

#include <QCoreApplication>
#include <QFile>
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

class LanguageTest : public ::testing::Test {
protected:
    void TearDown() override { setProgramLanguage(ProgramLanguage::German); }
};

TEST(LanguageChoice, GermanLocaleNamesChooseGermanEveryOtherEnglish) {
    for (const char *name : {"de", "de_DE.UTF-8", "de_AT", "de-CH", "de.UTF-8", "de@euro"}) {
        EXPECT_TRUE(localeNamesGerman(name)) << name;
    }
    for (const char *name : {"", "C", "C.UTF-8", "POSIX", "en_US.UTF-8", "fr_FR", "dea", "DE",
                             "nl_DE.UTF-8", "es_de"}) {
        EXPECT_FALSE(localeNamesGerman(name)) << name;
    }
    EXPECT_EQ(languageOfOption("de"), ProgramLanguage::German);
    EXPECT_EQ(languageOfOption("en"), ProgramLanguage::English);
    for (const char *value : {"", "DE", "en_US", "fr", "deutsch"}) {
        EXPECT_FALSE(languageOfOption(value).has_value()) << value;
    }
}

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
    ASSERT_EQ(setProgramLanguage(ProgramLanguage::German), 0);
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
    ASSERT_EQ(setProgramLanguage(ProgramLanguage::English), 0);
    EXPECT_EQ(programLanguage(), ProgramLanguage::English);
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
    // Names are not translated.
    EXPECT_EQ(panelWidget(main)->windowTitle().toStdString(), "trz-4 Steuerung");
    DiscardPanel(main);

    EXPECT_STREQ(VEK_Fehlermeldung(-403012), "No answer from device");
    EXPECT_EQ(vekLanguage(), kVekLanguageEnglish);
    EXPECT_EQ(uiText("Vek_Com", "nicht geöffnet"), "not open");
    EXPECT_EQ(programText("commandline", "unbekannte Option %1").toStdString(),
              "unknown option %1");
    // Qt's own texts: English is Qt's own; German comes from Qt's German catalogue.
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Copy").toStdString(), "&Copy");
    setProgramLanguage(ProgramLanguage::German);
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Copy").toStdString(), "&Kopieren");
    EXPECT_EQ(uiText("Vek_Com", "nicht geöffnet"), "nicht geöffnet");
    EXPECT_EQ(vekLanguage(), 1);
}

// ---------------------------------------------------------------------------------------------
// The catalogue.

struct Message {
    QString context, source, translation;
    bool finished = false;
};

std::vector<Message> readCatalogue(const QString &path) {
    std::vector<Message> messages;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"source") {
            message = Message{context, xml.readElementText(), {}, false};
        } else if (xml.name() == u"translation") {
            message.finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            message.translation = xml.readElementText();
            messages.push_back(message);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}

std::multiset<QString> placeholders(const QString &text) {
    static const QRegularExpression kPlaceholder(QStringLiteral("%[0-9a-z]"));
    std::multiset<QString> found;
    for (const auto &match : kPlaceholder.globalMatch(text)) {
        found.insert(match.captured());
    }
    return found;
}

// The shortcut marks of a text: '&' before a letter ("&&" is a '&' of its own).
int shortcutMarks(const QString &text) {
    static const QRegularExpression kMark(QStringLiteral("(?<!&)&(?=[^& ])"));
    return static_cast<int>(text.count(kMark));
}

TEST(Catalogue, EveryTextHasItsEnglishWithTheSamePlaceholdersShortcutAndFrame) {
    const std::vector<Message> messages = readCatalogue(QStringLiteral(TRZ4_TS_FILE));
    ASSERT_GT(messages.size(), 40u);
    for (const Message &m : messages) {
        SCOPED_TRACE((m.context + QStringLiteral(" / ") + m.source).toStdString());
        EXPECT_TRUE(m.finished);
        ASSERT_FALSE(m.translation.isEmpty());
        EXPECT_EQ(placeholders(m.translation), placeholders(m.source));
        EXPECT_EQ(shortcutMarks(m.translation), shortcutMarks(m.source));
        // Texts that begin or end with a line feed are laid out by it.
        EXPECT_EQ(m.translation.startsWith(u'\n'), m.source.startsWith(u'\n'));
        EXPECT_EQ(m.translation.endsWith(u'\n'), m.source.endsWith(u'\n'));
    }
}

// The committed catalogue is what the update command makes of the sources now: a text added,
// changed or removed in the sources without the update fails here.
TEST(Catalogue, HoldsExactlyTheTextsMarkedInTheSources) {
    if (QStringLiteral(TRZ4_LUPDATE).isEmpty()) {
        GTEST_SKIP() << "lupdate runs on the build machine, not where this cross-built test runs";
    }
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString copy = scratch.filePath(QStringLiteral("catalogue.ts"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TRZ4_TS_FILE), copy));
    QStringList arguments = QString::fromUtf8(TRZ4_LUPDATE_ARGUMENTS).split(u'|');
    arguments << QStringLiteral("-ts") << copy;
    QProcess lupdate;
    lupdate.start(QStringLiteral(TRZ4_LUPDATE), arguments);
    ASSERT_TRUE(lupdate.waitForFinished(60000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();

    QFile committed(QStringLiteral(TRZ4_TS_FILE));
    QFile updated(copy);
    ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
    ASSERT_TRUE(updated.open(QIODevice::ReadOnly));
    EXPECT_EQ(updated.readAll().toStdString(), committed.readAll().toStdString())
        << "the catalogue is out of date: cmake --build <build> --target update_translations, "
           "then translate what is new";
}

} // namespace
