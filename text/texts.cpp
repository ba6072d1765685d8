// The lookup: the translation files that the build compiled in, read at their first use.
#include "text/texts.h"

#include <array>
#include <mutex>
#include <unordered_map>

// Each language's file, as the build embeds it (text/CMakeLists.txt).
#define TRZ4_LANGUAGE(name, code) extern const std::string_view kTranslationFile_##code;
#include "text/languages.def"
#undef TRZ4_LANGUAGE

namespace {

struct FileLanguage {
    Language language;
    const std::string_view *file;
};

constexpr FileLanguage kFileLanguages[] = {
#define TRZ4_LANGUAGE(name, code) {Language::name, &kTranslationFile_##code},
#include "text/languages.def"
#undef TRZ4_LANGUAGE
};
constexpr size_t kFileLanguageCount = std::size(kFileLanguages);

// A file's finished translations by context and source, joined by a character that no text of
// either holds.
struct Table {
    std::unordered_map<std::string, std::string> translations;
    std::string error;
};

std::string keyOf(const char *context, const char *source) {
    std::string key = context != nullptr ? context : "";
    key += '\x04';
    key += source;
    return key;
}

const FileLanguage *fileLanguage(Language language) {
    for (const FileLanguage &entry : kFileLanguages) {
        if (entry.language == language) {
            return &entry;
        }
    }
    return nullptr;
}

// The table of a language with a file, read once. Read-only afterwards, so lookups from any
// thread share it.
const Table &tableOf(const FileLanguage &entry) {
    static std::array<Table, kFileLanguageCount> tables;
    static std::array<std::once_flag, kFileLanguageCount> read;
    const size_t index = static_cast<size_t>(&entry - kFileLanguages);
    std::call_once(read[index], [&entry, index] {
        std::vector<TranslationMessage> messages;
        Table &table = tables[index];
        if (!readTranslationFile(*entry.file, &messages, &table.error)) {
            return;
        }
        for (TranslationMessage &message : messages) {
            if (message.finished) {
                table.translations[message.context + '\x04' + message.source] =
                    std::move(message.translation);
            }
        }
    });
    return tables[index];
}

} // namespace

const char *fileTranslation(Language language, const char *context, const char *source) {
    const FileLanguage *entry = fileLanguage(language);
    if (entry == nullptr || source == nullptr || source[0] == '\0') {
        return nullptr;
    }
    const Table &table = tableOf(*entry);
    const auto found = table.translations.find(keyOf(context, source));
    return found == table.translations.end() ? nullptr : found->second.c_str();
}

std::optional<std::string> translatedText(Language language, const char *context,
                                          const char *source) {
    const bool pseudo = language == Language::Pseudo;
    const char *translation =
        fileTranslation(pseudo ? Language::English : language, context, source);
    if (translation == nullptr) {
        return std::nullopt;
    }
    return pseudo ? pseudoText(translation) : std::string(translation);
}

std::string trTextIn(Language language, const char *context, const char *source) {
    if (source == nullptr) {
        return {};
    }
    return translatedText(language, context, source).value_or(source);
}

std::string trText(const char *context, const char *source) {
    return trTextIn(language(), context, source);
}

std::string languageFileError(Language language) {
    const FileLanguage *entry =
        fileLanguage(language == Language::Pseudo ? Language::English : language);
    return entry == nullptr ? std::string() : tableOf(*entry).error;
}

std::vector<TranslationMessage> languageFileMessages(Language language) {
    std::vector<TranslationMessage> messages;
    std::string error;
    if (const FileLanguage *entry = fileLanguage(language)) {
        readTranslationFile(*entry->file, &messages, &error);
    }
    return messages;
}

std::string withArguments(std::string_view text,
                          std::initializer_list<std::string_view> arguments) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t n = i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - '1') : 9;
        if (text[i] == '%' && n < arguments.size()) {
            out += *(arguments.begin() + n);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string withArgument(std::string_view text, std::string_view argument) {
    return withArguments(text, {argument});
}
