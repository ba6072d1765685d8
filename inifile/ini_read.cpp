// Reading ini text: the buffered line reader, the line classification, the one parser
// (Ini_ReadGeneric) and the joining of items written in numbered pieces.

#include "inifile/ini_model.h"
#include "inifile/testing/ini_read_testing.h"
#include "platform/files.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace inifile::detail;

namespace {

// The line reader fetches this many bytes at a time.
constexpr int kLineFileBufferSize = 2048;
// Ini_ReadGeneric's line buffer: 255 characters and the terminator.
constexpr int kLineBufferSize = kIniMaxLineChars + 1;
// The UTF-8 byte-order mark that editors on Windows put at the start of a file.
constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";
constexpr size_t kUtf8ByteOrderMarkLength = 3;

// The counts are kept in 64 bits, which no source can exhaust, and handed out as int, the
// type of the interface, stopping at INT_MAX instead of wrapping.
int clampedCount(int64_t count) {
    return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}

void copyRange(char *out, const char *begin, const char *end) {
    const size_t length = static_cast<size_t>(end - begin);
    std::memcpy(out, begin, length);
    out[length] = '\0';
}

// The first occurrence of needle in text that starts on a character boundary.
const char *findOnCharacterBoundary(const char *text, const char *needle, size_t needleLength) {
    if (!isMultibyteMode()) {
        return std::strstr(text, needle);
    }
    for (const char *p = text; *p; p = mbsInc(p)) {
        if (std::strncmp(p, needle, needleLength) == 0) {
            return p;
        }
    }
    return nullptr;
}

// The last occurrence of c in text that is a character of its own (not a trail byte).
const char *findLastCharacter(const char *text, char c) {
    if (!isMultibyteMode()) {
        return std::strrchr(text, c);
    }
    const char *last = nullptr;
    for (const char *p = text; *p; p = mbsInc(p)) {
        if (*p == c) {
            last = p;
        }
    }
    return last;
}

enum LineKind { kComment = 0, kSectionHeader = 1, kItemLine = 2, kUnrecognised = 3 };

int ParseSectionLine(IniDocument *doc, const char *rest, char *sectionName) {
    const char *start = skipWhite(rest);
    const char *close = findLastCharacter(start, doc->sectionEnd);
    if (!close || *skipWhite(close + 1) != '\0') {
        return kUnrecognised;
    }
    const char *end = trimEnd(start, close);
    if (end == start) {
        return kUnrecognised;
    }
    copyRange(sectionName, start, end);
    return kSectionHeader;
}

// Classifies one line (at most 255 characters); the buffers hold 256 bytes each.
int ParseLine(IniDocument *doc, const char *line, char *sectionName, char *itemName, char *value) {
    const char *start = skipWhite(line);
    const size_t markerLength = std::strlen(doc->commentMarker);
    if (markerLength > 0 && std::strncmp(start, doc->commentMarker, markerLength) == 0) {
        return kComment;
    }
    if (*start == doc->sectionStart) {
        return ParseSectionLine(doc, start + 1, sectionName);
    }
    const char *separator =
        findOnCharacterBoundary(start, doc->valueSeparator, doc->separatorLength);
    if (!separator) {
        return kUnrecognised;
    }
    const char *nameEnd = trimEnd(start, separator);
    if (nameEnd == start) {
        return kUnrecognised;
    }
    const char *valueStart = skipWhite(separator + doc->separatorLength);
    if (*valueStart == '\0') {
        return kUnrecognised;
    }
    copyRange(itemName, start, nameEnd);
    copyRange(value, valueStart, trimEnd(valueStart, StringEnd(valueStart)));
    return kItemLine;
}

// Whether the name is a piece "<base> Line<digits>": its number and the base's length.
bool ParseLineSuffix(const char *name, long *number, size_t *baseLength) {
    const char *suffix = findOnCharacterBoundary(name, " Line", 5);
    if (!suffix) {
        return false;
    }
    const char *digits = suffix + 5;
    if (*digits == '\0') {
        return false;
    }
    for (const char *p = digits; *p; ++p) {
        if (!std::isdigit(static_cast<unsigned char>(*p))) {
            return false;
        }
    }
    errno = 0;
    const long value = std::strtol(digits, nullptr, 10);
    if (errno == ERANGE) {
        return false;
    }
    *number = value;
    *baseLength = static_cast<size_t>(suffix - name);
    return true;
}

bool isPiece(const IniItem *item, long *number, size_t *baseLength) {
    return ParseLineSuffix(item->name, number, baseLength);
}

// Joins runs of pieces (a piece numbered 1 and the pieces other than 1 that directly follow
// it) into one item named after the base, in list order.
int JoinMultiLineItems(IniSection *section) {
    int start = 0; // 0-based
    for (;;) {
        const int count = ListNumItems(section->items);
        IniItem **items = entries<IniItem>(section->items);
        long number = 0;
        size_t baseLength = 0;
        int first = start;
        while (first < count && !(isPiece(items[first], &number, &baseLength) && number == 1)) {
            ++first;
        }
        if (first >= count) {
            return 0;
        }
        int last = first + 1; // one past the run
        size_t total = std::strlen(items[first]->value);
        long laterNumber = 0;
        size_t laterBase = 0;
        while (last < count && isPiece(items[last], &laterNumber, &laterBase) && laterNumber != 1) {
            total += std::strlen(items[last]->value);
            ++last;
        }
        char *name = static_cast<char *>(tbMalloc(baseLength + 1));
        char *value = static_cast<char *>(tbMalloc(total + 1));
        if (!name || !value) {
            std::free(name);
            std::free(value);
            return kIniOutOfMemory;
        }
        copyRange(name, items[first]->name, items[first]->name + baseLength);
        char *out = value;
        for (int i = first; i < last; ++i) {
            const size_t length = std::strlen(items[i]->value);
            std::memcpy(out, items[i]->value, length);
            out += length;
        }
        *out = '\0';
        setItemText(items[first], name, value);
        for (int i = first + 1; i < last; ++i) {
            disposeItem(items[i]);
        }
        if (last - first > 1) {
            ListRemoveItems(section->items, nullptr, first + 2, last - first - 1);
        }
        // The renamed and removed items no longer match a name index of this section; the
        // section falls back to list lookups (a read rebuilds the indexes afterwards).
        if (section->itemIndex) {
            ListDispose(section->itemIndex);
            section->itemIndex = nullptr;
        }
        start = first + 1;
    }
}

int readFromStream(void *sourceData, int maxBytes, int *bytesRead, void *buffer) {
    return LineFile_ReadFromFile(static_cast<FILE *>(sourceData), maxBytes, bytesRead, buffer);
}

// The byte source of Ini_ReadFromFile: the file's stream, refused once it has delivered more
// than the limit (the size was checked at the open, but the file may grow while it is read).
struct BoundedStream {
    FILE *stream;
    long long bytesLeft;
};

int readFromBoundedStream(void *sourceData, int maxBytes, int *bytesRead, void *buffer) {
    auto *source = static_cast<BoundedStream *>(sourceData);
    const int result = LineFile_ReadFromFile(source->stream, maxBytes, bytesRead, buffer);
    if (result == 0) {
        source->bytesLeft -= *bytesRead;
        if (source->bytesLeft < 0) {
            *bytesRead = 0;
            return kIniFileTooLarge;
        }
    }
    return result;
}

} // namespace

