// The registry operations that are built on the others, the same on every system.

#include "platform/registry.h"
#include "platform/registry_internal.h"

#include <cstring>

int RegWriteString(int rootKey, const char *subKey, const char *valueName, const char *text) {
    if (!text) {
        return kRegNullArgument;
    }
    return RegWriteValue(rootKey, subKey, valueName, REG_SZ, text,
                         static_cast<unsigned int>(std::strlen(text) + 1));
}

int RegWriteULong(int rootKey, const char *subKey, const char *valueName, unsigned int value) {
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return RegWriteValue(rootKey, subKey, valueName, REG_DWORD, bytes, 4);
}

namespace platform::detail {

int copyRegistryName(const std::string &name, char *buffer, unsigned int *length) {
    if (buffer) {
        if (!length || name.size() + 1 > *length) {
            return kRegFailure;
        }
        std::memcpy(buffer, name.c_str(), name.size() + 1);
    }
    if (length) {
        *length = static_cast<unsigned int>(name.size());
    }
    return kRegOk;
}

int copyRegistryData(const std::string &bytes, unsigned int type, void *data, unsigned int *size,
                     unsigned int *typeOut) {
    if (data) {
        if (!size || bytes.size() > *size) {
            return kRegFailure;
        }
        std::memcpy(data, bytes.data(), bytes.size());
    }
    if (size) {
        *size = static_cast<unsigned int>(bytes.size());
    }
    if (typeOut) {
        *typeOut = type;
    }
    return kRegOk;
}

} // namespace platform::detail
