// A flat JSON object writer for trz4ctl's --json output: one object per command, members in
// the order they are added. Values are strings, integers, booleans or ready-made JSON text
// (an array built with JsonArray). Nothing is parsed here.
#pragma once

#include <string>
#include <string_view>

// The text as a JSON string literal, quotes included. Control characters become \uXXXX (\n, \t
// and friends their short forms); UTF-8 passes through, and every byte that is not part of a
// well-formed UTF-8 sequence becomes U+FFFD, so that the document stays valid UTF-8 whatever
// names the system hands over.
std::string jsonQuote(std::string_view text);

// The length of the well-formed UTF-8 sequence at text[at] (1-4; no overlong forms, no
// surrogates), 0 when the byte there starts none.
size_t utf8SequenceLength(std::string_view text, size_t at);

class JsonObject {
public:
    JsonObject &add(std::string_view key, std::string_view value);
    JsonObject &add(std::string_view key, const char *value) {
        return add(key, std::string_view(value));
    }
    JsonObject &add(std::string_view key, long long value);
    JsonObject &add(std::string_view key, int value) { return add(key, (long long)value); }
    JsonObject &add(std::string_view key, bool value);
    // value must already be valid JSON (an array or object).
    JsonObject &addRaw(std::string_view key, std::string_view value);

    // The object as one line, without a line end.
    std::string text() const { return "{" + members + "}"; }

private:
    void key(std::string_view name);
    std::string members;
};

class JsonArray {
public:
    JsonArray &add(const JsonObject &object);
    std::string text() const { return "[" + elements + "]"; }

private:
    std::string elements;
};