struct LineFile {
    void *sourceData;
    LineFile_ByteSourceFunc byteSource;
    char *buffer;
    int bytesLeft;
    char *readPosition;
    int64_t linesRead;
    int64_t bytesFetched;
    int lastTerminator;
    int64_t offsetOfLastLine;
    int extraTerminatorChars;
    int64_t charsInEmptyLines;
};

void inifile::detail::lineFileStartCountsAtForTesting(LineFile *lineFile, int64_t linesRead,
                                                      int64_t bytesFetched) {
    lineFile->linesRead = linesRead;
    lineFile->bytesFetched = bytesFetched;
}

LineFile *LineFile_New(LineFile_ByteSourceFunc byteSource, void *sourceData) {
    auto *lineFile = static_cast<LineFile *>(tbCalloc(1, sizeof(LineFile)));
    if (!lineFile) {
        return nullptr;
    }
    lineFile->buffer = static_cast<char *>(tbMalloc(kLineFileBufferSize));
    if (!lineFile->buffer) {
        std::free(lineFile);
        return nullptr;
    }
    lineFile->sourceData = sourceData;
    lineFile->byteSource = byteSource ? byteSource : readFromStream;
    lineFile->readPosition = lineFile->buffer;
    lineFile->offsetOfLastLine = -1;
    return lineFile;
}

