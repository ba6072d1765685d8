#include "text/testing/pseudo_check.h"

#include "text/texts.h"

#include <algorithm>

namespace {

// Whether the pseudo-language replaces the ASCII letter: asked of the pseudo-language itself.
bool hasTwin(char letter) {
    static const std::string twinned = [] {
        std::string letters;
        for (char c = 'A'; c <= 'z'; ++c) {
            if (pseudoText(std::string(1, c)) != "[" + std::string(1, c) + "]")
                letters += c;
        }
        return letters;
    }();
    return twinned.find(letter) != std::string::npos;
}

bool isLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0x80;
}

} // namespace

std::vector<std::string> wordsBypassingTheLookup(std::string shown,
                                                 const std::vector<std::string> &plain) {
    for (const std::string &text : plain) {
        for (size_t at; !text.empty() && (at = shown.find(text)) != std::string::npos;) {
            shown.replace(at, text.size(), " ");
        }
    }
    for (size_t slash; (slash = shown.find_first_of("/\\")) != std::string::npos;) {
        const size_t start = shown.find_last_of(" \t\n\"(", slash);
        const size_t from = start == std::string::npos ? 0 : start + 1;
        const size_t end = shown.find_first_of(" \t\n\")", slash);
        shown.replace(from, (end == std::string::npos ? shown.size() : end) - from, " ");
    }
    std::vector<std::string> found;
    std::string word;
    bool bypassed = false;
    size_t letters = 0;
    auto endWord = [&] {
        if (bypassed && letters >= 2 && std::find(found.begin(), found.end(), word) == found.end())
            found.push_back(word);
        word.clear();
        bypassed = false;
        letters = 0;
    };
    for (size_t i = 0; i < shown.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(shown[i]);
        if (!isLetter(c)) {
            endWord();
            continue;
        }
        word += static_cast<char>(c);
        letters += (c & 0xC0) != 0x80 ? 1 : 0;
        if (c < 0x80 && hasTwin(static_cast<char>(c)))
            bypassed = true;
    }
    endWord();
    return found;
}
