// A strict JSON reader for the tests of trz4ctl's --json output, so that they need no JSON
// library: objects, arrays, strings (all escapes, \u surrogate pairs as UTF-8), numbers,
// true, false and null, as RFC 8259 writes them.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

class JsonValue {
public:
    enum class Type { Null, Bool, Number, String, Array, Object };

    // Reads `text`, a single JSON value with optional white space around it. Answers true and
    // sets *value on success; answers false and sets *error (the byte offset and what was
    // wrong) on any syntax error, including text after the value. Duplicate keys in an object
    // are an error as well: a printer that writes one twice has a bug.
    static bool parse(std::string_view text, JsonValue *value, std::string *error);

    Type type() const { return kind; }

    // The member `key` of an object, or a null value when this is no object or has no such
    // member. Chains safely: value["a"][0]["b"].
    const JsonValue &operator[](std::string_view key) const;
    const JsonValue &operator[](const char *key) const { return (*this)[std::string_view(key)]; }
    // Element `index` of an array, or a null value when this is no array or it is too short.
    const JsonValue &operator[](std::size_t index) const;
    const JsonValue &operator[](int index) const {
        return (*this)[static_cast<std::size_t>(index)];
    }
    bool contains(std::string_view key) const;

    // The value when it has the asked type; otherwise the empty string, 0, false or an empty
    // array. toInt truncates a fractional number toward zero.
    std::string toString() const { return kind == Type::String ? text : std::string(); }
    long long toInt() const { return kind == Type::Number ? static_cast<long long>(number) : 0; }
    bool toBool() const { return kind == Type::Bool && boolean; }
    const std::vector<JsonValue> &toArray() const;

private:
    friend class JsonParser;
    Type kind = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<JsonValue> elements;
    std::map<std::string, JsonValue, std::less<>> members;
};
