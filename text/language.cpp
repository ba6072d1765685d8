#include "text/language.h"

#include "platform/userlocale.h"

#include <atomic>
#include <iterator>

namespace {

struct Code {
    Language language;
    std::string_view code;
};

constexpr Code kCodes[] = {
    {Language::German, "de"},
#define TRZ4_LANGUAGE(name, code) {Language::name, #code},
#include "text/languages.def"
#undef TRZ4_LANGUAGE
    {Language::Pseudo, "qps"},
};

std::atomic<Language> gLanguage{Language::German};

} // namespace

std::string_view languageCode(Language language) {
    for (const Code &entry : kCodes) {
        if (entry.language == language) {
            return entry.code;
        }
    }
    return {};
}

std::optional<Language> languageOfCode(std::string_view code) {
    for (const Code &entry : kCodes) {
        if (entry.code == code) {
            return entry.language;
        }
    }
    return std::nullopt;
}

Language languageOfLocale(std::string_view localeName) {
    const std::string_view part = localeName.substr(0, localeName.find_first_of("_-.@"));
    const std::optional<Language> named = languageOfCode(part);
    if (!named || *named == Language::Pseudo) {
        return Language::English;
    }
    return *named;
}

Language localeLanguage() {
    return languageOfLocale(messagesLocaleName());
}

std::optional<Language> languageOption(const std::vector<std::string> &args,
                                       const std::function<bool(const std::string &)> &takesValue) {
    std::optional<Language> chosen;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--") {
            break;
        }
        std::optional<Language> given;
        if (arg.rfind("--lang=", 0) == 0) {
            given = languageOfCode(std::string_view(arg).substr(7));
        } else if (arg == "--lang" && i + 1 < args.size()) {
            given = languageOfCode(args[++i]);
        } else if (takesValue && takesValue(arg)) {
            ++i;
        }
        if (given) {
            chosen = given;
        }
    }
    return chosen;
}

void setLanguage(Language language) {
    gLanguage.store(language, std::memory_order_relaxed);
}

Language language() {
    return gLanguage.load(std::memory_order_relaxed);
}
