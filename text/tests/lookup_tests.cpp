// The lookup: its fallbacks, the pseudo-language, the reader of translation files, and the
// files the libraries carry.
#include "text/texts.h"

#include "text/testing/pseudo_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

class Lookup : public ::testing::Test {
protected:
    void TearDown() override { setLanguage(Language::German); }
};

TEST_F(Lookup, GermanAsWrittenTranslationsFromTheFileAndTheSourceWhereTheFileHasNone) {
    struct Case {
        Language language;
        const char *context;
        const char *source;
        std::string expected;
    };
    const std::string english = "&Read";
    const Case cases[] = {
        {Language::German, "trz4SteuerungGui", "&Lesen", "&Lesen"},
        {Language::English, "trz4SteuerungGui", "&Lesen", english},
        {Language::Pseudo, "trz4SteuerungGui", "&Lesen", pseudoText(english)},
        // A text the file does not hold, or holds for another context, stays as written.
        {Language::English, "trz4SteuerungGui", "Kein Text der Datei", "Kein Text der Datei"},
        {Language::English, "anderer Kontext", "&Lesen", "&Lesen"},
        {Language::Pseudo, "trz4SteuerungGui", "Kein Text der Datei", "Kein Text der Datei"},
        {Language::English, "trz4SteuerungGui", nullptr, ""},
        {Language::English, "trz4SteuerungGui", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(languageCode(c.language)) + " " + (c.source ? c.source : "null"));
        EXPECT_EQ(trTextIn(c.language, c.context, c.source), c.expected);
        setLanguage(c.language);
        EXPECT_EQ(trText(c.context, c.source), c.expected);
    }
    EXPECT_STREQ(fileTranslation(Language::English, "trz4SteuerungGui", "&Lesen"), english.c_str());
    EXPECT_EQ(fileTranslation(Language::German, "trz4SteuerungGui", "&Lesen"), nullptr);
    EXPECT_EQ(fileTranslation(Language::Pseudo, "trz4SteuerungGui", "&Lesen"), nullptr);
}

std::vector<std::string> placeholders(const std::string &text) {
    static const std::regex kPlaceholder("%[0-9]+|%%|%-?[0-9]*[dsc]|\\{[^}]*\\}");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kPlaceholder);
         it != std::sregex_iterator(); ++it) {
        found.push_back(it->str());
    }
    return found;
}

size_t characters(const std::string &text) {
    size_t count = 0;
    for (unsigned char c : text)
        count += (c & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

// The shortcut marks of a text with their letters: '&' before a character ("&&" is a '&').
std::vector<std::string> shortcuts(const std::string &text) {
    static const std::regex kMark("&&|&[^& ]");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kMark);
         it != std::sregex_iterator(); ++it) {
        if (it->str() != "&&")
            found.push_back(it->str());
    }
    return found;
}

TEST(PseudoLanguage, AccentsEveryLetterKeepsWhatCodeReadsAndGrowsByAboutFortyPerCent) {
    EXPECT_EQ(pseudoText("Read status"), "[Ŕéåđ šţåţûš ··]");
    const char *texts[] = {
        "Read status",
        "S&tatus and &&more",
        "Error #%d",
        "COM %1 (offline)",
        "The card number was changed and has not been read back yet.",
        "100 % of {0}: %-4d %% %12 %s %c",
        "\nThe internal card number is now being changed\nIMPORTANT: ONCE ONLY!\n",
        "Text files (*.txt);;All files (*)",
        "Usage: trz4ctl [options] <command> [arguments]\n\nCommands:\n  ports   list\n",
    };
    for (const std::string text : texts) {
        const std::string pseudo = pseudoText(text);
        SCOPED_TRACE(text + " -> " + pseudo);
        EXPECT_EQ(wordsBypassingTheLookup(pseudo), std::vector<std::string>{});
        EXPECT_NE(wordsBypassingTheLookup(text), std::vector<std::string>{});
        EXPECT_EQ(placeholders(pseudo), placeholders(text));
        EXPECT_EQ(shortcuts(pseudo).size(), shortcuts(text).size());
        // Lines stay lines, and the line feeds around the text stay outside the brackets.
        EXPECT_EQ(std::count(pseudo.begin(), pseudo.end(), '\n'),
                  std::count(text.begin(), text.end(), '\n'));
        const size_t open = text.find_first_not_of('\n');
        const size_t close = text.find_last_not_of('\n');
        EXPECT_EQ(pseudo.substr(0, open + 1), text.substr(0, open) + "[");
        EXPECT_EQ(pseudo.substr(pseudo.size() - (text.size() - close)),
                  "]" + text.substr(close + 1));
        const double growth = static_cast<double>(characters(pseudo)) / characters(text);
        EXPECT_GE(growth, 1.3);
        EXPECT_LE(growth, 1.6);
    }
    // Rich text keeps its tags and entities; an empty text stays empty.
    EXPECT_EQ(pseudoText("<b>Bold</b> &amp; more").substr(0, 4), "[<b>");
    EXPECT_NE(pseudoText("<b>Bold</b> &amp; more").find("</b> &amp; "), std::string::npos);
    EXPECT_EQ(pseudoText(""), "");
    EXPECT_EQ(pseudoText("\n"), "\n");
    // What is named plain may stay plain.
    EXPECT_EQ(wordsBypassingTheLookup(pseudoText("Card %1") + " VEK-TRZ4-SIM", {"VEK-TRZ4-SIM"}),
              std::vector<std::string>{});
}

