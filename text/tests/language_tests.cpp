// The choice of the language: by locale name, by the locale variables in their order, and by
// --lang on a command line.
#include "text/language.h"

#include "platform/tests/environment.h"
#include "platform/userlocale.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

TEST(LanguageChoice, LocaleNamesOfGermanChooseGermanEveryOtherEnglishNoneThePseudoLanguage) {
    for (const char *name : {"de", "de_DE.UTF-8", "de_AT", "de-CH", "de.UTF-8", "de@euro"}) {
        EXPECT_EQ(languageOfLocale(name), Language::German) << name;
    }
    for (const char *name : {"", "C", "C.UTF-8", "POSIX", "en_US.UTF-8", "xx_XX", "dea", "DE",
                             "nl_DE.UTF-8", "es_de", "qps", "qps_PLOC"}) {
        EXPECT_EQ(languageOfLocale(name), Language::English) << name;
    }
}

TEST(LanguageChoice, LangValuesAndTheLastValidLangOnACommandLine) {
    for (Language language : {Language::German, Language::English, Language::Pseudo}) {
        EXPECT_EQ(languageOfCode(languageCode(language)), language);
    }
    for (const char *value : {"", "DE", "en_US", "xx", "deutsch", "QPS"}) {
        EXPECT_FALSE(languageOfCode(value).has_value()) << value;
    }
    struct Case {
        std::vector<std::string> args;
        std::optional<Language> chosen;
    };
    const Case cases[] = {
        {{"read"}, std::nullopt},
        {{"--lang", "en", "read"}, Language::English},
        {{"--lang=qps"}, Language::Pseudo},
        {{"--lang", "en", "--lang", "de"}, Language::German},
        {{"--lang", "de", "--lang", "xx"}, Language::German},
        {{"--lang"}, std::nullopt},
        {{"--", "--lang", "en"}, std::nullopt},
        {{"--com", "--lang", "en"}, Language::English},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(languageOption(c.args), c.chosen) << c.args[0];
    }
    // The value of an option that takes one is never a --lang.
    const auto takesValue = [](const std::string &arg) { return arg == "--com"; };
    EXPECT_EQ(languageOption({"--com", "--lang", "en"}, takesValue), std::nullopt);
    EXPECT_EQ(languageOption({"--com", "1", "--lang", "en"}, takesValue), Language::English);
}

// Sets the three locale variables for one case and restores them afterwards.
class LocaleEnvironment {
public:
    LocaleEnvironment(const char *all, const char *messages, const char *lang) {
        for (size_t i = 0; i < kNames.size(); ++i) {
            const char *old = std::getenv(kNames[i]);
            saved[i] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        setEnvironmentVariable("LC_ALL", all);
        setEnvironmentVariable("LC_MESSAGES", messages);
        setEnvironmentVariable("LANG", lang);
    }
    ~LocaleEnvironment() {
        for (size_t i = 0; i < kNames.size(); ++i)
            setEnvironmentVariable(kNames[i], saved[i] ? saved[i]->c_str() : nullptr);
    }

private:
    static constexpr std::array<const char *, 3> kNames = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::array<std::optional<std::string>, 3> saved;
};

TEST(LanguageChoice, TheFirstOfLcAllLcMessagesAndLangThatIsSetDecides) {
    struct Case {
        const char *all, *messages, *lang;
        Language language;
    };
    // With none of the three set, Windows takes the user's display language.
    Language unset = Language::English;
    {
        LocaleEnvironment none(nullptr, nullptr, nullptr);
        unset = languageOfLocale(messagesLocaleName());
    }
    const Case cases[] = {
        {nullptr, nullptr, nullptr, unset},
        {nullptr, nullptr, "de_DE.UTF-8", Language::German},
        {nullptr, nullptr, "C.UTF-8", Language::English},
        {"en_US.UTF-8", "de_DE.UTF-8", "de_DE.UTF-8", Language::English},
        {"de_CH.UTF-8", nullptr, "en_US.UTF-8", Language::German},
        {nullptr, "de_DE.UTF-8", "en_US.UTF-8", Language::German},
        {"", "", "de_DE.UTF-8", Language::German},
        {"", "C", "de_DE.UTF-8", Language::English},
    };
    for (const Case &c : cases) {
        LocaleEnvironment environment(c.all, c.messages, c.lang);
        EXPECT_EQ(localeLanguage(), c.language)
            << (c.all ? c.all : "-") << " " << (c.messages ? c.messages : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

} // namespace
