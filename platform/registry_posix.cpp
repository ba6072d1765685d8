// The registry as an in-memory tree of keys, with dynamic keys whose values a provider
// supplies at each query (Linux has no registry of its own).

#include "platform/registry.h"
#include "platform/registry_internal.h"
#include "platform/testing/registry_testing.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <strings.h>

using platform::detail::copyRegistryData;
using platform::detail::copyRegistryName;

namespace {

struct CaseInsensitiveLess {
    bool operator()(const std::string &a, const std::string &b) const {
        return ::strcasecmp(a.c_str(), b.c_str()) < 0;
    }
};

struct Value {
    std::string name;
    unsigned int type = REG_NONE;
    std::string data; // raw bytes
};

struct Key {
    std::map<std::string, std::unique_ptr<Key>, CaseInsensitiveLess> subKeys;
    std::vector<Value> values;
    RegValueProvider provider;
    bool denied = false;
};

constexpr int kRootCount = 6;
Key gRoots[kRootCount];

Key *rootOf(int rootKey) {
    if (rootKey < 0 || rootKey >= kRootCount || rootKey == 4) {
        return nullptr;
    }
    return &gRoots[rootKey];
}

// Path components between backslashes; empty components (doubled, leading or trailing
// backslashes) are skipped, so "" and null name the root itself.
std::vector<std::string> splitPath(const char *path) {
    std::vector<std::string> parts;
    if (!path) {
        return parts;
    }
    const char *start = path;
    for (const char *p = path;; ++p) {
        if (*p == '\\' || *p == '\0') {
            if (p > start) {
                parts.emplace_back(start, static_cast<size_t>(p - start));
            }
            if (*p == '\0') {
                break;
            }
            start = p + 1;
        }
    }
    return parts;
}

// Finds (or with create, makes) the key; result code in *result.
Key *lookUp(int rootKey, const char *subKey, bool create, int *result) {
    Key *key = rootOf(rootKey);
    if (!key) {
        *result = kRegFailure;
        return nullptr;
    }
    for (const std::string &part : splitPath(subKey)) {
        if (key->denied) {
            *result = kRegAccessDenied;
            return nullptr;
        }
        auto found = key->subKeys.find(part);
        if (found == key->subKeys.end()) {
            if (!create) {
                *result = kRegNotFound;
                return nullptr;
            }
            found = key->subKeys.emplace(part, std::make_unique<Key>()).first;
        }
        key = found->second.get();
    }
    if (key->denied) {
        *result = kRegAccessDenied;
        return nullptr;
    }
    *result = kRegOk;
    return key;
}

// The key a value is written to or deleted from: null, with the code in *result, when it is
// missing or dynamic (its values are the system's, not ours to change).
Key *keyToChange(int rootKey, const char *subKey, int *result) {
    Key *key = lookUp(rootKey, subKey, false, result);
    if (key && key->provider) {
        *result = kRegAccessDenied;
        return nullptr;
    }
    return key;
}

// The value of that name (case does not matter, as on Windows), or end.
template <typename Values> auto findValue(Values &values, const char *name) {
    return std::find_if(values.begin(), values.end(), [name](const Value &value) {
        return ::strcasecmp(value.name.c_str(), name) == 0;
    });
}

// The key's values as they stand now: a dynamic key asks its provider.
std::vector<Value> currentValues(const Key &key) {
    if (!key.provider) {
        return key.values;
    }
    std::vector<Value> values;
    for (const auto &[name, text] : key.provider()) {
        values.push_back(Value{name, REG_SZ, std::string(text.c_str(), text.size() + 1)});
    }
    return values;
}

// Runs a registry operation, turning a lack of memory into its result code; a provider of a
// dynamic key that fails in any other way makes the query fail, not the caller.
template <typename Operation> int guarded(Operation operation) {
    try {
        return operation();
    } catch (const std::bad_alloc &) {
        return kRegOutOfMemory;
    } catch (...) {
        return kRegFailure;
    }
}

// Runs `operation` on the key, guarded; the lookup's code when there is no such key. `change`:
// the key is one whose values are written or deleted (keyToChange).
template <typename Operation>
int onKey(int rootKey, const char *subKey, Operation operation, bool change = false) {
    return guarded([&] {
        int result = kRegOk;
        Key *key = change ? keyToChange(rootKey, subKey, &result)
                          : lookUp(rootKey, subKey, false, &result);
        return key ? operation(*key) : result;
    });
}

} // namespace

int RegQueryInfoOnKey(int rootKey, const char *subKey, unsigned int *numberOfSubKeys,
                      unsigned int *numberOfValues, unsigned int *maxSubKeyLen,
                      unsigned int *maxValueNameLen, unsigned int *maxValueDataLen) {
    return onKey(rootKey, subKey, [&](const Key &key) {
        const std::vector<Value> values = currentValues(key);
        unsigned int longestSubKey = 0;
        for (const auto &entry : key.subKeys) {
            longestSubKey = std::max(longestSubKey, static_cast<unsigned int>(entry.first.size()));
        }
        unsigned int longestName = 0;
        unsigned int longestData = 0;
        for (const Value &value : values) {
            longestName = std::max(longestName, static_cast<unsigned int>(value.name.size()));
            longestData = std::max(longestData, static_cast<unsigned int>(value.data.size()));
        }
        if (numberOfSubKeys) {
            *numberOfSubKeys = static_cast<unsigned int>(key.subKeys.size());
        }
        if (numberOfValues) {
            *numberOfValues = static_cast<unsigned int>(values.size());
        }
        if (maxSubKeyLen) {
            *maxSubKeyLen = longestSubKey;
        }
        if (maxValueNameLen) {
            *maxValueNameLen = longestName;
        }
        if (maxValueDataLen) {
            *maxValueDataLen = longestData;
        }
        return kRegOk;
    });
}

