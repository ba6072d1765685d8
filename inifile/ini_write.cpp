// Writing ini text: lines to any sink, and the safe replacement of a file.

#include "inifile/ini_model.h"
#include "platform/files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace inifile::detail;

namespace {

constexpr int kStreamBufferSize = 16384;
constexpr const char *kTempPrefix = "ini$$";
constexpr const char *kTempExtension = "TMP";
constexpr int kTempNamesTried = 1000;
// Room for a piece's cut: 80 characters and the terminator.
constexpr int kPieceBufferSize = kIniMaxValueLineChars + 1;

// Builds "<name><spaced separator><value>" (value within double quotes when quoted) in a
// small fixed buffer, or on the heap for an item name too long for it, and hands it to the
// sink. The reader keeps only 255 characters of a line; names that long are the caller's
// limit to keep, but the writer itself never overruns a buffer for them.
int emitItemLine(IniDocument *doc, const char *name, size_t nameLength, const char *suffix,
                 const char *value, size_t valueLength, int quoted, Ini_LineSinkFunc sink,
                 void *data) {
    const size_t suffixLength = std::strlen(suffix);
    const size_t length = nameLength + suffixLength +
                          static_cast<size_t>(doc->spacedSeparatorLength) + valueLength +
                          (quoted ? 2 : 0);
    char local[512];
    char *line = local;
    if (length + 1 > sizeof local) {
        line = static_cast<char *>(tbMalloc(length + 1));
        if (!line) {
            return kIniOutOfMemory;
        }
    }
    char *out = line;
    std::memcpy(out, name, nameLength);
    out += nameLength;
    std::memcpy(out, suffix, suffixLength);
    out += suffixLength;
    std::memcpy(out, doc->spacedSeparator, static_cast<size_t>(doc->spacedSeparatorLength));
    out += doc->spacedSeparatorLength;
    if (quoted) {
        *out++ = '"';
    }
    std::memcpy(out, value, valueLength);
    out += valueLength;
    if (quoted) {
        *out++ = '"';
    }
    *out = '\0';
    const int result = sink(data, line);
    if (line != local) {
        std::free(line);
    }
    return result;
}

// Whether text of this length would be read back as a quoted value (and lose its quotes).
bool readsAsQuoted(const char *text, size_t length) {
    return length > 1 && text[0] == '"' && text[length - 1] == '"';
}

// Where to cut an unquoted value that goes on: the reader trims every piece, so a piece must
// neither end nor be followed by white space, and no piece may both start and end with a
// double quote (it would be taken as quoted): neither this one nor the rest when that is
// short enough to be the last. The last character boundary within the cut that satisfies
// this is taken; without one the cut stays as it is.
size_t unquotedPieceLength(const char *rest, size_t cut) {
    const size_t total = std::strlen(rest);
    size_t best = 0;
    for (const char *p = mbsInc(rest); p && static_cast<size_t>(p - rest) <= cut; p = mbsInc(p)) {
        const size_t length = static_cast<size_t>(p - rest);
        const size_t remaining = total - length;
        const bool lastFollows = remaining <= static_cast<size_t>(kIniMaxValueLineChars);
        if (!isWhite(static_cast<unsigned char>(rest[length - 1])) &&
            !isWhite(static_cast<unsigned char>(rest[length])) && !readsAsQuoted(rest, length) &&
            !(lastFollows && readsAsQuoted(p, remaining))) {
            best = length;
        }
        if (*p == '\0') {
            break;
        }
    }
    return best > 0 ? best : cut;
}

int WriteItem(IniDocument *doc, const IniItem *item, Ini_LineSinkFunc sink, void *data) {
    const size_t nameLength = std::strlen(item->name);
    const size_t valueLength = std::strlen(item->value);
    if (valueLength <= static_cast<size_t>(kIniMaxValueLineChars)) {
        return emitItemLine(doc, item->name, nameLength, "", item->value, valueLength, item->quoted,
                            sink, data);
    }
    const char *rest = item->value;
    int result = 0;
    for (int number = 1; *rest && result >= 0; ++number) {
        char piece[kPieceBufferSize];
        // 80 characters, or 79 when the 80th byte would split a double-byte character.
        StringCopyMax(piece, rest, kPieceBufferSize);
        size_t pieceLength = std::strlen(piece);
        if (pieceLength == 0) {
            break; // cannot happen for non-empty text; guards against an endless loop
        }
        if (!item->quoted && rest[pieceLength] != '\0') {
            pieceLength = unquotedPieceLength(rest, pieceLength);
        }
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, " Line%04d", number);
        rest += pieceLength;
        result = emitItemLine(doc, item->name, nameLength, suffix, rest - pieceLength, pieceLength,
                              item->quoted, sink, data);
    }
    return result;
}

