// trz4ctl in-process: the argument parser's forms and the JSON quoting.
#include "tools/trz4ctl/json.h"
#include "tools/trz4ctl/trz4ctl.h"

#include "platform/userdirs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

namespace {

CtlOptions parse(const std::vector<std::string> &args, bool ok = true) {
    CtlOptions options;
    std::string error;
    EXPECT_EQ(parseCtlArguments(args, &options, &error), ok) << error;
    EXPECT_EQ(error.empty(), ok) << error;
    return options;
}

TEST(Trz4ctlParse, OptionsStandBeforeOrAfterTheCommandInBothForms) {
    CtlOptions options = parse({"--com=33", "write", "--timeout", "0.25", "a", "--yes", "--json",
                                "--lang=en", "--address", "&"});
    EXPECT_EQ(options.command, "write");
    EXPECT_EQ(options.operands, std::vector<std::string>{"a"});
    EXPECT_EQ(options.com, 33);
    EXPECT_EQ(options.address, '&');
    EXPECT_DOUBLE_EQ(options.timeoutSeconds, 0.25);
    EXPECT_TRUE(options.yes && options.json);
    EXPECT_EQ(options.language, Language::English);

    // After "--" a dash starts an operand, e.g. a device path.
    options = parse({"map", "--", "5", "-odd"});
    EXPECT_EQ(options.operands, (std::vector<std::string>{"5", "-odd"}));
}

TEST(Trz4ctlParse, DefaultsAndRangeLimits) {
    CtlOptions options = parse({"read"});
    EXPECT_FALSE(options.com.has_value());
    EXPECT_FALSE(options.address.has_value());
    EXPECT_FALSE(options.language.has_value());
    // The help states the default that the parse applies, in every language's wording.
    const std::pair<Language, const char *> statements[] = {{Language::German, "(Vorgabe %.1f)"},
                                                            {Language::English, "(default %.1f)"}};
    for (const auto &[language, format] : statements) {
        char stated[32];
        std::snprintf(stated, sizeof stated, format, options.timeoutSeconds);
        setLanguage(language);
        EXPECT_NE(ctlHelpText("").find(stated), std::string::npos) << stated;
    }
    setLanguage(Language::German);

    EXPECT_EQ(parse({"--com", "0"}).com, 0);
    EXPECT_EQ(parse({"--com", "256"}).com, 256);
    parse({"--com", "-1"}, false);
    parse({"--com", " 5"}, false);
    parse({"--timeout", "inf"}, false);
    parse({"--timeout", "nan"}, false);
    parse({"--timeout", "-0.5"}, false);
    parse({"--timeout", "1e9"}, false);
    parse({"--lang", "EN"}, false);
    parse({"--address", ""}, false);
    parse({"--yes=1"}, false);
    parse({"--version=1"}, false);
    EXPECT_TRUE(parse({"read", "--version"}).version);
}

TEST(Trz4ctlParse, SettingsDirectoryOptionsNameTheProgramsFile) {
    // Compared as paths: Windows joins with its own separator.
    using Path = std::filesystem::path;
    EXPECT_EQ(ctlSettingsPath(parse({"read"})), "trz4Steuerung.ini");
    EXPECT_EQ(Path(ctlSettingsPath(parse({"read", "--settings-dir", "/a b"}))),
              Path("/a b/trz4Steuerung.ini"));
    EXPECT_EQ(Path(ctlSettingsPath(parse({"--settings-dir=rel/", "read"}))),
              Path("rel/trz4Steuerung.ini"));
    EXPECT_EQ(Path(ctlSettingsPath(parse({"--user-settings", "read"}))),
              Path(userConfigDirectory()) / "trz4Steuerung.ini");
    EXPECT_EQ(ctlSettingsPath(parse({"--settings-dir", "Ä\xC3\xA4"})).find("Ä\xC3\xA4"), 0u)
        << "UTF-8 stays UTF-8";
    parse({"--settings-dir"}, false);
    parse({"--settings-dir="}, false);
    parse({"--user-settings=1"}, false);
    parse({"--user-settings", "--settings-dir", "d"}, false);
}

TEST(Trz4ctlJson, QuotesControlCharactersAndKeepsUtf8) {
    EXPECT_EQ(jsonQuote("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(jsonQuote("Zeile\nzwei\t\x01\x7f"), R"("Zeile\nzwei\t\u0001\u007f")");
    EXPECT_EQ(jsonQuote("Gerät"), "\"Gerät\"");
    // Bytes that are no UTF-8 (a lone byte, a cut sequence, an overlong form, a surrogate)
    // would make the document invalid: each becomes U+FFFD.
    EXPECT_EQ(jsonQuote("a\xff\xc3 \xc0\xaf\xed\xa0\x80\xf0\x9f\x98\x80"),
              R"("a\ufffd\ufffd \ufffd\ufffd\ufffd\ufffd\ufffd)"
              "\xf0\x9f\x98\x80\"");
    EXPECT_EQ(JsonObject().add("n", 5).add("ok", false).add("s", "x").text(),
              R"({"n":5,"ok":false,"s":"x"})");
}

} // namespace
