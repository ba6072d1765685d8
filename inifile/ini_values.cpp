// Typed puts and gets, and the escaping of string values.

#include "inifile/ini_model.h"

#include <cerrno>
#include <cstdarg>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace inifile::detail;

namespace {

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7f;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Unescapes text into out, which holds at least strlen(text) + 1 bytes (the result is never
// longer than its source).
void unescapeInto(char *out, const char *text) {
    const char *p = text;
    while (*p) {
        const char *next = mbsInc(p);
        if (next - p == 2) {
            // A double-byte character: its trail byte may equal the backslash.
            *out++ = p[0];
            *out++ = p[1];
        } else if (*p != '\\') {
            *out++ = *p;
        } else if (p[1] == '\0') {
            // A lone backslash at the end escapes nothing; it is kept rather than reading on.
            *out++ = '\\';
        } else {
            ++next;
            switch (p[1]) {
            case 'n':
                *out++ = '\n';
                break;
            case 'r':
                *out++ = '\r';
                break;
            case 't':
                *out++ = '\t';
                break;
            case 'x':
                if (hexValue(p[2]) >= 0 && hexValue(p[3]) >= 0) {
                    *out++ = static_cast<char>(hexValue(p[2]) * 16 + hexValue(p[3]));
                    next += 2;
                } else {
                    *out++ = 'x';
                }
                break;
            default:
                // The escaped character may be a double-byte one; its trail byte is not
                // scanned on its own (it may have a backslash's value).
                *out++ = p[1];
                if (mbsInc(p + 1) - (p + 1) == 2) {
                    *out++ = p[2];
                    ++next;
                }
                break;
            }
        }
        p = next;
    }
    *out = '\0';
}

int putFormatted(IniDocument *doc, const char *sectionName, const char *itemName,
                 const char *format, ...) __attribute__((format(printf, 4, 5)));

int putFormatted(IniDocument *doc, const char *sectionName, const char *itemName,
                 const char *format, ...) {
    if (!doc) {
        return kIniNullArgument;
    }
    char text[64];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return PutItem(doc, sectionName, itemName, text, 0);
}

// The stored value for a typed get: 1 with *text set, 0 when the item is missing or blank,
// -65 for a null document or output.
int valueForConversion(IniDocument *doc, const char *sectionName, const char *itemName,
                       const void *output, char **text) {
    if (!doc || !output) {
        return kIniNullArgument;
    }
    if (GetItem(doc, sectionName, itemName, text) != 1 || *skipWhite(*text) == '\0') {
        return 0;
    }
    return 1;
}

// Unescapes the stored value into the document's string buffer, grown in blocks of 1024.
int unescapeIntoStringBuffer(IniDocument *doc, const char *raw, char **result) {
    const int length = static_cast<int>(std::strlen(raw));
    const int needed = ((length + 1) / 1024 + 1) * 1024;
    if (GetHandleSize(doc->stringBuffer) < needed && !SetHandleSize(doc->stringBuffer, needed)) {
        return kIniOutOfMemory;
    }
    char *buffer = static_cast<char *>(*doc->stringBuffer);
    unescapeInto(buffer, raw);
    *result = buffer;
    return 1;
}

} // namespace

char *EscapeString(const char *text) {
    if (!text) {
        return nullptr;
    }
    const size_t length = std::strlen(text);
    char *out = static_cast<char *>(tbMalloc(4 * length + 1));
    if (!out) {
        return nullptr;
    }
    char *o = out;
    for (const char *p = text; *p;) {
        const char *next = mbsInc(p);
        const unsigned char c = static_cast<unsigned char>(*p);
        if (next - p == 2) {
            *o++ = p[0];
            *o++ = p[1];
        } else if (c == '"' || c == '\\') {
            *o++ = '\\';
            *o++ = static_cast<char>(c);
        } else if (c == '\t') {
            *o++ = '\\';
            *o++ = 't';
        } else if (c == '\n') {
            *o++ = '\\';
            *o++ = 'n';
        } else if (c == '\r') {
            *o++ = '\\';
            *o++ = 'r';
        } else if (isControl(c)) {
            o += std::snprintf(o, 5, "\\x%02x", c);
        } else {
            *o++ = static_cast<char>(c);
        }
        p = next;
    }
    *o = '\0';
    return out;
}

char *UnescapeString(const char *text) {
    if (!text) {
        return nullptr;
    }
    char *out = static_cast<char *>(tbMalloc(std::strlen(text) + 1));
    if (out) {
        unescapeInto(out, text);
    }
    return out;
}

int Ini_PutInt(IniDocument *doc, const char *sectionName, const char *itemName, int value) {
    return putFormatted(doc, sectionName, itemName, "%d", value);
}

int Ini_PutUInt(IniDocument *doc, const char *sectionName, const char *itemName,
                unsigned int value) {
    return putFormatted(doc, sectionName, itemName, "%u", value);
}

int Ini_PutDouble(IniDocument *doc, const char *sectionName, const char *itemName, double value) {
    return putFormatted(doc, sectionName, itemName, "%.16g", value);
}

int Ini_PutBoolean(IniDocument *doc, const char *sectionName, const char *itemName, int value) {
    return putFormatted(doc, sectionName, itemName, "%s", value ? "True" : "False");
}

int Ini_PutRawString(IniDocument *doc, const char *sectionName, const char *itemName,
                     const char *value) {
    if (!doc) {
        return kIniNullArgument;
    }
    return PutItem(doc, sectionName, itemName, value ? value : "", 1);
}

int Ini_PutString(IniDocument *doc, const char *sectionName, const char *itemName,
                  const char *value) {
    if (!doc) {
        return kIniNullArgument;
    }
    char *escaped = EscapeString(value ? value : "");
    if (!escaped) {
        return kIniOutOfMemory;
    }
    const int result = Ini_PutRawString(doc, sectionName, itemName, escaped);
    std::free(escaped);
    return result;
}

int Ini_PutData(IniDocument *doc, const char *sectionName, const char *itemName, const void *data,
                int size) {
    if (!doc) {
        return kIniNullArgument;
    }
    char *text = ConvertDataToText(data, size);
    if (!text) {
        return kIniOutOfMemory;
    }
    const int result = Ini_PutRawString(doc, sectionName, itemName, text);
    std::free(text);
    return result;
}

int Ini_GetInt(IniDocument *doc, const char *sectionName, const char *itemName, int *value) {
    char *text = nullptr;
    const int found = valueForConversion(doc, sectionName, itemName, value, &text);
    if (found != 1) {
        return found;
    }
    return StrToInt(text, value) ? 1 : kIniInvalidInteger;
}

int Ini_GetUInt(IniDocument *doc, const char *sectionName, const char *itemName,
                unsigned int *value) {
    char *text = nullptr;
    const int found = valueForConversion(doc, sectionName, itemName, value, &text);
    if (found != 1) {
        return found;
    }
    return StrToUInt(text, value) ? 1 : kIniInvalidUnsigned;
}

int Ini_GetDouble(IniDocument *doc, const char *sectionName, const char *itemName, double *value) {
    char *text = nullptr;
    const int found = valueForConversion(doc, sectionName, itemName, value, &text);
    if (found != 1) {
        return found;
    }
    if (StrICmp(text, "Inf") == 0 || StrICmp(text, "+Inf") == 0) {
        *value = HUGE_VAL;
        return 1;
    }
    if (StrICmp(text, "-Inf") == 0) {
        *value = -HUGE_VAL;
        return 1;
    }
    errno = 0;
    char *end = nullptr;
    *value = std::strtod(text, &end);
    return (errno == 0 && end && *end == '\0') ? 1 : kIniInvalidDouble;
}

int Ini_GetBoolean(IniDocument *doc, const char *sectionName, const char *itemName, int *value) {
    char *text = nullptr;
    const int found = valueForConversion(doc, sectionName, itemName, value, &text);
    if (found != 1) {
        return found;
    }
    if (StrICmp(text, "True") == 0) {
        *value = 1;
        return 1;
    }
    if (StrICmp(text, "False") == 0) {
        *value = 0;
        return 1;
    }
    return kIniInvalidBoolean;
}

int Ini_GetPointerToRawString(IniDocument *doc, const char *sectionName, const char *itemName,
                              char **value) {
    if (!doc) {
        return kIniNullArgument;
    }
    if (!value) {
        return kIniNullArgument;
    }
    return GetItem(doc, sectionName, itemName, value);
}

int Ini_GetPointerToString(IniDocument *doc, const char *sectionName, const char *itemName,
                           char **value) {
    if (!doc || !value) {
        return kIniNullArgument;
    }
    char *raw = nullptr;
    if (GetItem(doc, sectionName, itemName, &raw) != 1) {
        *value = nullptr;
        return 0;
    }
    *value = nullptr;
    return unescapeIntoStringBuffer(doc, raw, value);
}

namespace {

// The item's value as a new string made by `copy` (unescaped or raw): 1, 0 when there is no
// such item (*value null), or an ini code.
int copyItem(IniDocument *doc, const char *sectionName, const char *itemName, char **value,
             char *(*copy)(const char *)) {
    if (!doc || !value) {
        return kIniNullArgument;
    }
    char *raw = nullptr;
    *value = nullptr;
    if (GetItem(doc, sectionName, itemName, &raw) != 1) {
        return 0;
    }
    *value = copy(raw);
    return *value ? 1 : kIniOutOfMemory;
}

// The item's value copied into the caller's buffer, cut to fit; `unescape` says how it is
// read. 1, 0 when there is no such item (the buffer emptied), or an ini code.
int copyItemIntoBuffer(IniDocument *doc, const char *sectionName, const char *itemName,
                       char *buffer, int bufferSize, bool unescape) {
    if (!doc || !buffer) {
        return kIniNullArgument;
    }
    if (bufferSize > 0) {
        buffer[0] = '\0';
    }
    char *raw = nullptr;
    if (GetItem(doc, sectionName, itemName, &raw) != 1) {
        return 0;
    }
    if (!unescape) {
        StringCopyMax(buffer, raw, bufferSize);
        return 1;
    }
    // Unescaped on the side, not in the document's string buffer: a pointer that
    // Ini_GetPointerToString handed out must stay valid (growing the buffer would move it).
    char *text = UnescapeString(raw);
    if (!text) {
        return kIniOutOfMemory;
    }
    StringCopyMax(buffer, text, bufferSize);
    std::free(text);
    return 1;
}

} // namespace

int Ini_GetStringCopy(IniDocument *doc, const char *sectionName, const char *itemName,
                      char **value) {
    return copyItem(doc, sectionName, itemName, value, UnescapeString);
}

int Ini_GetRawStringCopy(IniDocument *doc, const char *sectionName, const char *itemName,
                         char **value) {
    return copyItem(doc, sectionName, itemName, value, StrDup);
}

int Ini_GetStringIntoBuffer(IniDocument *doc, const char *sectionName, const char *itemName,
                            char *buffer, int bufferSize) {
    return copyItemIntoBuffer(doc, sectionName, itemName, buffer, bufferSize, true);
}

int Ini_GetRawStringIntoBuffer(IniDocument *doc, const char *sectionName, const char *itemName,
                               char *buffer, int bufferSize) {
    return copyItemIntoBuffer(doc, sectionName, itemName, buffer, bufferSize, false);
}

int Ini_GetData(IniDocument *doc, const char *sectionName, const char *itemName, void **data,
                int *size) {
    if (!doc || !data || !size) {
        return kIniNullArgument;
    }
    char *raw = nullptr;
    if (GetItem(doc, sectionName, itemName, &raw) != 1) {
        return 0;
    }
    return ConvertTextToData(raw, data, size) ? 1 : kIniOutOfMemory;
}
