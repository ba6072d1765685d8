// Helpers shared by the ini tests: documents read from and written to strings, a snapshot of
// a document's structure for comparisons, and files in scratch directories.
#pragma once

#include "inifile/inifile.h"
#include "platform/tests/scratch_dir.h"

#include <string>
#include <vector>

namespace ini_test {

struct ItemSnapshot {
    std::string name;
    std::string value;
    int lineNumber;
    int quoted;
    bool operator==(const ItemSnapshot &other) const {
        return name == other.name && value == other.value && quoted == other.quoted;
    }
};

struct SectionSnapshot {
    std::string name;
    std::vector<ItemSnapshot> items;
    bool operator==(const SectionSnapshot &other) const = default;
};

using DocumentSnapshot = std::vector<SectionSnapshot>;

// The sections and items of the document in list order.
DocumentSnapshot snapshot(IniDocument *doc);
// Readable form for failure messages.
std::string describe(const DocumentSnapshot &document);

// Feeds text to Ini_ReadGeneric through a LineFile whose byte source hands out at most
// chunkSize bytes per call (to cross buffer boundaries at awkward places).
int readString(IniDocument *doc, const std::string &text, int chunkSize = 2048);
// Ini_WriteGeneric into a string, each line ended by CR LF as in a file.
std::string writeString(IniDocument *doc);

void writeFileContents(const std::string &path, const std::string &bytes);
bool fileExists(const std::string &path);
// Names in a directory except "." and "..", sorted.
std::vector<std::string> directoryEntries(const std::string &directory);

} // namespace ini_test