int RegEnumerateValue(int rootKey, const char *subKey, unsigned int valueIndex, char *valueName,
                      unsigned int *valueNameLength, void *valueData, unsigned int *valueDataSize,
                      unsigned int *valueType) {
    return onKey(rootKey, subKey, [&](const Key &key) {
        const std::vector<Value> values = currentValues(key);
        if (valueIndex >= values.size()) {
            return kRegNoMoreData;
        }
        const Value &value = values[valueIndex];
        int result = copyRegistryName(value.name, valueName, valueNameLength);
        if (result == kRegOk) {
            result = copyRegistryData(value.data, value.type, valueData, valueDataSize, valueType);
        }
        return result;
    });
}

int RegEnumerateSubKey(int rootKey, const char *subKey, unsigned int subKeyIndex, char *name,
                       unsigned int *nameLength) {
    return onKey(rootKey, subKey, [&](const Key &key) {
        if (subKeyIndex >= key.subKeys.size()) {
            return kRegNoMoreData;
        }
        auto entry = key.subKeys.begin();
        std::advance(entry, subKeyIndex);
        return copyRegistryName(entry->first, name, nameLength);
    });
}

int RegKeyExists(int rootKey, const char *subKey) {
    return guarded([&] {
               int result = kRegOk;
               return lookUp(rootKey, subKey, false, &result) ? 1 : 0;
           }) == 1
               ? 1
               : 0;
}

int RegCreateKey(int rootKey, const char *subKey) {
    return guarded([&] {
        int result = kRegOk;
        lookUp(rootKey, subKey, true, &result);
        return result;
    });
}

int RegDeleteSubKeys(int rootKey, const char *subKey) {
    return onKey(rootKey, subKey, [&](Key &key) {
        for (const auto &entry : key.subKeys) {
            if (entry.second->denied) {
                return kRegAccessDenied;
            }
        }
        key.subKeys.clear();
        return kRegOk;
    });
}

int RegDeleteKey(int rootKey, const char *subKey) {
    return guarded([&] {
        std::vector<std::string> parts = splitPath(subKey);
        if (parts.empty()) {
            // A root key cannot be deleted.
            return rootOf(rootKey) ? kRegAccessDenied : kRegFailure;
        }
        const std::string last = parts.back();
        parts.pop_back();
        std::string parentPath;
        for (const std::string &part : parts) {
            parentPath += part + "\\";
        }
        int result = kRegOk;
        Key *parent = lookUp(rootKey, parentPath.c_str(), false, &result);
        if (!parent) {
            return result;
        }
        auto found = parent->subKeys.find(last);
        if (found == parent->subKeys.end()) {
            return kRegNotFound;
        }
        if (found->second->denied) {
            return kRegAccessDenied;
        }
        parent->subKeys.erase(found);
        return kRegOk;
    });
}

int RegWriteValue(int rootKey, const char *subKey, const char *valueName, unsigned int type,
                  const void *data, unsigned int size) {
    if (!data && size > 0) {
        return kRegNullArgument;
    }
    return onKey(
        rootKey, subKey,
        [&](Key &key) {
            const char *name = valueName ? valueName : "";
            std::string bytes(static_cast<const char *>(data), size);
            if (auto value = findValue(key.values, name); value != key.values.end()) {
                value->type = type;
                value->data = std::move(bytes);
            } else {
                key.values.push_back(Value{name, type, std::move(bytes)});
            }
            return kRegOk;
        },
        true);
}

int RegReadValue(int rootKey, const char *subKey, const char *valueName, unsigned int *type,
                 void *data, unsigned int *size) {
    return onKey(rootKey, subKey, [&](const Key &key) {
        const std::vector<Value> values = currentValues(key);
        if (auto value = findValue(values, valueName ? valueName : ""); value != values.end()) {
            return copyRegistryData(value->data, value->type, data, size, type);
        }
        return kRegNotFound;
    });
}

int RegDeleteValue(int rootKey, const char *subKey, const char *valueName) {
    return onKey(
        rootKey, subKey,
        [&](Key &key) {
            auto value = findValue(key.values, valueName ? valueName : "");
            if (value == key.values.end()) {
                return kRegNotFound;
            }
            key.values.erase(value);
            return kRegOk;
        },
        true);
}

void registerDynamicKey(int rootKey, const char *subKey, RegValueProvider provider) {
    int result = kRegOk;
    if (Key *key = lookUp(rootKey, subKey, true, &result)) {
        key->provider = std::move(provider);
    }
}

void regResetForTesting() {
    for (Key &root : gRoots) {
        root = Key{};
    }
}

void regDenyAccessForTesting(int rootKey, const char *subKey, bool denied) {
    Key *key = rootOf(rootKey);
    if (!key) {
        return;
    }
    for (const std::string &part : splitPath(subKey)) {
        auto found = key->subKeys.find(part);
        if (found == key->subKeys.end()) {
            found = key->subKeys.emplace(part, std::make_unique<Key>()).first;
        }
        key = found->second.get();
    }
    key->denied = denied;
}
