// The document read from and written to the registry: one subkey per section, one string
// value per item.

#include "inifile/ini_model.h"
#include "platform/registry.h"

#include <cstdlib>
#include <cstring>

using namespace inifile::detail;

namespace {

constexpr int kRootKeys[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};

bool rootKeyFor(int rootKey, int *key) {
    if (rootKey < 0 || rootKey > 3) {
        return false;
    }
    *key = kRootKeys[rootKey];
    return true;
}

// The result for a failure to open the base key.
int openFailure(int registryResult) {
    switch (registryResult) {
    case kRegNotFound:
        return kIniNotFound;
    case kRegAccessDenied:
        return kIniAccessDenied;
    case kRegOutOfMemory:
        return kIniOutOfMemory;
    default:
        return kIniCouldNotOpenFile;
    }
}

int readFailure(int registryResult) {
    return registryResult == kRegOutOfMemory ? kIniOutOfMemory : kIniErrorReadingFile;
}

int writeFailure(int registryResult) {
    switch (registryResult) {
    case kRegAccessDenied:
        return kIniAccessDenied;
    case kRegOutOfMemory:
        return kIniOutOfMemory;
    default:
        return kIniRegistryWriteFailure;
    }
}

// "<base>\<name>" on the heap, or null.
char *subKeyPath(const char *base, const char *name) {
    const size_t baseLength = std::strlen(base);
    const size_t nameLength = std::strlen(name);
    char *path = static_cast<char *>(tbMalloc(baseLength + nameLength + 2));
    if (path) {
        std::memcpy(path, base, baseLength);
        path[baseLength] = '\\';
        std::memcpy(path + baseLength + 1, name, nameLength + 1);
    }
    return path;
}

// One subkey becomes the section named after it, each of its REG_SZ values an item.
int readSubKey(IniDocument *doc, int root, const char *path, const char *sectionName) {
    unsigned int valueCount = 0;
    unsigned int maxNameLength = 0;
    unsigned int maxDataSize = 0;
    int result =
        RegQueryInfoOnKey(root, path, nullptr, &valueCount, nullptr, &maxNameLength, &maxDataSize);
    if (result != kRegOk) {
        return readFailure(result);
    }
    // The subkey is a section even when it holds no string value.
    if (!findOrAddSection(doc, sectionName)) {
        return kIniOutOfMemory;
    }
    char *name = static_cast<char *>(tbMalloc(maxNameLength + 1));
    char *data = static_cast<char *>(tbMalloc(maxDataSize + 1));
    result = (name && data) ? 0 : kIniOutOfMemory;
    for (unsigned int i = 0; i < valueCount && result == 0; ++i) {
        unsigned int nameLength = maxNameLength + 1;
        unsigned int dataSize = maxDataSize;
        unsigned int type = REG_NONE;
        const int enumerated =
            RegEnumerateValue(root, path, i, name, &nameLength, data, &dataSize, &type);
        if (enumerated != kRegOk) {
            result = readFailure(enumerated);
        } else if (type == REG_SZ) {
            // The stored text need not carry its terminator.
            data[dataSize] = '\0';
            result = Ini_PutRawString(doc, sectionName, name, data);
        }
    }
    std::free(name);
    std::free(data);
    return result;
}

} // namespace

int Ini_ReadFromRegistry(IniDocument *doc, int rootKey, const char *baseKeyPath) {
    if (!doc || !baseKeyPath) {
        return kIniNullArgument;
    }
    int root = 0;
    if (!rootKeyFor(rootKey, &root)) {
        return kIniNotFound;
    }
    unsigned int subKeyCount = 0;
    unsigned int maxSubKeyLength = 0;
    int result = RegQueryInfoOnKey(root, baseKeyPath, &subKeyCount, nullptr, &maxSubKeyLength,
                                   nullptr, nullptr);
    if (result != kRegOk) {
        return openFailure(result);
    }
    char *name = static_cast<char *>(tbMalloc(maxSubKeyLength + 1));
    if (!name) {
        return kIniOutOfMemory;
    }
    for (unsigned int i = 0; i < subKeyCount && result == 0; ++i) {
        unsigned int nameLength = maxSubKeyLength + 1;
        const int enumerated = RegEnumerateSubKey(root, baseKeyPath, i, name, &nameLength);
        if (enumerated != kRegOk) {
            result = readFailure(enumerated);
            break;
        }
        char *path = subKeyPath(baseKeyPath, name);
        if (!path) {
            result = kIniOutOfMemory;
            break;
        }
        result = readSubKey(doc, root, path, name);
        std::free(path);
    }
    std::free(name);
    return result;
}

int Ini_WriteToRegistry(IniDocument *doc, int rootKey, const char *baseKeyPath) {
    if (!doc || !baseKeyPath) {
        return kIniNullArgument;
    }
    int root = 0;
    if (!rootKeyFor(rootKey, &root)) {
        return kIniNotFound;
    }
    int result = RegDeleteSubKeys(root, baseKeyPath);
    if (result != kRegOk) {
        return openFailure(result);
    }
    result = RegCreateKey(root, baseKeyPath);
    if (result != kRegOk) {
        return writeFailure(result);
    }
    const int count = ListNumItems(doc->sections);
    for (int i = 1; i <= count; ++i) {
        const IniSection *section = entryAt<IniSection>(doc->sections, i);
        char *path = subKeyPath(baseKeyPath, section->name);
        if (!path) {
            return kIniOutOfMemory;
        }
        result = RegCreateKey(root, path);
        const int items = ListNumItems(section->items);
        for (int j = 1; j <= items && result == kRegOk; ++j) {
            const IniItem *item = entryAt<IniItem>(section->items, j);
            result = RegWriteString(root, path, item->name, item->value);
        }
        std::free(path);
        if (result != kRegOk) {
            return writeFailure(result);
        }
    }
    return 0;
}
