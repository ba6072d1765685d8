// The pseudo-language: English made visibly foreign and longer, to find texts that bypass the
// lookup and layouts that clip a longer translation.
#include "text/texts.h"

#include <cstring>

namespace {

// The accented twin of each ASCII letter, "" where none of the letters that every common font
// carries has one: Latin-1, the florin, and those of Latin Extended-A that Wine's Tahoma has
// too. A letter the panel's font lacks comes from a fallback font with a taller line, and the
// pseudo-language's labels would no longer fit where every real language's do.
constexpr const char *kLower[26] = {"å", "",  "ç", "đ", "é", "ƒ", "ĝ", "ĥ", "î", "", "", "ľ", "",
                                    "ñ", "ö", "",  "",  "ŕ", "š", "ţ", "û", "",  "", "", "ý", "ž"};
constexpr const char *kUpper[26] = {"Å", "",  "Ç", "Đ", "É", "",  "Ĝ", "Ĥ", "Î", "", "", "Ľ", "",
                                    "Ñ", "Ö", "",  "",  "Ŕ", "Š", "Ţ", "Û", "",  "", "", "Ý", "Ž"};

constexpr const char *kPad = "\u00B7"; // middle dot

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The length of the placeholder at text[at] ('%' or '{'), 0 when there is none: %1 to %99,
// %%, a printf conversion (%d, %-4d, %02X, %.1f, %ld, %s, %c; not "% " as in "40 %"),
// {anything}.
size_t placeholderLength(std::string_view text, size_t at) {
    if (text[at] == '{') {
        const size_t end = text.find('}', at);
        return end == std::string_view::npos ? 0 : end - at + 1;
    }
    size_t i = at + 1;
    if (i < text.size() && (text[i] == '%' || isDigit(text[i]))) {
        while (text[i] != '%' && i + 1 < text.size() && isDigit(text[i + 1]) && i - at < 2) {
            ++i;
        }
        return i - at + 1;
    }
    while (i < text.size() && std::strchr("-+#0", text[i]) != nullptr) {
        ++i;
    }
    while (i < text.size() && (isDigit(text[i]) || text[i] == '.')) {
        ++i;
    }
    while (i < text.size() && std::strchr("hlLzjt", text[i]) != nullptr) {
        ++i;
    }
    if (i < text.size() && std::strchr("diouxXeEfFgGcsp", text[i]) != nullptr) {
        return i - at + 1;
    }
    return 0;
}

// The characters (not bytes) of a UTF-8 text.
size_t characters(std::string_view text) {
    size_t count = 0;
    for (unsigned char c : text) {
        count += (c & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

// One line made pseudo, without padding.
std::string accented(std::string_view line, bool richText) {
    std::string out;
    for (size_t i = 0; i < line.size();) {
        const char c = line[i];
        size_t keep = 0;
        if (c == '%' || c == '{') {
            keep = placeholderLength(line, i);
        } else if (c == '&' && richText) {
            const size_t end = line.find(';', i);
            keep = end == std::string_view::npos ? 1 : end - i + 1;
        } else if (c == '&') {
            // The shortcut mark stays and marks the accented letter ("&&" is a '&' of its own).
            keep = i + 1 < line.size() && line[i + 1] == '&' ? 2 : 1;
        } else if (c == '<' && richText) {
            const size_t end = line.find('>', i);
            keep = end == std::string_view::npos ? 1 : end - i + 1;
        }
        if (keep > 0) {
            out += line.substr(i, keep);
            i += keep;
            continue;
        }
        const char *twin = "";
        if (c >= 'a' && c <= 'z') {
            twin = kLower[c - 'a'];
        } else if (c >= 'A' && c <= 'Z') {
            twin = kUpper[c - 'A'];
        }
        if (twin[0] != '\0') {
            out += twin;
        } else {
            out += c;
        }
        ++i;
    }
    return out;
}

} // namespace

std::string pseudoText(std::string_view text) {
    // Line feeds that begin or end a text lay it out; they stay outside the brackets.
    const size_t first = text.find_first_not_of('\n');
    if (first == std::string_view::npos) {
        return std::string(text);
    }
    const size_t last = text.find_last_not_of('\n');
    const std::string_view body = text.substr(first, last - first + 1);
    const bool richText = body[0] == '<';

    std::string out(text.substr(0, first));
    out += '[';
    for (size_t start = 0; start <= body.size();) {
        size_t end = body.find('\n', start);
        if (end == std::string_view::npos) {
            end = body.size();
        }
        const std::string_view line = body.substr(start, end - start);
        const bool lastLine = end == body.size();
        out += accented(line, richText);
        // About 40 % more per line, the brackets counted in.
        const size_t growth = (2 * characters(line) + 4) / 5;
        const size_t brackets = (start == 0 ? 1 : 0) + (lastLine ? 1 : 0);
        if (growth > brackets) {
            const size_t pad = growth - brackets;
            out += pad > 1 ? " " : kPad;
            for (size_t i = 1; i < pad; ++i) {
                out += kPad;
            }
        }
        if (lastLine) {
            break;
        }
        out += '\n';
        start = end + 1;
    }
    out += ']';
    out += text.substr(last + 1);
    return out;
}
