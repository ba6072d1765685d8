#include "tools/trz4ctl/tests/german_words.h"

#include "cardlink/vektrz4.h"
#include "errors/VEK_errorV3.h"
#include "tools/trz4ctl/trz4ctl.h"

#include <algorithm>
#include <set>

namespace {

// Words of four letters or more; bytes of UTF-8 sequences count as letters, so "Gerät" stays
// one word. Lower case for comparison.
std::vector<std::string> words(const std::string &text) {
    std::vector<std::string> found;
    std::string word;
    auto flush = [&] {
        if (word.size() >= 4)
            found.push_back(word);
        word.clear();
    };
    for (unsigned char c : text) {
        if ((c >= 'a' && c <= 'z') || c >= 0x80)
            word += static_cast<char>(c);
        else if (c >= 'A' && c <= 'Z')
            word += static_cast<char>(c - 'A' + 'a');
        else
            flush();
    }
    flush();
    return found;
}

const std::set<std::string> &germanOnlyWords() {
    static const std::set<std::string> list = [] {
        std::string german, english;
        for (int i = 0; i < vekCatalogueSize(); ++i) {
            int kind = 0;
            const char *de = nullptr, *en = nullptr;
            if (vekCatalogueEntry(i, &kind, &de, &en)) {
                german += std::string(de) + "\n";
                english += std::string(en) + "\n";
            }
        }
        for (const char *command :
             {"", "ports", "id", "scan", "status", "read", "write", "map", "unmap"}) {
            german += ctlHelpText(command, false);
            english += ctlHelpText(command, true);
        }
        german += kKartennummerWarnung;
        english += kKartennummerWarnungEnglish;
        const std::vector<std::string> englishWords = words(english);
        const std::set<std::string> inEnglish(englishWords.begin(), englishWords.end());
        std::set<std::string> only;
        for (const std::string &word : words(german)) {
            if (!inEnglish.count(word))
                only.insert(word);
        }
        return only;
    }();
    return list;
}

} // namespace

std::vector<std::string> germanIn(const std::string &text) {
    std::vector<std::string> found;
    auto note = [&found](const std::string &what) {
        if (std::find(found.begin(), found.end(), what) == found.end())
            found.push_back(what);
    };
    for (const char *letter : {"ä", "ö", "ü", "Ä", "Ö", "Ü", "ß"}) {
        if (text.find(letter) != std::string::npos)
            note(letter);
    }
    for (const std::string &word : words(text)) {
        if (germanOnlyWords().count(word))
            note(word);
    }
    return found;
}
