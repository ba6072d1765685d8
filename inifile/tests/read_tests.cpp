// Reading: the line reader's rules for line ends and counts, the classification of lines,
// quote removal, the joining of pieces, section filters, files, and allocation failure.

#include "inifile/inifile.h"
#include "inifile/ini_model.h"
#include "inifile/tests/ini_test_support.h"
#include "inifile/testing/ini_read_testing.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace ini_test;

namespace {

struct DocDeleter {
    void operator()(IniDocument *doc) const { Ini_Dispose(doc); }
};
using Doc = std::unique_ptr<IniDocument, DocDeleter>;

struct Source {
    std::string text;
    size_t offset = 0;
    int chunk = 2048;
    int failAtCall = -1; // the call number that reports an error
    int calls = 0;
};

int sourceRead(void *data, int maxBytes, int *bytesRead, void *buffer) {
    auto *source = static_cast<Source *>(data);
    if (source->calls++ == source->failAtCall) {
        *bytesRead = 0;
        return kIniErrorReadingFile;
    }
    const size_t n = std::min({source->text.size() - source->offset, static_cast<size_t>(maxBytes),
                               static_cast<size_t>(source->chunk)});
    std::memcpy(buffer, source->text.data() + source->offset, n);
    source->offset += n;
    *bytesRead = static_cast<int>(n);
    return 0;
}

struct LineRead {
    std::string text;
    int lines;
    int offset;
    int extra;
};

// Every line LineFile_Read delivers, with the counters after it.
std::vector<LineRead> readAllLines(const std::string &text, int chunk = 2048, int maxChars = 255) {
    Source source{text, 0, chunk};
    LineFile *lineFile = LineFile_New(sourceRead, &source);
    std::vector<LineRead> lines;
    std::vector<char> buffer(static_cast<size_t>(maxChars) + 1);
    for (;;) {
        int stored = -1;
        int end = 0;
        EXPECT_EQ(LineFile_Read(lineFile, buffer.data(), maxChars, &stored, &end), 0);
        if (end) {
            break;
        }
        EXPECT_EQ(stored, static_cast<int>(std::strlen(buffer.data())));
        lines.push_back({buffer.data(), LineFile_NumLinesRead(lineFile),
                         LineFile_OffsetOfLastLine(lineFile),
                         LineFile_NumExtraLineTermChars(lineFile)});
    }
    LineFile_Dispose(lineFile);
    return lines;
}

std::vector<std::string> texts(const std::vector<LineRead> &lines) {
    std::vector<std::string> out;
    for (const LineRead &line : lines) {
        out.push_back(line.text);
    }
    return out;
}

DocumentSnapshot readSnapshot(const std::string &text, int sorted = 0) {
    Doc doc(Ini_New(sorted));
    EXPECT_EQ(readString(doc.get(), text), 0);
    return snapshot(doc.get());
}

// Reads text into a new unsorted document and expects exactly the given sections and items;
// what was read is returned for further checks.
DocumentSnapshot expectReads(const std::string &text, const DocumentSnapshot &expected) {
    const DocumentSnapshot document = readSnapshot(text);
    EXPECT_EQ(document, expected) << describe(document);
    return document;
}

} // namespace

TEST(LineFile, LineEndVariants) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(texts(readAllLines("a\r\nb\r\nc")), (Lines{"a", "b", "c"}));
    EXPECT_EQ(texts(readAllLines("a\nb\nc\n")), (Lines{"a", "b", "c"}));
    EXPECT_EQ(texts(readAllLines("a\rb\rc\r")), (Lines{"a", "b", "c"}));
    EXPECT_EQ(texts(readAllLines("a\n\rb\n\rc")), (Lines{"a", "b", "c"}));
    EXPECT_EQ(texts(readAllLines("a\r\rb\n\nc")), (Lines{"a", "", "b", "", "c"}));
    EXPECT_EQ(texts(readAllLines("a\r\n\r\nb")), (Lines{"a", "", "b"}));
    EXPECT_EQ(texts(readAllLines(std::string("a\0b", 3))), (Lines{"a", "b"}));
    EXPECT_EQ(texts(readAllLines("")), Lines{});
    // Every split of the source into fetches gives the same lines.
    const std::string mixed = "one\r\ntwo\n\rthree\r\rfour\n";
    for (int chunk = 1; chunk <= 6; ++chunk) {
        EXPECT_EQ(texts(readAllLines(mixed, chunk)), (Lines{"one", "two", "three", "", "four"}))
            << chunk;
    }
}