int WriteSection(IniDocument *doc, const IniSection *section, Ini_LineSinkFunc sink, void *data) {
    const size_t nameLength = std::strlen(section->name);
    char *header = static_cast<char *>(tbMalloc(nameLength + 3));
    if (!header) {
        return kIniOutOfMemory;
    }
    header[0] = doc->sectionStart;
    std::memcpy(header + 1, section->name, nameLength);
    header[nameLength + 1] = doc->sectionEnd;
    header[nameLength + 2] = '\0';
    int result = sink(data, header);
    if (result >= 0) {
        const int count = ListNumItems(section->items);
        IniItem **items = entries<IniItem>(section->items);
        for (int i = 0; i < count && result >= 0; ++i) {
            result = WriteItem(doc, items[i], sink, data);
        }
    }
    std::free(header);
    return result;
}

// Composes "<drive><directory><prefix(5)><number>.<extension>" into tempPath, which holds
// capacity bytes; false when it does not fit.
bool composeTemporaryName(char *tempPath, size_t capacity, const char *drive, const char *directory,
                          const char *prefix, int number, const char *extension) {
    const int length = std::snprintf(tempPath, capacity, "%s%s%.5s%1d.%s", drive, directory, prefix,
                                     number, extension);
    return length >= 0 && static_cast<size_t>(length) < capacity;
}

// The number (0 to 999) of a name of the temporary-name scheme, or -1 for any other name:
// the prefix's first five characters, the number as composed (no sign, no leading zero), a
// dot and the extension.
int temporaryNameNumber(const char *name, const char *prefix, const char *extension) {
    const size_t prefixLength = std::min<size_t>(std::strlen(prefix), 5);
    if (std::strncmp(name, prefix, prefixLength) != 0) {
        return -1;
    }
    const char *digits = name + prefixLength;
    char *end = nullptr;
    const long number = std::strtol(digits, &end, 10);
    const bool composed = std::isdigit(static_cast<unsigned char>(digits[0])) &&
                          (digits[0] != '0' || end == digits + 1);
    if (!composed || number >= kTempNamesTried || *end != '.' ||
        std::strcmp(end + 1, extension) != 0) {
        return -1;
    }
    return static_cast<int>(number);
}

// A writer that died before its rename left its file behind, held by nobody; unremoved, such
// leftovers would use up the names one by one. Files of live writers are held and stay. The
// folder is listed once and only the names found are tried, so a save without leftovers opens
// nothing for them; only a folder that cannot be listed (one that may be written but not
// read) has every name tried. tempPath is the room the names are composed in.
void removeLeftovers(char *tempPath, size_t capacity, const char *drive, const char *directory,
                     const char *prefix, const char *extension) {
    const int folderLength = std::snprintf(tempPath, capacity, "%s%s", drive, directory);
    if (folderLength < 0 || static_cast<size_t>(folderLength) >= capacity) {
        return; // no name in the folder fits the room either
    }
    std::vector<std::string> names;
    const bool listed = listDirectory(tempPath[0] ? tempPath : ".", &names) == 0;
    const auto removeLeftover = [&](int number) {
        if (composeTemporaryName(tempPath, capacity, drive, directory, prefix, number, extension)) {
            removeUnheldFile(tempPath);
        }
    };
    if (!listed) {
        for (int number = 0; number < kTempNamesTried; ++number) {
            removeLeftover(number);
        }
    }
    for (const std::string &name : names) {
        const int number = temporaryNameNumber(name.c_str(), prefix, extension);
        if (number >= 0) {
            removeLeftover(number);
        }
    }
}

