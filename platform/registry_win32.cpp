// The registry operations on the Windows registry, through the system's wide functions.

// <windows.h> defines HKEY_CURRENT_USER, REG_SZ, RegCreateKey, RegDeleteKey and RegDeleteValue
// as macros, which would rename this layer's own names. It is included first, the system's
// root keys are taken from it, and those macros are removed before registry.h.
#include <windows.h>

namespace {

// The system's root key for a root-key number of registry.h, or null.
HKEY systemRootKey(int rootKey) {
    switch (rootKey) {
    case 0:
        return HKEY_CLASSES_ROOT;
    case 1:
        return HKEY_CURRENT_USER;
    case 2:
        return HKEY_LOCAL_MACHINE;
    case 3:
        return HKEY_USERS;
    case 5:
        return HKEY_CURRENT_CONFIG;
    default:
        return nullptr;
    }
}

} // namespace

#undef HKEY_CLASSES_ROOT
#undef HKEY_CURRENT_USER
#undef HKEY_LOCAL_MACHINE
#undef HKEY_USERS
#undef HKEY_CURRENT_CONFIG
#undef REG_NONE
#undef REG_SZ
#undef REG_EXPAND_SZ
#undef REG_BINARY
#undef REG_DWORD
#undef REG_MULTI_SZ
#undef RegCreateKey
#undef RegDeleteKey
#undef RegDeleteValue

#include "platform/registry.h"
#include "platform/registry_internal.h"
#include "platform/win32.h"

#include <algorithm>
#include <string>
#include <vector>

static_assert(HKEY_CLASSES_ROOT == 0 && HKEY_CURRENT_USER == 1 && HKEY_LOCAL_MACHINE == 2 &&
                  HKEY_USERS == 3 && HKEY_CURRENT_CONFIG == 5,
              "the root-key numbers of registry.h are those of systemRootKey");

namespace win32 = platform::win32;
using platform::detail::copyRegistryData;
using platform::detail::copyRegistryName;

namespace {

int resultFor(LSTATUS status) {
    switch (status) {
    case ERROR_SUCCESS:
        return kRegOk;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return kRegNotFound;
    case ERROR_ACCESS_DENIED:
        return kRegAccessDenied;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return kRegOutOfMemory;
    case ERROR_NO_MORE_ITEMS:
        return kRegNoMoreData;
    default:
        return kRegFailure;
    }
}

// An open key, closed with the object.
class Key {
public:
    Key() = default;
    ~Key() {
        if (handle)
            RegCloseKey(handle);
    }
    Key(const Key &) = delete;
    Key &operator=(const Key &) = delete;

    // Opens subKey (null or empty: the root itself) with the access asked for.
    int open(int rootKey, const char *subKey, REGSAM access) {
        const HKEY root = systemRootKey(rootKey);
        if (!root)
            return kRegFailure;
        const std::wstring path = win32::wide(subKey ? subKey : "");
        return resultFor(RegOpenKeyExW(root, path.c_str(), 0, access, &handle));
    }

    HKEY get() const { return handle; }

private:
    HKEY handle = nullptr;
};

bool isText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The value's data as this layer hands it out: text as UTF-8 (each stored zero, the
// terminating one included, stays a zero), everything else as stored.
std::string dataOut(DWORD type, const std::vector<unsigned char> &stored, DWORD size) {
    if (!isText(type))
        return std::string(reinterpret_cast<const char *>(stored.data()), size);
    return win32::utf8(reinterpret_cast<const wchar_t *>(stored.data()), size / sizeof(wchar_t));
}

// The value's data as the system stores it: text as UTF-16 (with its zeros).
std::vector<unsigned char> dataIn(unsigned int type, const void *data, unsigned int size) {
    const auto *bytes = static_cast<const unsigned char *>(data);
    if (!isText(type))
        return std::vector<unsigned char>(bytes, bytes + size);
    const std::wstring text = win32::wide(static_cast<const char *>(data), size);
    const auto *wideBytes = reinterpret_cast<const unsigned char *>(text.data());
    return std::vector<unsigned char>(wideBytes, wideBytes + text.size() * sizeof(wchar_t));
}

struct ValueRead {
    std::string name;
    DWORD type = REG_NONE;
    std::string data;
};

// Value number index of an open key. Sizes may grow between the query and the read when
// another program writes meanwhile; the read is then repeated with the new sizes.
int readValueAt(HKEY key, DWORD index, ValueRead *value) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD maxName = 0;
        DWORD maxData = 0;
        LSTATUS status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                          nullptr, &maxName, &maxData, nullptr, nullptr);
        if (status != ERROR_SUCCESS)
            return resultFor(status);
        std::wstring name(maxName + 1, L'\0');
        std::vector<unsigned char> data(maxData + sizeof(wchar_t));
        DWORD nameLength = maxName + 1;
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        status = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(),
                               &dataSize);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            return resultFor(status);
        value->name = win32::utf8(name.data(), nameLength);
        value->type = type;
        value->data = dataOut(type, data, dataSize);
        return kRegOk;
    }
    return kRegFailure;
}