TEST(LineFile, CountsOffsetsAndLeadingTerminators) {
    // A lone LF or CR at the start is taken as the second half of a line end.
    std::vector<LineRead> lines = readAllLines("\nx\r\ny");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].lines, 1);
    EXPECT_EQ(lines[0].offset, 1);
    EXPECT_EQ(lines[0].extra, 1);
    EXPECT_EQ(lines[1].lines, 2);
    EXPECT_EQ(lines[1].offset, 4);
    EXPECT_EQ(lines[1].extra, 1);
    // CR LF at the start ends an empty first line.
    lines = readAllLines("\r\nx");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "");
    EXPECT_EQ(lines[1].lines, 2);
    EXPECT_EQ(lines[1].offset, 2);
    // A zero byte at the start ends an empty line.
    EXPECT_EQ(readAllLines(std::string("\0x", 2)).size(), 2u);
}

TEST(LineFile, OverLongLinesAreCut) {
    const std::string longLine(300, 'x');
    const std::vector<LineRead> lines = readAllLines(longLine + "\nshort", 7);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, std::string(255, 'x'));
    EXPECT_EQ(lines[1].text, "short");
    EXPECT_EQ(lines[1].offset, 301);
}

TEST(LineFile, NonEmptySkipsBlankLinesAndCountsThem) {
    Source source{"a\r\n  \r\n\t\r\nb", 0, 2048};
    LineFile *lineFile = LineFile_New(sourceRead, &source);
    char buffer[256];
    int end = 0;
    int stored = 0;
    ASSERT_EQ(LineFile_ReadNonEmpty(lineFile, buffer, 255, &stored, &end), 0);
    EXPECT_STREQ(buffer, "a");
    ASSERT_EQ(LineFile_ReadNonEmpty(lineFile, buffer, 255, &stored, &end), 0);
    EXPECT_STREQ(buffer, "b");
    EXPECT_EQ(LineFile_NumCharsInEmptyLines(lineFile), (2 + 1 + 1) + (1 + 1 + 1));
    EXPECT_EQ(LineFile_NumLinesRead(lineFile), 4);
    ASSERT_EQ(LineFile_ReadNonEmpty(lineFile, buffer, 255, &stored, &end), 0);
    EXPECT_EQ(end, 1);
    LineFile_Dispose(lineFile);
    EXPECT_EQ(LineFile_Read(nullptr, buffer, 255, &stored, &end), kIniNullArgument);
    EXPECT_EQ(LineFile_NumLinesRead(nullptr), 0);
}

TEST(LineFile, SourceErrorEndsTheRead) {
    Source source{std::string(3000, 'a') + "\nb\n", 0, 2048, 1};
    LineFile *lineFile = LineFile_New(sourceRead, &source);
    char buffer[256];
    int end = 0;
    EXPECT_EQ(LineFile_Read(lineFile, buffer, 255, nullptr, &end), kIniErrorReadingFile);
    EXPECT_EQ(LineFile_NumLinesRead(lineFile), 0);
    LineFile_Dispose(lineFile);
}

TEST(IniRead, SettingsFileInEveryLineEnd) {
    const DocumentSnapshot expected = {{"com", {{"lcom", "3", 2, 0}, {"adresse", "1", 3, 0}}}};
    for (const char *end : {"\r\n", "\n", "\r", "\n\r"}) {
        const std::string e = end;
        const std::string text = "[com]" + e + "lcom = 3" + e + "adresse=1" + e;
        const DocumentSnapshot document = expectReads(text, expected);
        EXPECT_EQ(document[0].items[1].lineNumber, 3);
        // The last line needs no line end.
        EXPECT_EQ(readSnapshot(text.substr(0, text.size() - e.size())), expected);
    }
}

