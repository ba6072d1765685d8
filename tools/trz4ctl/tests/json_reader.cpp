#include "tools/trz4ctl/tests/json_reader.h"

#include <cstdlib>
#include <string>
#include <string_view>

class JsonParser {
public:
    explicit JsonParser(std::string_view text) : in(text) {}

    bool document(JsonValue *value, std::string *error) {
        skipSpace();
        if (!parseValue(value, 0)) {
            *error = message;
            return false;
        }
        skipSpace();
        if (pos != in.size()) {
            fail("text after the value");
            *error = message;
            return false;
        }
        return true;
    }

private:
    // Deeper nesting than any printer of ours writes is taken for garbage.
    static constexpr int kMaxDepth = 64;

    bool fail(const char *what) {
        if (message.empty()) {
            message = "offset " + std::to_string(pos) + ": " + what;
        }
        return false;
    }

    void skipSpace() {
        while (pos < in.size() &&
               (in[pos] == ' ' || in[pos] == '\t' || in[pos] == '\n' || in[pos] == '\r')) {
            ++pos;
        }
    }

    bool literal(std::string_view word) {
        if (in.substr(pos, word.size()) != word) {
            return fail("unknown literal");
        }
        pos += word.size();
        return true;
    }

    bool parseValue(JsonValue *value, int depth) {
        if (depth > kMaxDepth) {
            return fail("nested too deep");
        }
        if (pos >= in.size()) {
            return fail("value expected");
        }
        switch (in[pos]) {
        case '{':
            return parseObject(value, depth);
        case '[':
            return parseArray(value, depth);
        case '"':
            value->kind = JsonValue::Type::String;
            return parseString(&value->text);
        case 't':
            value->kind = JsonValue::Type::Bool;
            value->boolean = true;
            return literal("true");
        case 'f':
            value->kind = JsonValue::Type::Bool;
            return literal("false");
        case 'n':
            value->kind = JsonValue::Type::Null;
            return literal("null");
        default:
            value->kind = JsonValue::Type::Number;
            return parseNumber(&value->number);
        }
    }