// CreateAndOpenTemporaryFile with a tempPath of capacity bytes.
int createTemporaryFile(const char *path, const char *prefix, const char *extension,
                        const char *mode, char *tempPath, size_t capacity, FILE **stream) {
    *stream = nullptr;
    const size_t pathLength = std::strlen(path);
    char *drive = static_cast<char *>(tbMalloc(pathLength + 1));
    char *directory = static_cast<char *>(tbMalloc(pathLength + 1));
    if (!drive || !directory) {
        std::free(drive);
        std::free(directory);
        return kIniOutOfMemory;
    }
    SplitPath(path, drive, directory, nullptr);
    removeLeftovers(tempPath, capacity, drive, directory, prefix, extension);
    int result = kIniNoUnusedTempName;
    for (int number = 0; number < kTempNamesTried; ++number) {
        if (!composeTemporaryName(tempPath, capacity, drive, directory, prefix, number,
                                  extension)) {
            tempPath[0] = '\0';
            errno = ENAMETOOLONG;
            result = kIniCouldNotCreateTempFile;
            break;
        }
        // Exclusive create: a name that exists, as a file or as a link, is skipped and never
        // opened, so nothing planted under it can take the text.
        FILE *opened = openNewFileHeld(tempPath, mode);
        if (opened) {
            *stream = opened;
            result = 0;
            break;
        }
        if (errno != EEXIST) {
            result = kIniCouldNotCreateTempFile;
            break;
        }
    }
    const int error = errno;
    std::free(drive);
    std::free(directory);
    errno = error;
    return result;
}

// The result of the rename for the codes of RenameFile.
int renameCode(int renameResult) {
    switch (renameResult) {
    case 0:
        return 0;
    case -1:
        return kIniNotFound;
    case -2:
    case -6:
        return kIniAccessDenied;
    case -3:
        return kIniIoError;
    case -4:
        return kIniOutOfMemory;
    case -5:
        return kIniRenameFailure;
    case -8:
        return kIniDiskFull;
    default:
        return kIniIoError;
    }
}

} // namespace

int Ini_WriteGeneric(IniDocument *doc, Ini_LineSinkFunc lineSink, void *callbackData) {
    if (!doc || !lineSink) {
        return kIniNullArgument;
    }
    int result = 0;
    const int count = ListNumItems(doc->sections);
    for (int i = 1; i <= count; ++i) {
        result = WriteSection(doc, entryAt<IniSection>(doc->sections, i), lineSink, callbackData);
        if (result < 0) {
            break;
        }
        result = lineSink(callbackData, "");
        if (result < 0) {
            break;
        }
    }
    return result;
}

int ErrnoToError(int errnoValue) {
    switch (errnoValue) {
    case EPERM:
    case EACCES:
        return kIniAccessDenied;
    case ENOMEM:
        return kIniOutOfMemory;
    case ENOSPC:
        return kIniDiskFull;
    default:
        return kIniIoError;
    }
}

int WriteLineToFile(void *callbackData, const char *line) {
    FILE *stream = static_cast<FILE *>(callbackData);
    if (!stream || !line) {
        return kIniNullArgument;
    }
    errno = 0;
    const size_t length = std::strlen(line);
    // A failed flush of the stream buffer inside fwrite can still report the whole count;
    // the error indicator tells, while errno still holds the reason.
    if (length > 0 && (std::fwrite(line, 1, length, stream) != length || std::ferror(stream))) {
        return ErrnoToError(errno);
    }
    if (std::fwrite("\r\n", 1, 2, stream) != 2 || std::ferror(stream)) {
        return ErrnoToError(errno);
    }
    return 0;
}

int GetFileWritability(const char *path, int *writable) {
    if (!path || !writable) {
        return kIniNullArgument;
    }
    switch (GetFileInfo(path, nullptr)) {
    case 1: {
        // Only a file is replaced. A device or FIFO is not even opened: opening a serial port
        // changes its lines, and a FIFO may wait.
        if (!isRegularFile(path)) {
            *writable = 0;
            return 0;
        }
        FILE *stream = openFile(path, "r+b");
        *writable = stream ? 1 : 0;
        if (stream) {
            std::fclose(stream);
        }
        return 0;
    }
    case 0: {
        // The probe is created exclusively, so a file that appears meanwhile is never
        // truncated or removed by it.
        FILE *stream = openNewFileExclusive(path, "wb");
        if (stream) {
            std::fclose(stream);
            removeFile(path);
            *writable = 1;
        } else if (errno == EEXIST) {
            // Created by someone else since the look: judge it as an existing file.
            stream = isRegularFile(path) ? openFile(path, "r+b") : nullptr;
            *writable = stream ? 1 : 0;
            if (stream) {
                std::fclose(stream);
            }
        } else {
            *writable = 0;
        }
        return 0;
    }
    case -1:
        return kIniPathNotReportable;
    default:
        return kIniIoError;
    }
}

int CreateAndOpenTemporaryFile(const char *path, const char *prefix, const char *extension,
                               const char *mode, char *tempPath, FILE **stream) {
    if (!path || !prefix || !extension || !mode || !tempPath || !stream) {
        return kIniNullArgument;
    }
    return createTemporaryFile(path, prefix, extension, mode, tempPath, kIniMaxPathBytes, stream);
}