int readNamedValue(HKEY key, const char *valueName, ValueRead *value) {
    const std::wstring name = win32::wide(valueName ? valueName : "");
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        DWORD type = REG_NONE;
        LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS)
            return resultFor(status);
        std::vector<unsigned char> data(size + sizeof(wchar_t));
        DWORD read = static_cast<DWORD>(data.size());
        status = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &read);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            return resultFor(status);
        value->type = type;
        value->data = dataOut(type, data, read);
        return kRegOk;
    }
    return kRegFailure;
}

std::string subKeyAt(HKEY key, DWORD index, int *result) {
    DWORD maxLength = 0;
    LSTATUS status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &maxLength, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) {
        *result = resultFor(status);
        return {};
    }
    std::wstring name(maxLength + 1, L'\0');
    DWORD length = maxLength + 1;
    status = RegEnumKeyExW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    *result = resultFor(status);
    return status == ERROR_SUCCESS ? win32::utf8(name.data(), length) : std::string();
}

// Splits "a\b\c" into the parent "a\b" and the last name "c" (empty components skipped).
bool splitLast(const char *subKey, std::string *parent, std::string *last) {
    std::string path = subKey ? subKey : "";
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    const size_t slash = path.find_last_of('\\');
    *last = slash == std::string::npos ? path : path.substr(slash + 1);
    *parent = slash == std::string::npos ? std::string() : path.substr(0, slash);
    return !last->empty();
}

} // namespace

int RegQueryInfoOnKey(int rootKey, const char *subKey, unsigned int *numberOfSubKeys,
                      unsigned int *numberOfValues, unsigned int *maxSubKeyLen,
                      unsigned int *maxValueNameLen, unsigned int *maxValueDataLen) {
    Key key;
    int result = key.open(rootKey, subKey, KEY_READ);
    if (result != kRegOk)
        return result;
    DWORD subKeys = 0;
    DWORD values = 0;
    LSTATUS status = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr,
                                      nullptr, &values, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS)
        return resultFor(status);
    // The system counts UTF-16 units; the lengths of this interface are those of the UTF-8
    // form, found by reading the names and values themselves.
    unsigned int longestSubKey = 0;
    if (maxSubKeyLen) {
        for (DWORD i = 0; i < subKeys; ++i) {
            const std::string name = subKeyAt(key.get(), i, &result);
            if (result == kRegNoMoreData)
                break;
            if (result != kRegOk)
                return result;
            longestSubKey = std::max(longestSubKey, static_cast<unsigned int>(name.size()));
        }
    }
    unsigned int longestName = 0;
    unsigned int longestData = 0;
    if (maxValueNameLen || maxValueDataLen) {
        for (DWORD i = 0; i < values; ++i) {
            ValueRead value;
            result = readValueAt(key.get(), i, &value);
            if (result == kRegNoMoreData)
                break;
            if (result != kRegOk)
                return result;
            longestName = std::max(longestName, static_cast<unsigned int>(value.name.size()));
            longestData = std::max(longestData, static_cast<unsigned int>(value.data.size()));
        }
    }
    if (numberOfSubKeys)
        *numberOfSubKeys = subKeys;
    if (numberOfValues)
        *numberOfValues = values;
    if (maxSubKeyLen)
        *maxSubKeyLen = longestSubKey;
    if (maxValueNameLen)
        *maxValueNameLen = longestName;
    if (maxValueDataLen)
        *maxValueDataLen = longestData;
    return kRegOk;
}

