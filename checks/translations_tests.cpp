// The translation files hold exactly the texts marked in the sources, each translated: the
// update command (cmake/Translations.cmake) run on a scratch copy of each file changes
// nothing, and every text it would bring is named here until the file translates it.
#include "platform/tests/scratch_dir.h"
#include "text/texts.h"
#include "tools/trz4ctl/tests/run_child.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> split(const std::string &text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        parts.push_back(part);
    return parts;
}

std::vector<TranslationMessage> messagesOf(const std::string &text, const std::string &name) {
    std::vector<TranslationMessage> messages;
    std::string error;
    EXPECT_TRUE(readTranslationFile(text, &messages, &error)) << name << ": " << error;
    return messages;
}

// "context / source" of each message, the source's line feeds shown as \n.
std::string named(const TranslationMessage &message) {
    std::string source;
    for (char c : message.source)
        source += c == '\n' ? std::string("\\n") : std::string(1, c);
    return message.context + " / " + source;
}

TEST(Translations, EveryMarkedTextIsTranslatedAndNoOtherIsKept) {
    const ScratchDir scratchDir("trz4-translations-");
    const std::filesystem::path scratch = scratchDir.path();
    for (const std::string &file : split(TRZ4_TRANSLATION_FILES, '|')) {
        SCOPED_TRACE(file);
        const std::filesystem::path copy = scratch / std::filesystem::path(file).filename();
        std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
        const std::string code = copy.stem().string().substr(copy.stem().string().rfind('_') + 1);
        std::vector<std::string> args = split(TRZ4_LUPDATE_ARGUMENTS, '|');
        args.insert(args.end(), {"-target-language", code, "-ts", copy.string()});
        const ChildResult lupdate = runChild(TRZ4_LUPDATE, args, scratch.string(), 120.0);
        ASSERT_EQ(lupdate.exitStatus, 0) << lupdate.err;

        const std::string committed = readFileBytes(file);
        const std::string updated = readFileBytes(copy);
        std::set<std::string> kept;
        for (const TranslationMessage &m : messagesOf(committed, file))
            kept.insert(named(m));
        std::string untranslated;
        for (const TranslationMessage &m : messagesOf(updated, copy.string())) {
            if (!m.finished)
                untranslated += "  " + named(m) + "\n";
            kept.erase(named(m));
        }
        std::string removed;
        for (const std::string &gone : kept)
            removed += "  " + gone + "\n";
        EXPECT_EQ(untranslated, "") << "marked texts without translation; run cmake --build "
                                       "<build> --target update_translations and translate them";
        EXPECT_EQ(removed, "") << "texts no longer marked in the sources; run update_translations";
        EXPECT_TRUE(updated == committed)
            << "the file is not as the update command writes it; run update_translations";
    }
}

} // namespace
