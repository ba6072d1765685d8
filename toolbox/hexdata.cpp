// Hex text of data blocks.

#include "toolbox/toolbox.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

} // namespace

char *ConvertDataToText(const void *data, int size) {
    if (size < 0 || (!data && size > 0)) {
        return nullptr;
    }
    const std::size_t bytes = static_cast<std::size_t>(size);
    char *text = static_cast<char *>(tbMalloc(2 * bytes + 1));
    if (!text) {
        return nullptr;
    }
    const auto *in = static_cast<const unsigned char *>(data);
    for (std::size_t i = 0; i < bytes; ++i) {
        text[2 * i] = kHexDigits[in[i] >> 4];
        text[2 * i + 1] = kHexDigits[in[i] & 0x0F];
    }
    text[2 * bytes] = '\0';
    return text;
}

int ConvertTextToData(const char *text, void **data, int *size) {
    if (!text || !data || !size) {
        return 0;
    }
    const std::size_t length = std::strlen(text);
    if (length % 2 != 0 || length / 2 > static_cast<std::size_t>(__INT_MAX__)) {
        return 0;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (hexValue(text[i]) < 0) {
            return 0;
        }
    }
    const std::size_t bytes = length / 2;
    if (bytes == 0) {
        *data = nullptr;
        *size = 0;
        return 1;
    }
    auto *out = static_cast<unsigned char *>(tbMalloc(bytes));
    if (!out) {
        return 0;
    }
    for (std::size_t i = 0; i < bytes; ++i) {
        out[i] = static_cast<unsigned char>(hexValue(text[2 * i]) * 16 + hexValue(text[2 * i + 1]));
    }
    *data = out;
    *size = static_cast<int>(bytes);
    return 1;
}
