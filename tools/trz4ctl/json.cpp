#include "tools/trz4ctl/json.h"

#include <cstdio>

size_t utf8SequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0;
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

std::string jsonQuote(std::string_view text) {
    std::string quoted = "\"";
    for (size_t at = 0; at < text.size(); ++at) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c >= 0x80) {
            const size_t length = utf8SequenceLength(text, at);
            if (length == 0) {
                quoted += "\\ufffd";
            } else {
                quoted += text.substr(at, length);
                at += length - 1;
            }
            continue;
        }
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                quoted += escape;
            } else {
                quoted += static_cast<char>(c);
            }
        }
    }
    return quoted + "\"";
}

void JsonObject::key(std::string_view name) {
    if (!members.empty())
        members += ',';
    members += jsonQuote(name);
    members += ':';
}

JsonObject &JsonObject::add(std::string_view name, std::string_view value) {
    key(name);
    members += jsonQuote(value);
    return *this;
}

JsonObject &JsonObject::add(std::string_view name, long long value) {
    key(name);
    members += std::to_string(value);
    return *this;
}

JsonObject &JsonObject::add(std::string_view name, bool value) {
    key(name);
    members += value ? "true" : "false";
    return *this;
}

JsonObject &JsonObject::addRaw(std::string_view name, std::string_view value) {
    key(name);
    members += value;
    return *this;
}

JsonArray &JsonArray::add(const JsonObject &object) {
    if (!elements.empty())
        elements += ',';
    elements += object.text();
    return *this;
}