int RegEnumerateValue(int rootKey, const char *subKey, unsigned int valueIndex, char *valueName,
                      unsigned int *valueNameLength, void *valueData, unsigned int *valueDataSize,
                      unsigned int *valueType) {
    Key key;
    int result = key.open(rootKey, subKey, KEY_QUERY_VALUE);
    if (result != kRegOk)
        return result;
    ValueRead value;
    result = readValueAt(key.get(), valueIndex, &value);
    if (result != kRegOk)
        return result;
    result = copyRegistryName(value.name, valueName, valueNameLength);
    if (result == kRegOk)
        result = copyRegistryData(value.data, value.type, valueData, valueDataSize, valueType);
    return result;
}

int RegEnumerateSubKey(int rootKey, const char *subKey, unsigned int subKeyIndex, char *name,
                       unsigned int *nameLength) {
    Key key;
    int result = key.open(rootKey, subKey, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE);
    if (result != kRegOk)
        return result;
    const std::string found = subKeyAt(key.get(), subKeyIndex, &result);
    if (result != kRegOk)
        return result;
    return copyRegistryName(found, name, nameLength);
}

int RegKeyExists(int rootKey, const char *subKey) {
    if (!subKey)
        return 0;
    Key key;
    return key.open(rootKey, subKey, KEY_QUERY_VALUE) == kRegOk ? 1 : 0;
}

int RegCreateKey(int rootKey, const char *subKey) {
    const HKEY root = systemRootKey(rootKey);
    if (!root)
        return kRegFailure;
    const std::wstring path = win32::wide(subKey ? subKey : "");
    HKEY created = nullptr;
    const LSTATUS status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_QUERY_VALUE, nullptr, &created, nullptr);
    if (status == ERROR_SUCCESS)
        RegCloseKey(created);
    return resultFor(status);
}

int RegDeleteSubKeys(int rootKey, const char *subKey) {
    Key key;
    int result = key.open(rootKey, subKey, KEY_READ | KEY_WRITE | DELETE);
    if (result != kRegOk)
        return result;
    // The names first: deleting while enumerating would shift the indexes.
    std::vector<std::wstring> names;
    for (DWORD i = 0;; ++i) {
        const std::string name = subKeyAt(key.get(), i, &result);
        if (result == kRegNoMoreData)
            break;
        if (result != kRegOk)
            return result;
        names.push_back(win32::wide(name));
    }
    for (const std::wstring &name : names) {
        result = resultFor(RegDeleteTreeW(key.get(), name.c_str()));
        if (result != kRegOk && result != kRegNotFound)
            return result;
    }
    return kRegOk;
}

int RegDeleteKey(int rootKey, const char *subKey) {
    std::string parentPath;
    std::string last;
    if (!splitLast(subKey, &parentPath, &last)) {
        // A root key cannot be deleted.
        return systemRootKey(rootKey) ? kRegAccessDenied : kRegFailure;
    }
    Key parent;
    int result = parent.open(rootKey, parentPath.c_str(), KEY_READ | KEY_WRITE | DELETE);
    if (result != kRegOk)
        return result;
    return resultFor(RegDeleteTreeW(parent.get(), win32::wide(last).c_str()));
}

int RegWriteValue(int rootKey, const char *subKey, const char *valueName, unsigned int type,
                  const void *data, unsigned int size) {
    if (!data && size > 0)
        return kRegNullArgument;
    Key key;
    int result = key.open(rootKey, subKey, KEY_SET_VALUE);
    if (result != kRegOk)
        return result;
    const std::wstring name = win32::wide(valueName ? valueName : "");
    const std::vector<unsigned char> stored = dataIn(type, data, size);
    return resultFor(RegSetValueExW(key.get(), name.c_str(), 0, type, stored.data(),
                                    static_cast<DWORD>(stored.size())));
}

int RegReadValue(int rootKey, const char *subKey, const char *valueName, unsigned int *type,
                 void *data, unsigned int *size) {
    Key key;
    int result = key.open(rootKey, subKey, KEY_QUERY_VALUE);
    if (result != kRegOk)
        return result;
    ValueRead value;
    result = readNamedValue(key.get(), valueName, &value);
    if (result != kRegOk)
        return result;
    return copyRegistryData(value.data, value.type, data, size, type);
}

int RegDeleteValue(int rootKey, const char *subKey, const char *valueName) {
    Key key;
    int result = key.open(rootKey, subKey, KEY_SET_VALUE);
    if (result != kRegOk)
        return result;
    const std::wstring name = win32::wide(valueName ? valueName : "");
    return resultFor(RegDeleteValueW(key.get(), name.c_str()));
}