void LineFile_Dispose(LineFile *lineFile) {
    if (!lineFile) {
        return;
    }
    std::free(lineFile->buffer);
    std::free(lineFile);
}

int LineFile_Read(LineFile *lineFile, char *buffer, int maxChars, int *charsStored,
                  int *endOfFile) {
    if (!lineFile || !endOfFile || !buffer) {
        return kIniNullArgument;
    }
    if (maxChars < 0) {
        maxChars = 0;
    }
    *endOfFile = 0;
    if (charsStored) {
        *charsStored = 0;
    }
    lineFile->extraTerminatorChars = 0;
    lineFile->offsetOfLastLine = lineFile->bytesFetched - lineFile->bytesLeft;
    int stored = 0;
    int result = 0;
    bool ended = false;
    bool firstByte = true;
    while (!ended) {
        if (lineFile->bytesLeft == 0) {
            int delivered = 0;
            result = lineFile->byteSource(lineFile->sourceData, kLineFileBufferSize, &delivered,
                                          lineFile->buffer);
            if (result < 0) {
                break;
            }
            // A source that claims more than the buffer holds is not believed.
            if (delivered < 0) {
                delivered = 0;
            } else if (delivered > kLineFileBufferSize) {
                delivered = kLineFileBufferSize;
            }
            lineFile->readPosition = lineFile->buffer;
            lineFile->bytesLeft = delivered;
            lineFile->bytesFetched += delivered;
            if (delivered == 0) {
                if (stored > 0) {
                    ended = true;
                } else {
                    *endOfFile = 1;
                }
                break;
            }
        }
        const char *p = lineFile->readPosition;
        const char *end = p + lineFile->bytesLeft;
        while (p < end) {
            const char c = *p++;
            if (c == '\n' || c == '\r' || c == '\0') {
                if (firstByte && c != lineFile->lastTerminator) {
                    // The second half of a two-character line end (CR LF or LF CR).
                    ++lineFile->extraTerminatorChars;
                    ++lineFile->offsetOfLastLine;
                    firstByte = false;
                    continue;
                }
                lineFile->lastTerminator = c;
                ended = true;
                break;
            }
            firstByte = false;
            if (stored < maxChars) {
                buffer[stored++] = c;
            }
        }
        lineFile->bytesLeft = static_cast<int>(end - p);
        lineFile->readPosition = const_cast<char *>(p);
    }
    buffer[stored] = '\0';
    if (charsStored) {
        *charsStored = stored;
    }
    if (ended) {
        ++lineFile->linesRead;
    }
    return result;
}

int LineFile_ReadNonEmpty(LineFile *lineFile, char *buffer, int maxChars, int *charsStored,
                          int *endOfFile) {
    if (!lineFile || !endOfFile || !buffer) {
        return kIniNullArgument;
    }
    int64_t skipped = 0;
    int stored = 0;
    int result = 0;
    for (;;) {
        result = LineFile_Read(lineFile, buffer, maxChars, &stored, endOfFile);
        if (result < 0 || *endOfFile || *skipWhite(buffer) != '\0') {
            break;
        }
        skipped += stored + lineFile->extraTerminatorChars + 1;
    }
    lineFile->charsInEmptyLines = skipped;
    if (charsStored) {
        *charsStored = stored;
    }
    return result;
}

int LineFile_NumLinesRead(LineFile *lineFile) {
    return lineFile ? clampedCount(lineFile->linesRead) : 0;
}

int LineFile_OffsetOfLastLine(LineFile *lineFile) {
    return lineFile ? clampedCount(lineFile->offsetOfLastLine) : 0;
}

int LineFile_NumExtraLineTermChars(LineFile *lineFile) {
    return lineFile ? lineFile->extraTerminatorChars : 0;
}

int LineFile_NumCharsInEmptyLines(LineFile *lineFile) {
    return lineFile ? clampedCount(lineFile->charsInEmptyLines) : 0;
}

