#include "tools/trz4ctl/json.h"

#include <cstdio>

std::string jsonQuote(std::string_view text) {
    std::string quoted = "\"";
    for (unsigned char c : text) {
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