void RemoveFileIfExists(const char *path) {
    if (path) {
        removeFile(path);
    }
}

int DeleteAndRename(const char *source, const char *target) {
    // rename replaces the target in one step: there is never a moment without a file under
    // the target's name, so the target is not removed first.
    return renameCode(RenameFile(source, target));
}

namespace {

// Ini_WriteToFile for a path; `failed` is called with the code of each failing step.
template <typename Failed>
int writeThroughTemporaryFile(IniDocument *doc, const char *path, Failed &failed) {
    // Through a link the file it leads to is replaced, in its own directory; the link stays.
    std::string target;
    if (resolveFileLinks(path, &target) != 0) {
        return failed(errno == ENOMEM ? kIniOutOfMemory : kIniPathNotReportable);
    }
    int writable = 0;
    int result = GetFileWritability(target.c_str(), &writable);
    if (result < 0) {
        return failed(result);
    }
    if (!writable) {
        return failed(kIniAccessDenied);
    }
    // The temporary name is as long as the folder makes it: room for the folder, the prefix,
    // the largest number, the dot and the extension.
    const size_t tempCapacity = target.size() + 5 + 3 + 1 + std::strlen(kTempExtension) + 1;
    char *tempPath = static_cast<char *>(tbMalloc(tempCapacity));
    if (!tempPath) {
        return failed(kIniOutOfMemory);
    }
    FILE *stream = nullptr;
    result = failed(createTemporaryFile(target.c_str(), kTempPrefix, kTempExtension, "wb", tempPath,
                                        tempCapacity, &stream));
    if (result < 0) {
        std::free(tempPath);
        return result;
    }
    // The new file must not be readable by more people than the one it replaces, nor be taken
    // from its owner by a save as root.
    copyFilePermissions(target.c_str(), stream);
    char *streamBuffer = static_cast<char *>(tbMalloc(kStreamBufferSize));
    if (!streamBuffer) {
        result = failed(kIniOutOfMemory);
    } else {
        std::setvbuf(stream, streamBuffer, _IOFBF, kStreamBufferSize);
        result = failed(Ini_WriteGeneric(doc, WriteLineToFile, stream));
        if (result >= 0) {
            errno = 0;
            if (std::fflush(stream) != 0) {
                result = failed(ErrnoToError(errno));
            }
        }
        // Only text that reached the disk may replace the old file.
        if (result >= 0 && syncFile(stream) != 0) {
            result = failed(ErrnoToError(errno));
        }
    }
    // The file is renamed or removed while the stream still holds it: once the hold ends,
    // another writer takes an unrenamed file for the leftover of a dead one.
    if (result >= 0) {
        result = failed(renameCode(renameHeldFile(stream, tempPath, target.c_str())));
    }
    if (result < 0) {
        removeHeldFile(stream, tempPath);
    }
    // The text is flushed and synced (or thrown away) by now, so the close has nothing left
    // to lose; its result does not change the outcome.
    std::fclose(stream);
    std::free(streamBuffer);
    std::free(tempPath);
    if (result < 0) {
        return result;
    }
    // Makes the rename itself durable. The new file is in place whatever this reports.
    syncDirectoryOf(target.c_str());
    return 0;
}

} // namespace

int Ini_WriteToFile(IniDocument *doc, const char *path) {
    return Ini_WriteToFileWithReason(doc, path, nullptr);
}

int Ini_WriteToFileWithReason(IniDocument *doc, const char *path, int *systemError) {
    // errno of the step that failed, taken at once: the clean-up after a failure makes system
    // calls of its own.
    int failedErrno = 0;
    const auto failed = [&failedErrno](int code) {
        if (code < 0 && failedErrno == 0) {
            failedErrno = errno;
        }
        return code;
    };
    if (systemError) {
        *systemError = 0;
    }
    if (!doc) {
        return kIniNullArgument;
    }
    errno = 0;
    int result = 0;
    if (!path) {
        result = failed(Ini_WriteGeneric(doc, WriteLineToFile, stdout));
        errno = 0;
        if (std::fflush(stdout) != 0 && result == 0) {
            result = failed(ErrnoToError(errno));
        }
    } else {
        result = writeThroughTemporaryFile(doc, path, failed);
    }
    // Every temporary name taken leaves EEXIST behind, which names no fault of the system.
    if (systemError && result < 0 && result != kIniNoUnusedTempName) {
        *systemError = failedErrno;
    }
    return result;
}
