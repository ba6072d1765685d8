// Fuzz target: arbitrary bytes through the one parser (Ini_ReadGeneric over a LineFile), then
// lookups, internal sorting, removal and writing of whatever document came out.
//
// The first byte picks the document's modes and the double-byte stepping; the rest is the text.

#include "inifile/inifile.h"
#include "toolbox/toolbox.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

struct Bytes {
    const uint8_t *data;
    size_t size;
    size_t offset;
    size_t chunk;
};

int readBytes(void *sourceData, int maxBytes, int *bytesRead, void *buffer) {
    auto *source = static_cast<Bytes *>(sourceData);
    size_t n = source->size - source->offset;
    if (n > static_cast<size_t>(maxBytes)) {
        n = static_cast<size_t>(maxBytes);
    }
    if (n > source->chunk) {
        n = source->chunk;
    }
    std::memcpy(buffer, source->data + source->offset, n);
    source->offset += n;
    *bytesRead = static_cast<int>(n);
    return 0;
}

int countLine(void *callbackData, const char *line) {
    *static_cast<size_t *>(callbackData) += std::strlen(line) + 2;
    return 0;
}

int keepOdd(IniDocument *, void *, const char *name) {
    return std::strlen(name) % 2;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const uint8_t mode = size > 0 ? data[0] : 0;
    if (size > 0) {
        ++data;
        --size;
    }
    static const LeadByteRange kShiftJis[] = {{0x81, 0x9F}, {0xE0, 0xFC}};
    setLeadByteRanges((mode & 4) ? kShiftJis : nullptr, (mode & 4) ? 2 : 0);

    IniDocument *doc = Ini_New(mode & 1);
    if (!doc) {
        return 0;
    }
    if (mode & 2) {
        Ini_SortInternally(doc);
    }
    if (mode & 8) {
        Ini_SetTokens(doc, '<', '>', ":=", "#");
    }
    if (mode & 16) {
        Ini_SetSectionFilter(doc, keepOdd, nullptr);
    }
    Bytes bytes{data, size, 0, (mode & 32) ? 7u : 2048u};
    LineFile *lineFile = LineFile_New(readBytes, &bytes);
    if (lineFile) {
        Ini_ReadGeneric(doc, ReadLineFromLineFile, lineFile);
        LineFile_Dispose(lineFile);
    }

    // Every name found must be found again by lookup, through every typed get.
    char *sectionName = nullptr;
    for (int s = 1; Ini_NthSectionName(doc, s, &sectionName) == 1; ++s) {
        const std::string section = sectionName;
        char *itemName = nullptr;
        for (int i = 1; Ini_NthItemName(doc, section.c_str(), i, &itemName) == 1; ++i) {
            const std::string item = itemName;
            int number = 0;
            unsigned int unsignedNumber = 0;
            double real = 0;
            char *text = nullptr;
            char buffer[16];
            if (Ini_ItemExists(doc, section.c_str(), item.c_str()) != 1) {
                __builtin_trap();
            }
            Ini_GetInt(doc, section.c_str(), item.c_str(), &number);
            Ini_GetUInt(doc, section.c_str(), item.c_str(), &unsignedNumber);
            Ini_GetDouble(doc, section.c_str(), item.c_str(), &real);
            Ini_GetBoolean(doc, section.c_str(), item.c_str(), &number);
            Ini_GetPointerToString(doc, section.c_str(), item.c_str(), &text);
            Ini_GetStringIntoBuffer(doc, section.c_str(), item.c_str(), buffer, sizeof buffer);
            void *block = nullptr;
            int blockSize = 0;
            if (Ini_GetData(doc, section.c_str(), item.c_str(), &block, &blockSize) == 1) {
                free(block);
            }
        }
    }
    size_t written = 0;
    Ini_WriteGeneric(doc, countLine, &written);
    if (mode & 64) {
        Ini_Sort(doc);
        Ini_PutInt(doc, "fuzz", "value", static_cast<int>(written));
        if (Ini_NthSectionName(doc, 1, &sectionName) == 1) {
            const std::string first = sectionName;
            Ini_RemoveSection(doc, first.c_str());
        }
    }
    Ini_Dispose(doc);
    setLeadByteRanges(nullptr, 0);
    return 0;
}