int LineFile_ReadFromFile(FILE *stream, int maxBytes, int *bytesRead, void *buffer) {
    if (!stream || !buffer || maxBytes < 0) {
        return kIniNullArgument;
    }
    const size_t delivered = std::fread(buffer, 1, static_cast<size_t>(maxBytes), stream);
    if (bytesRead) {
        *bytesRead = static_cast<int>(delivered);
    }
    return std::ferror(stream) ? kIniErrorReadingFile : 0;
}

int ReadLineFromLineFile(void *callbackData, char *line, int maxChars, int *endOfInput,
                         int *lineNumber) {
    auto *lineFile = static_cast<LineFile *>(callbackData);
    const int result = LineFile_ReadNonEmpty(lineFile, line, maxChars, nullptr, endOfInput);
    if (result == 0 && lineNumber) {
        *lineNumber = LineFile_NumLinesRead(lineFile);
    }
    return result;
}

int Ini_ReadGeneric(IniDocument *doc, Ini_LineSourceFunc lineSource, void *callbackData) {
    if (!doc || !lineSource) {
        return kIniNullArgument;
    }
    const bool hadIndex = doc->sectionIndex != nullptr;
    char line[kLineBufferSize];
    char sectionName[kLineBufferSize];
    char itemName[kLineBufferSize];
    char value[kLineBufferSize];
    IniSection *current = nullptr;
    int result = 0;
    for (bool firstLine = true;; firstLine = false) {
        int endOfInput = 0;
        int lineNumber = 0;
        line[0] = '\0';
        result = lineSource(callbackData, line, kIniMaxLineChars, &endOfInput, &lineNumber);
        if (result < 0 || endOfInput) {
            break;
        }
        // A line source is trusted with the byte limit but not with the terminator.
        line[kIniMaxLineChars] = '\0';
        // A byte-order mark would otherwise hide the first section header.
        const char *text = line;
        if (firstLine && std::strncmp(line, kUtf8ByteOrderMark, kUtf8ByteOrderMarkLength) == 0) {
            text += kUtf8ByteOrderMarkLength;
        }
        const int kind = ParseLine(doc, text, sectionName, itemName, value);
        if (kind == kSectionHeader) {
            current = nullptr;
            if (doc->sectionFilter &&
                !doc->sectionFilter(doc, doc->sectionFilterData, sectionName)) {
                continue;
            }
            IniSection *section = NewSection(sectionName, doc->automaticSorting);
            if (!section) {
                result = kIniOutOfMemory;
                break;
            }
            if (!ListInsertItem(doc->sections, &section, LIST_END)) {
                disposeSection(section);
                result = kIniOutOfMemory;
                break;
            }
            current = section;
        } else if (kind == kItemLine && current) {
            IniItem *item = NewItem(itemName, value, 1);
            if (!item) {
                result = kIniOutOfMemory;
                break;
            }
            item->lineNumber = lineNumber;
            if (!ListInsertItem(current->items, &item, LIST_END)) {
                disposeItem(item);
                result = kIniOutOfMemory;
                break;
            }
        }
    }
    if (result == 0) {
        const int count = ListNumItems(doc->sections);
        for (int i = 1; i <= count && result == 0; ++i) {
            result = JoinMultiLineItems(entryAt<IniSection>(doc->sections, i));
        }
        if (result == 0 && doc->automaticSorting) {
            Ini_Sort(doc);
        }
    }
    if (hadIndex) {
        const int indexResult = Ini_SortInternally(doc);
        if (result == 0) {
            result = indexResult;
        }
    }
    return result;
}

int Ini_ReadFromFile(IniDocument *doc, const char *path) {
    if (!doc || !path) {
        return kIniNullArgument;
    }
    FILE *stream = nullptr;
    switch (openRegularFileForReading(path, kIniMaxFileBytes, &stream)) {
    case FileOpenResult::Opened:
        break;
    case FileOpenResult::NotRegularFile:
        return kIniNotRegularFile;
    case FileOpenResult::TooLarge:
        return kIniFileTooLarge;
    case FileOpenResult::CannotOpen:
        return kIniCouldNotOpenFile;
    }
    BoundedStream source{stream, kIniMaxFileBytes};
    LineFile *lineFile = LineFile_New(readFromBoundedStream, &source);
    int result = kIniOutOfMemory;
    if (lineFile) {
        result = Ini_ReadGeneric(doc, ReadLineFromLineFile, lineFile);
        LineFile_Dispose(lineFile);
    }
    std::fclose(stream);
    return result;
}