TEST(IniRead, LineClassification) {
    const std::string text = "before = dropped\n"
                             "[ com ]\n"
                             "name =\n"
                             "name =   \n"
                             "empty = \"\"\n"
                             "a = 1 ; note\n"
                             "  ; x = 1\n"
                             "= 5\n"
                             "b == 5\n"
                             "no separator\n"
                             "[com] x\n"
                             "[com\n"
                             "[]\n"
                             "[ ]\n"
                             "  c  =  \"quoted value\"  \n"
                             "d = \"half\n"
                             "e = \"\n"
                             "[a]b]\n"
                             "f = 2\n";
    const DocumentSnapshot document = expectReads(text, {{"com",
                                                          {{"empty", "", 5, 1},
                                                           {"a", "1 ; note", 6, 0},
                                                           {"b", "= 5", 9, 0},
                                                           {"c", "quoted value", 15, 1},
                                                           {"d", "\"half", 16, 0},
                                                           {"e", "\"", 17, 0}}},
                                                         {"a]b", {{"f", "2", 19, 0}}}});
    EXPECT_EQ(document[0].items[2].lineNumber, 9);
}

TEST(IniRead, LongLinesKeep255Characters) {
    const std::string value(300, 'v');
    const DocumentSnapshot document = readSnapshot("[s]\nk = " + value + "\nnext = 1\n");
    ASSERT_EQ(document[0].items.size(), 2u);
    EXPECT_EQ(document[0].items[0].value, std::string(255 - 4, 'v'));
    EXPECT_EQ(document[0].items[1].name, "next");
}

TEST(IniRead, JoinsPieces) {
    const std::string text = "[s]\n"
                             "Path Line0001 = \"abc\"\n"
                             "Path Line0002 = \"def\"\n"
                             "X Line1 = solo\n"
                             "plain = p\n"
                             "Y Line0002 = orphan\n"
                             "Z Line0001 = z1\n"
                             "Other Line0005 = z2\n" // numbers and base names are not checked
                             "Z Line0001 = again\n"
                             "W LineX = no\n"
                             "V line0001 = lower\n"
                             "U Line99999999999999999999 = huge\n";
    expectReads(text, {{"s",
                        {{"Path", "abcdef", 2, 1},
                         {"X", "solo", 4, 0},
                         {"plain", "p", 5, 0},
                         {"Y Line0002", "orphan", 6, 0},
                         {"Z", "z1z2", 7, 0},
                         {"Z", "again", 9, 0},
                         {"W LineX", "no", 10, 0},
                         {"V line0001", "lower", 11, 0},
                         {"U Line99999999999999999999", "huge", 12, 0}}}});
}

TEST(IniRead, AddsToTheDocumentAndSortsWhenAsked) {
    Doc doc(Ini_New(1));
    const std::string text = "[b]\nz=1\ny=2\n[a]\nx=3\n";
    ASSERT_EQ(readString(doc.get(), text), 0);
    ASSERT_EQ(readString(doc.get(), text), 0);
    const DocumentSnapshot document = snapshot(doc.get());
    ASSERT_EQ(document.size(), 4u);
    EXPECT_EQ(document[0].name, "a");
    EXPECT_EQ(document[2].name, "b");
    EXPECT_EQ(document[2].items[0].name, "y");
    EXPECT_EQ(readSnapshot(text)[0].name, "b");
}

TEST(IniRead, LineNumbersFollowTheLineReader) {
    // A lone LF first: every number is one less than the physical line.
    EXPECT_EQ(readSnapshot("\n[s]\na=1\n")[0].items[0].lineNumber, 2);
    EXPECT_EQ(readSnapshot("\r\n[s]\r\na=1\r\n")[0].items[0].lineNumber, 3);
}

namespace {
int rejectCom(IniDocument *, void *data, const char *name) {
    ++*static_cast<int *>(data);
    return std::strcmp(name, "com") != 0;
}
} // namespace

TEST(IniRead, SectionFilterDropsSectionAndItems) {
    Doc doc(Ini_New(0));
    int calls = 0;
    Ini_SetSectionFilter(doc.get(), rejectCom, &calls);
    ASSERT_EQ(readString(doc.get(), "[keep]\na=1\n[com]\nb=2\n[other]\nc=3\n"), 0);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(Ini_SectionExists(doc.get(), "com"), 0);
    const DocumentSnapshot document = snapshot(doc.get());
    ASSERT_EQ(document.size(), 2u);
    EXPECT_EQ(document[1].items[0].name, "c");
}