TEST(TranslationFile, ReadsContextsMessagesAndTheStateOfEachTranslation) {
    const std::string file =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<!DOCTYPE TS>\r\n"
        "<TS version=\"2.1\" language=\"en\" sourcelanguage=\"de\">\r\n"
        "<!-- a comment -->\n<context>\n    <name>Ein &amp; Aus</name>\n"
        "    <message>\n        <location filename=\"x.cpp\" line=\"3\"/>\n"
        "        <source>&lt;k&gt; &quot;Zeile&quot;\r\n&#x4e;&#228;chste<byte "
        "value=\"x9\"/></source>\n"
        "        <comment>for the translator</comment>\n"
        "        <translation>&apos;line&apos;\nnext</translation>\n    </message>\n"
        "    <message>\n        <source>Neu</source>\n"
        "        <translation type=\"unfinished\"></translation>\n    </message>\n"
        "    <message>\n        <source>Alt</source>\n"
        "        <translation type=\"vanished\">Old</translation>\n    </message>\n"
        "</context>\n</TS>\n";
    std::vector<TranslationMessage> messages;
    std::string error;
    ASSERT_TRUE(readTranslationFile(file, &messages, &error)) << error;
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].context, "Ein & Aus");
    EXPECT_EQ(messages[0].source, "<k> \"Zeile\"\nNächste\t");
    EXPECT_EQ(messages[0].translation, "'line'\nnext");
    EXPECT_TRUE(messages[0].finished);
    EXPECT_FALSE(messages[1].finished);
    EXPECT_FALSE(messages[2].finished);

    // Text that is not such a file is refused, with the line where it goes wrong.
    struct Broken {
        const char *text;
        const char *error;
    };
    const Broken broken[] = {
        {"", "line 1: "},
        {"<TS>\n<context><name>a</name>\n</TS>", "line 3: end tag does not match <context>"},
        {"<TS>\n<context>\n<name>a &bogus; b</name></context></TS>", "line 3: unknown entity"},
        {"<TS><context><name>a</name><message><source>s</source></message></context></TS>",
         "without source or translation"},
        {"<TS>\n\n<context><name>a</name>", "line 3: unterminated element"},
        {"<ts></ts>", "not a translation file"},
        {"<TS a=b></TS>", "without quotes"},
        {"<TS></TS>trailing", "text after"},
    };
    for (const Broken &b : broken) {
        std::vector<TranslationMessage> none;
        std::string why;
        EXPECT_FALSE(readTranslationFile(b.text, &none, &why)) << b.text;
        EXPECT_NE(why.find(b.error), std::string::npos) << b.text << ": " << why;
    }
}

// Every file the libraries carry reads, and translates every message with the placeholders and
// shortcut marks of its source, beginning and ending with a line feed where the source does.
TEST(TranslationFile, EveryFileTranslatesEveryMessageAndKeepsWhatCodeReads) {
    for (Language language : {Language::German, Language::English, Language::Pseudo}) {
        EXPECT_EQ(languageFileError(language), "") << languageCode(language);
    }
    const std::vector<TranslationMessage> messages = languageFileMessages(Language::English);
    ASSERT_GT(messages.size(), 300u);
    std::set<std::string> seen;
    for (const TranslationMessage &m : messages) {
        SCOPED_TRACE(m.context + " / " + m.source);
        EXPECT_TRUE(m.finished);
        EXPECT_TRUE(seen.insert(m.context + "\x04" + m.source).second) << "twice in the file";
        std::vector<std::string> given = placeholders(m.translation);
        std::vector<std::string> wanted = placeholders(m.source);
        std::sort(given.begin(), given.end());
        std::sort(wanted.begin(), wanted.end());
        EXPECT_EQ(given, wanted);
        EXPECT_EQ(shortcuts(m.translation).size(), shortcuts(m.source).size());
        EXPECT_EQ(m.translation.front() == '\n', m.source.front() == '\n');
        EXPECT_EQ(m.translation.back() == '\n', m.source.back() == '\n');
    }
}

} // namespace