    // Takes c where it stands next.
    bool take(char c) {
        if (pos < in.size() && in[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }

    // The entries of an object or array up to its closing bracket, separated by commas; the
    // opening bracket is taken already. parseEntry reads one entry.
    template <typename ParseEntry>
    bool parseEntries(char close, const char *separatorExpected, ParseEntry parseEntry) {
        skipSpace();
        if (take(close)) {
            return true;
        }
        for (;;) {
            skipSpace();
            if (!parseEntry()) {
                return false;
            }
            skipSpace();
            if (take(',')) {
                continue;
            }
            if (take(close)) {
                return true;
            }
            return fail(separatorExpected);
        }
    }

    bool parseObject(JsonValue *value, int depth) {
        value->kind = JsonValue::Type::Object;
        ++pos; // '{'
        return parseEntries('}', "',' or '}' expected", [&] {
            if (pos >= in.size() || in[pos] != '"') {
                return fail("member name expected");
            }
            std::string key;
            if (!parseString(&key)) {
                return false;
            }
            skipSpace();
            if (!take(':')) {
                return fail("':' expected");
            }
            skipSpace();
            JsonValue member;
            if (!parseValue(&member, depth + 1)) {
                return false;
            }
            if (!value->members.emplace(std::move(key), std::move(member)).second) {
                return fail("duplicate member name");
            }
            return true;
        });
    }

    bool parseArray(JsonValue *value, int depth) {
        value->kind = JsonValue::Type::Array;
        ++pos; // '['
        return parseEntries(']', "',' or ']' expected", [&] {
            JsonValue element;
            if (!parseValue(&element, depth + 1)) {
                return false;
            }
            value->elements.push_back(std::move(element));
            return true;
        });
    }

    bool hex4(unsigned *code) {
        if (pos + 4 > in.size()) {
            return fail("four hex digits expected");
        }
        *code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = in[pos++];
            unsigned digit = 0;
            if (c >= '0' && c <= '9') {
                digit = static_cast<unsigned>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                digit = static_cast<unsigned>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                digit = static_cast<unsigned>(c - 'A' + 10);
            } else {
                return fail("four hex digits expected");
            }
            *code = *code * 16 + digit;
        }
        return true;
    }

    // UTF-8: a lead byte that tells how many continuation bytes of six bits each follow.
    static void appendUtf8(std::string *out, unsigned code) {
        const int continuations = code < 0x80 ? 0 : code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
        static constexpr unsigned kLeadMarks[] = {0x00, 0xC0, 0xE0, 0xF0};
        out->push_back(
            static_cast<char>(kLeadMarks[continuations] | (code >> (6 * continuations))));
        for (int shift = 6 * (continuations - 1); shift >= 0; shift -= 6) {
            out->push_back(static_cast<char>(0x80 | ((code >> shift) & 0x3F)));
        }
    }

    bool parseEscape(std::string *out) {
        if (pos >= in.size()) {
            return fail("unterminated string");
        }
        // The one-character escapes and, at the same places, the characters they stand for.
        static constexpr std::string_view kEscapes = "\"\\/bfnrt";
        static constexpr std::string_view kMeanings = "\"\\/\b\f\n\r\t";
        const char c = in[pos++];
        if (const size_t at = kEscapes.find(c); at != std::string_view::npos) {
            out->push_back(kMeanings[at]);
            return true;
        }
        if (c != 'u') {
            return fail("unknown escape");
        }
        unsigned code = 0;
        if (!hex4(&code)) {
            return false;
        }
        if (code >= 0xDC00 && code <= 0xDFFF) {
            return fail("lone low surrogate");
        }
        if (code >= 0xD800 && code <= 0xDBFF) {
            unsigned low = 0;
            if (in.substr(pos, 2) != "\\u") {
                return fail("high surrogate without its low half");
            }
            pos += 2;
            if (!hex4(&low)) {
                return false;
            }
            if (low < 0xDC00 || low > 0xDFFF) {
                return fail("high surrogate without its low half");
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        appendUtf8(out, code);
        return true;
    }

    bool parseString(std::string *out) {
        ++pos; // '"'
        for (;;) {
            if (pos >= in.size()) {
                return fail("unterminated string");
            }
            const unsigned char c = static_cast<unsigned char>(in[pos]);
            if (c == '"') {
                ++pos;
                return true;
            }
            if (c < 0x20) {
                return fail("control character in a string");
            }
            ++pos;
            if (c == '\\') {
                if (!parseEscape(out)) {
                    return false;
                }
            } else {
                out->push_back(static_cast<char>(c));
            }
        }
    }

    bool digits() {
        const std::size_t start = pos;
        while (pos < in.size() && in[pos] >= '0' && in[pos] <= '9') {
            ++pos;
        }
        return pos > start;
    }

    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    bool parseNumber(double *number) {
        const std::size_t start = pos;
        take('-');
        if (!take('0') && !digits()) {
            return fail("value expected");
        }
        if (take('.') && !digits()) {
            return fail("digits expected after '.'");
        }
        if (take('e') || take('E')) {
            if (!take('+')) {
                take('-');
            }
            if (!digits()) {
                return fail("digits expected in the exponent");
            }
        }
        *number = std::strtod(std::string(in.substr(start, pos - start)).c_str(), nullptr);
        return true;
    }

    std::string_view in;
    std::size_t pos = 0;
    std::string message;
};

bool JsonValue::parse(std::string_view text, JsonValue *value, std::string *error) {
    JsonValue result;
    JsonParser parser(text);
    if (!parser.document(&result, error)) {
        return false;
    }
    *value = std::move(result);
    return true;
}

namespace {

const JsonValue &nullValue() {
    static const JsonValue kNull;
    return kNull;
}

} // namespace

const JsonValue &JsonValue::operator[](std::string_view key) const {
    if (kind != Type::Object) {
        return nullValue();
    }
    auto it = members.find(key);
    return it == members.end() ? nullValue() : it->second;
}

const JsonValue &JsonValue::operator[](std::size_t index) const {
    if (kind != Type::Array || index >= elements.size()) {
        return nullValue();
    }
    return elements[index];
}

bool JsonValue::contains(std::string_view key) const {
    return kind == Type::Object && members.find(key) != members.end();
}

const std::vector<JsonValue> &JsonValue::toArray() const {
    static const std::vector<JsonValue> kEmpty;
    return kind == Type::Array ? elements : kEmpty;
}