namespace {
int failingSource(void *data, char *line, int, int *endOfInput, int *lineNumber) {
    int *left = static_cast<int *>(data);
    if ((*left)-- == 0) {
        return -1234;
    }
    std::strcpy(line, "[s]");
    *endOfInput = 0;
    *lineNumber = 1;
    return 0;
}
} // namespace

TEST(IniRead, LineSourceFailureIsReturned) {
    Doc doc(Ini_New(0));
    int left = 2;
    EXPECT_EQ(Ini_ReadGeneric(doc.get(), failingSource, &left), -1234);
    EXPECT_EQ(Ini_NumberOfSections(doc.get()), 2);
    EXPECT_EQ(Ini_ReadGeneric(nullptr, failingSource, &left), kIniNullArgument);
    EXPECT_EQ(Ini_ReadGeneric(doc.get(), nullptr, &left), kIniNullArgument);
}

TEST(IniRead, FromFile) {
    ScratchDir dir;
    Doc doc(Ini_New(1));
    EXPECT_EQ(Ini_ReadFromFile(doc.get(), dir.file("missing.ini").c_str()), kIniCouldNotOpenFile);
    EXPECT_EQ(Ini_ReadFromFile(nullptr, dir.file("missing.ini").c_str()), kIniNullArgument);
    // A directory is no file to read.
    EXPECT_EQ(Ini_ReadFromFile(doc.get(), dir.path().c_str()), kIniNotRegularFile);
    std::string big;
    for (int i = 0; i < 500; ++i) {
        big += "[s" + std::to_string(i) + "]\r\nk = " + std::to_string(i) + "\r\n";
    }
    writeFileContents(dir.file("big.ini"), big);
    Doc other(Ini_New(0));
    ASSERT_EQ(Ini_ReadFromFile(other.get(), dir.file("big.ini").c_str()), 0);
    EXPECT_EQ(Ini_NumberOfSections(other.get()), 500);
    int value = 0;
    EXPECT_EQ(Ini_GetInt(other.get(), "s499", "k", &value), 1);
    EXPECT_EQ(value, 499);
    EXPECT_EQ(Ini_LineOfLastAccess(other.get()), 1000);
}

TEST(IniReadFile, SizeLimit) {
    ScratchDir dir;
    // Beyond 2 GiB, where the counts of 32 bits would wrap; its size is set, nothing is written.
    writeFileContents(dir.file("huge"), "");
    std::filesystem::resize_file(dir.file("huge"), 3LL << 30);
    Doc huge(Ini_New(0));
    EXPECT_EQ(Ini_ReadFromFile(huge.get(), dir.file("huge").c_str()), kIniFileTooLarge);
    // A file of exactly the limit is read whole; one byte more is refused.
    std::string text = "[s]\n;" + std::string(kIniMaxFileBytes - 12, 'x') + "\nk = 1\n";
    ASSERT_EQ(static_cast<long long>(text.size()), kIniMaxFileBytes);
    writeFileContents(dir.file("limit"), text);
    Doc doc(Ini_New(0));
    int value = 0;
    EXPECT_EQ(Ini_ReadFromFile(doc.get(), dir.file("limit").c_str()), 0);
    EXPECT_EQ(Ini_GetInt(doc.get(), "s", "k", &value), 1);
    writeFileContents(dir.file("limit"), text + "\n");
    EXPECT_EQ(Ini_ReadFromFile(doc.get(), dir.file("limit").c_str()), kIniFileTooLarge);
}

TEST(IniReadFile, CountsStopAtTheirLimitInsteadOfWrapping) {
    // Where a source of more than 2 GiB of short lines brings the counts.
    const std::string text = "[s]\na = 1\nb = 2\n";
    Source source{text};
    LineFile *lineFile = LineFile_New(sourceRead, &source);
    inifile::detail::lineFileStartCountsAtForTesting(lineFile, INT_MAX - 1, INT_MAX - 4);
    Doc doc(Ini_New(0));
    EXPECT_EQ(Ini_ReadGeneric(doc.get(), ReadLineFromLineFile, lineFile), 0);
    EXPECT_EQ(LineFile_NumLinesRead(lineFile), INT_MAX);
    EXPECT_EQ(LineFile_OffsetOfLastLine(lineFile), INT_MAX);
    LineFile_Dispose(lineFile);
    const DocumentSnapshot document = snapshot(doc.get());
    ASSERT_EQ(document.size(), 1u);
    ASSERT_EQ(document[0].items.size(), 2u);
    EXPECT_EQ(document[0].items[0].lineNumber, INT_MAX);
    EXPECT_EQ(document[0].items[1].lineNumber, INT_MAX);
}

