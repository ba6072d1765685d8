#include "inifile/tests/ini_test_support.h"

#include "inifile/ini_model.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace ini_test {

namespace {

struct MemorySource {
    const std::string *text;
    size_t offset;
    int chunkSize;
};

int readMemory(void *sourceData, int maxBytes, int *bytesRead, void *buffer) {
    auto *source = static_cast<MemorySource *>(sourceData);
    const size_t left = source->text->size() - source->offset;
    const size_t n =
        std::min({left, static_cast<size_t>(maxBytes), static_cast<size_t>(source->chunkSize)});
    std::memcpy(buffer, source->text->data() + source->offset, n);
    source->offset += n;
    *bytesRead = static_cast<int>(n);
    return 0;
}

int appendLine(void *callbackData, const char *line) {
    auto *out = static_cast<std::string *>(callbackData);
    out->append(line);
    out->append("\r\n");
    return 0;
}

} // namespace

DocumentSnapshot snapshot(IniDocument *doc) {
    DocumentSnapshot document;
    const int sections = ListNumItems(doc->sections);
    for (int i = 1; i <= sections; ++i) {
        const IniSection *section = inifile::detail::entryAt<IniSection>(doc->sections, i);
        SectionSnapshot entry{section->name, {}};
        const int items = ListNumItems(section->items);
        for (int j = 1; j <= items; ++j) {
            const IniItem *item = inifile::detail::entryAt<IniItem>(section->items, j);
            entry.items.push_back({item->name, item->value, item->lineNumber, item->quoted});
        }
        document.push_back(std::move(entry));
    }
    return document;
}

std::string describe(const DocumentSnapshot &document) {
    std::ostringstream out;
    for (const SectionSnapshot &section : document) {
        out << "[" << section.name << "]\n";
        for (const ItemSnapshot &item : section.items) {
            out << "  <" << item.name << "> = <" << item.value << ">" << (item.quoted ? " q" : "")
                << " @" << item.lineNumber << "\n";
        }
    }
    return out.str();
}

int readString(IniDocument *doc, const std::string &text, int chunkSize) {
    MemorySource source{&text, 0, chunkSize};
    LineFile *lineFile = LineFile_New(readMemory, &source);
    if (!lineFile) {
        return kIniOutOfMemory;
    }
    const int result = Ini_ReadGeneric(doc, ReadLineFromLineFile, lineFile);
    LineFile_Dispose(lineFile);
    return result;
}

std::string writeString(IniDocument *doc) {
    std::string out;
    Ini_WriteGeneric(doc, appendLine, &out);
    return out;
}

void writeFileContents(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool fileExists(const std::string &path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

std::vector<std::string> directoryEntries(const std::string &directory) {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace ini_test