TEST(IniReadFile, ByteOrderMarkIsSkipped) {
    ScratchDir dir;
    writeFileContents(dir.file("bom.ini"), "\xEF\xBB\xBF[com]\r\ncom = 3\r\n");
    Doc doc(Ini_New(1));
    ASSERT_EQ(Ini_ReadFromFile(doc.get(), dir.file("bom.ini").c_str()), 0);
    int value = 0;
    EXPECT_EQ(Ini_GetInt(doc.get(), "com", "com", &value), 1);
    EXPECT_EQ(value, 3);
    EXPECT_EQ(Ini_LineOfLastAccess(doc.get()), 2);
    // Only at the start: further on the bytes are text like any other.
    expectReads("\xEF\xBB\xBF\n[s]\na = 1\n\xEF\xBB\xBF[t]\n", {{"s", {{"a", "1", 2, 0}}}});
}

TEST(IniAllocationFailure, ReadFailsCleanlyAtEveryAllocation) {
    const std::string text = "[b]\nPath Line0001 = \"abc\"\nPath Line0002 = def\nq=1\n[a]\nx=3\n";
    const DocumentSnapshot expected = readSnapshot(text, 1);
    for (bool indexed : {false, true}) {
        int failures = 0;
        for (long allowed = 0;; ++allowed) {
            Doc doc(Ini_New(1));
            if (indexed) {
                Ini_SortInternally(doc.get());
            }
            tbFailAllocationsAfter(allowed);
            const int result = readString(doc.get(), text);
            tbFailAllocationsAfter(-1);
            if (result == 0) {
                EXPECT_EQ(snapshot(doc.get()), expected);
                break;
            }
            ++failures;
            EXPECT_EQ(result, kIniOutOfMemory);
        }
        EXPECT_GT(failures, 10);
    }
}

TEST(IniDoubleByte, ScanningStepsOverWholeCharacters) {
    // Shift-JIS style lead bytes: a trail byte may equal '=', ']', '"', ' ' or the backslash
    // and must never be taken for one (so "Long\x81 Line0001" is no piece).
    static const LeadByteRange kLeadBytes[] = {{0x81, 0x9F}, {0xE0, 0xFC}};
    setLeadByteRanges(kLeadBytes, 2);
    const DocumentSnapshot document = readSnapshot(
        "[s\x81]]\na\x81= = 1\nq = \"x\x81\"\"\nLong\x81 Line0001 = y\nb\x81 = z\x81 \n");
    char *escaped = EscapeString("\x81\\\"");
    char *unescaped = UnescapeString("\\\x81\\n\\\x81");
    Doc doc(Ini_New(0));
    std::string value(79, 'v');
    value += "\x81\x40tail";
    Ini_PutRawString(doc.get(), "s", "k", value.c_str());
    const std::string text = writeString(doc.get());
    setLeadByteRanges(nullptr, 0);

    const DocumentSnapshot expected = {{"s\x81]",
                                        {{"a\x81=", "1", 2, 0},
                                         {"q", "x\x81\"", 3, 1},
                                         {"Long\x81 Line0001", "y", 4, 0},
                                         {"b\x81 ", "z\x81 ", 5, 0}}}};
    EXPECT_EQ(document, expected) << describe(document);
    EXPECT_STREQ(escaped, "\x81\\\\\"");
    std::free(escaped);
    // An escaped double-byte character stays whole: its trail byte escapes nothing.
    EXPECT_STREQ(unescaped, "\x81\\n\x81");
    std::free(unescaped);
    // The 80th byte would split a character: the first piece keeps 79.
    EXPECT_EQ(text, "[s]\r\nk Line0001 = \"" + std::string(79, 'v') +
                        "\"\r\nk Line0002 = \"\x81\x40tail\"\r\n\r\n");
}
