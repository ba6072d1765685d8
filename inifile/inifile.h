// The ini-file library: an in-memory document of named sections holding named items with
// text values, typed puts and gets over it, a reader of ini text over any line source and a
// writer to any line sink, the file forms of both (the file is replaced safely through a
// temporary file), and the same document read from and written to the registry.
//
// Results: 0 for success and a negative code for failure; lookups answer 1 for found and 0
// for not found. Codes: -12 out of memory, -21 registry write failure, -65 a required
// argument is null, -91 the platform cannot report on a path, -93 input/output error, -94 not
// found, -95 access denied, -97 disk full, -100 other rename failure, -5001 "Could Not Open
// File For Reading", -5002 "Error Reading From File", -5003 "Could Not Find Unused Temporary
// File Name", -5004 "Could Not Create Temporary File", -5005 "Not A Regular File", -5006 "File
// Too Large", -5021..-5024 invalid integer, unsigned, floating-point or boolean text.
//
// Names of sections and items compare without regard to letter case and to white space around
// the key. Every allocation goes through the toolbox allocation seam (only the following of
// links and the listing of the folder in Ini_WriteToFile allocate beside it); every string or
// block handed to the caller is freed with free().
#pragma once

#include <cstdio>

struct IniDocument;
struct LineFile;

// ---------------------------------------------------------------------------------------------
// Result codes.
inline constexpr int kIniOutOfMemory = -12;
inline constexpr int kIniRegistryWriteFailure = -21;
inline constexpr int kIniNullArgument = -65;
inline constexpr int kIniPathNotReportable = -91;
inline constexpr int kIniIoError = -93;
inline constexpr int kIniNotFound = -94;
inline constexpr int kIniAccessDenied = -95;
inline constexpr int kIniDiskFull = -97;
inline constexpr int kIniRenameFailure = -100;
inline constexpr int kIniCouldNotOpenFile = -5001;
inline constexpr int kIniErrorReadingFile = -5002;
inline constexpr int kIniNoUnusedTempName = -5003;
inline constexpr int kIniCouldNotCreateTempFile = -5004;
// The path names a directory, FIFO, device or socket, not a file; nothing was read from it.
inline constexpr int kIniNotRegularFile = -5005;
// The file holds more than kIniMaxFileBytes bytes; the document keeps only what a read had
// added before the limit was met.
inline constexpr int kIniFileTooLarge = -5006;
inline constexpr int kIniInvalidInteger = -5021;
inline constexpr int kIniInvalidUnsigned = -5022;
inline constexpr int kIniInvalidDouble = -5023;
inline constexpr int kIniInvalidBoolean = -5024;

// Values longer than this are written in numbered pieces of this many characters.
inline constexpr int kIniMaxValueLineChars = 80;
// The reader keeps this many characters of a line; the rest of an over-long line is lost.
inline constexpr int kIniMaxLineChars = 255;
// Size of the temporary-path buffer of CreateAndOpenTemporaryFile, terminator included.
inline constexpr int kIniMaxPathBytes = 260;
// Ini_ReadFromFile reads files of at most this many bytes (16 MiB). A settings file holds a
// few hundred bytes and other ini files a few megabytes; the limit keeps a wrong path (a huge
// log, a disk image) from taking the memory of the process.
inline constexpr long long kIniMaxFileBytes = 16LL * 1024 * 1024;

// Decides while reading whether a section is kept: non-zero keeps it and its items.
typedef int (*Ini_SectionFilterFunc)(IniDocument *doc, void *filterData, const char *sectionName);
// Delivers one line of at most maxChars characters plus a zero into line; sets *endOfInput
// non-zero when no line is left (line then unused) and *lineNumber to the line's number.
// Returns 0 or a negative code, which ends the reading.
typedef int (*Ini_LineSourceFunc)(void *callbackData, char *line, int maxChars, int *endOfInput,
                                  int *lineNumber);
// Takes one line of text without its line end; returns 0 or a negative code, which stops the
// writing at once.
typedef int (*Ini_LineSinkFunc)(void *callbackData, const char *line);
// Fills buffer with up to maxBytes bytes and stores the count in *bytesRead (0 at the end of
// the source); returns 0 or a negative code.
typedef int (*LineFile_ByteSourceFunc)(void *sourceData, int maxBytes, int *bytesRead,
                                       void *buffer);

// ---------------------------------------------------------------------------------------------
// Document.

// A new empty document with the default tokens ('[', ']', "=", ";"), duplicate checking on,
// line of last access -1; automaticSorting non-zero keeps sections and items in name order.
// Null when memory runs out (nothing is left allocated).
IniDocument *Ini_New(int automaticSorting);
// Frees the document with all its sections and items; null is ignored.
void Ini_Dispose(IniDocument *doc);
// Changes the tokens; a zero character or a null or empty string keeps the current one.
// Separator and comment marker keep at most 7 characters. Returns 0.
int Ini_SetTokens(IniDocument *doc, char sectionStart, char sectionEnd, const char *valueSeparator,
                  const char *commentMarker);
// Sets the section filter used by later reads; returns 0.
int Ini_SetSectionFilter(IniDocument *doc, Ini_SectionFilterFunc filter, void *filterData);
// With duplicate checking on (non-zero), a put replaces the items of that name in place;
// off, a put adds a further item. Returns the previous setting.
int Ini_SetDuplicateChecking(IniDocument *doc, int enable);

// Ordering. Ini_Sort puts every section's items and the sections in name order and switches
// automatic sorting on; Ini_DisableSorting switches it off and keeps the present order.
void Ini_Sort(IniDocument *doc);
void Ini_DisableSorting(IniDocument *doc);
// Internal sorting: name-sorted index lists serve the lookups while the lists keep their
// (writing) order. Returns 0, -12 (no index is left then) or -65.
int Ini_SortInternally(IniDocument *doc);
void Ini_DisableInternalSorting(IniDocument *doc);

// Structure. The names handed out point into the document and stay valid until that section
// or item is removed or replaced, or the document is disposed.
int Ini_SectionExists(IniDocument *doc, const char *sectionName);
int Ini_NumberOfSections(IniDocument *doc);
int Ini_NthSectionName(IniDocument *doc, int n, char **name);
int Ini_NumberOfItems(IniDocument *doc, const char *sectionName);
int Ini_NthItemName(IniDocument *doc, const char *sectionName, int n, char **name);
int Ini_ItemExists(IniDocument *doc, const char *sectionName, const char *itemName);
int Ini_ItemOrMultiLineItemExists(IniDocument *doc, const char *sectionName, const char *itemName);
// The line number of the item found by the last successful item lookup (0 for a put item,
// -1 before any).
int Ini_LineOfLastAccess(IniDocument *doc);
// 1 when removed, 0 when absent.
int Ini_RemoveSection(IniDocument *doc, const char *sectionName);
int Ini_RemoveItem(IniDocument *doc, const char *sectionName, const char *itemName);
// Copies one section (or every section for a null name) with the items' raw values; with
// overwrite an existing destination section of that name is removed first. Returns 0 or a
// negative code; source equal to destination gives 0.
int Ini_CopySection(IniDocument *source, const char *sectionName, IniDocument *destination,
                    int overwrite);

// Puts: 0 or a negative code. A put to a missing section creates it. A null section or item
// name gives -65.
int Ini_PutInt(IniDocument *doc, const char *sectionName, const char *itemName, int value);
int Ini_PutUInt(IniDocument *doc, const char *sectionName, const char *itemName,
                unsigned int value);
int Ini_PutDouble(IniDocument *doc, const char *sectionName, const char *itemName, double value);
int Ini_PutBoolean(IniDocument *doc, const char *sectionName, const char *itemName, int value);
// Stored as given (null as empty) and written within double quotes.
int Ini_PutRawString(IniDocument *doc, const char *sectionName, const char *itemName,
                     const char *value);
// EscapeString of the text, then as Ini_PutRawString.
int Ini_PutString(IniDocument *doc, const char *sectionName, const char *itemName,
                  const char *value);
// The bytes as hex text (ConvertDataToText), then as Ini_PutRawString.
int Ini_PutData(IniDocument *doc, const char *sectionName, const char *itemName, const void *data,
                int size);

// Gets: 1 found (and converted), 0 section or item missing (or a blank value for the typed
// gets), negative on failure. The output is written only for a result of 1 (except
// Ini_GetDouble, which leaves strtod's result on -5023).
int Ini_GetInt(IniDocument *doc, const char *sectionName, const char *itemName, int *value);
int Ini_GetUInt(IniDocument *doc, const char *sectionName, const char *itemName,
                unsigned int *value);
// "Inf"/"+Inf" and "-Inf" (any letter case) are the infinities.
int Ini_GetDouble(IniDocument *doc, const char *sectionName, const char *itemName, double *value);
// "True" 1, "False" 0 (any letter case).
int Ini_GetBoolean(IniDocument *doc, const char *sectionName, const char *itemName, int *value);
// The stored text; *value is null unless the result is 1.
int Ini_GetPointerToRawString(IniDocument *doc, const char *sectionName, const char *itemName,
                              char **value);
// The unescaped text in the document's string buffer, valid until the next
// Ini_GetPointerToString on this document (no other operation touches the buffer).
int Ini_GetPointerToString(IniDocument *doc, const char *sectionName, const char *itemName,
                           char **value);
// Heap copies that the caller frees; *value is null unless the result is 1.
int Ini_GetStringCopy(IniDocument *doc, const char *sectionName, const char *itemName,
                      char **value);
int Ini_GetRawStringCopy(IniDocument *doc, const char *sectionName, const char *itemName,
                         char **value);
// The text cut to bufferSize bytes (terminator included); the buffer is emptied first.
int Ini_GetStringIntoBuffer(IniDocument *doc, const char *sectionName, const char *itemName,
                            char *buffer, int bufferSize);
int Ini_GetRawStringIntoBuffer(IniDocument *doc, const char *sectionName, const char *itemName,
                               char *buffer, int bufferSize);
// The bytes of a value put by Ini_PutData, in a heap block that the caller frees.
int Ini_GetData(IniDocument *doc, const char *sectionName, const char *itemName, void **data,
                int *size);

// Escapes '"', '\\', tab, LF, CR and other control characters with backslashes; returns a
// heap string (the caller frees it) or null when memory runs out or text is null.
char *EscapeString(const char *text);
// Reverses EscapeString; a heap string or null.
char *UnescapeString(const char *text);

// ---------------------------------------------------------------------------------------------
// Reading.

// Reads the file into the document (adding to what it holds). Links are followed. Only a
// regular file is read, and it is never waited on: a path that names a FIFO, a device, a
// directory or a socket gives -5005 without being opened for reading, and a file of more than
// kIniMaxFileBytes bytes gives -5006 (also when it grows beyond that while it is read).
// 0, -65, -5001 (missing or unreadable), -5002, -5005, -5006 or -12.
int Ini_ReadFromFile(IniDocument *doc, const char *path);
// The one parser: reads lines from the source until its end, adds sections and items, joins
// items written in pieces, and re-establishes the sorting modes. A UTF-8 byte-order mark at
// the start of the first line is skipped (editors on Windows write one). 0, -65, -12 or the
// line source's negative result. After a failure the document is fit only to be disposed of.
int Ini_ReadGeneric(IniDocument *doc, Ini_LineSourceFunc lineSource, void *callbackData);
// Reads every subkey of the key as a section and its REG_SZ values as items. rootKey 0..3
// (HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS). 0, -94 (key not
// found or invalid root), -95, -5001, -5002, -12, -65.
// On Windows this is the system registry (names and text are UTF-8 here, UTF-16 there; items
// come in the registry's order of the values, which Windows does not promise to be the order
// of writing). On Linux there is none: the keys live in the
// process's own memory (platform/registry.h), empty when the process starts and gone when it
// ends, so a read finds only what Ini_WriteToRegistry (or a test) put there in the same
// process, and otherwise gives -94. (The one key made up from the serial ports present,
// HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM, has values but no subkeys, so it reads
// as a document without sections.)
int Ini_ReadFromRegistry(IniDocument *doc, int rootKey, const char *baseKeyPath);

// Buffered line reader over a byte source (2048 bytes at a time). A null byte source means
// LineFile_ReadFromFile with sourceData the FILE *. Null when memory runs out. Its counts
// (lines read, offsets, characters) stop at INT_MAX on sources longer than that; they never
// wrap.
LineFile *LineFile_New(LineFile_ByteSourceFunc byteSource, void *sourceData);
// Frees the reader; the source (a stream) is not closed. Null is ignored.
void LineFile_Dispose(LineFile *lineFile);
// One line without its line end, cut to maxChars characters (the rest of the line is
// consumed and lost), zero-terminated; buffer must hold maxChars + 1 bytes. CR, LF, CR LF and
// LF CR end a line. 0 or the byte source's negative result; -65 for null lineFile/endOfFile.
int LineFile_Read(LineFile *lineFile, char *buffer, int maxChars, int *charsStored, int *endOfFile);
// As LineFile_Read, skipping blank lines.
int LineFile_ReadNonEmpty(LineFile *lineFile, char *buffer, int maxChars, int *charsStored,
                          int *endOfFile);
int LineFile_NumLinesRead(LineFile *lineFile);
int LineFile_OffsetOfLastLine(LineFile *lineFile);
int LineFile_NumExtraLineTermChars(LineFile *lineFile);
int LineFile_NumCharsInEmptyLines(LineFile *lineFile);
// The default byte source: fread of up to maxBytes bytes; -5002 when the stream reports an
// error.
int LineFile_ReadFromFile(FILE *stream, int maxBytes, int *bytesRead, void *buffer);
// The line source of Ini_ReadFromFile; callbackData is the LineFile.
int ReadLineFromLineFile(void *callbackData, char *line, int maxChars, int *endOfInput,
                         int *lineNumber);

// ---------------------------------------------------------------------------------------------
// Writing.

// Hands every line of the document's text to the sink (sections in list order, each a header,
// its items, an empty line; values over 80 characters as pieces "name Line0001", ...).
// 0, the sink's first negative result, -65 or -12.
int Ini_WriteGeneric(IniDocument *doc, Ini_LineSinkFunc lineSink, void *callbackData);
// Writes the text with CR LF line ends. The target is replaced only by a complete, flushed
// and synced temporary file in its directory (ini$$<n>.TMP), in one atomic rename; after any
// failure the old file is untouched and no temporary file is left. A null path writes to
// standard output. 0 or a negative code (-65, -91, -93, -95, -97, -12, -100, -5003, -5004).
// The folder may be as long as the system accepts; a path it refuses fails with errno
// ENAMETOOLONG. The file's owner and group (as far as the writer may give them) and its
// permission bits go over to the new file. A path whose last component is a symbolic link
// is written through it: the link stays, and the file it leads to (through chains of links;
// a relative target counts from the link's directory) is replaced in its own directory, with
// the temporary file created there. A dangling link gets its target created. More than 40
// links in a row, or a link that cannot be read, give -91. Only a regular file is replaced:
// a target that is a directory, FIFO, device or socket gives -95 and is never opened.
int Ini_WriteToFile(IniDocument *doc, const char *path);
// Ini_WriteToFile with the system's reason of a failure as a value: *systemError (when not
// null) gets the errno value of the system call whose failure ended the write, taken when it
// failed; 0 on success and for a failure that no system call reported (a null document, a
// name taken by a directory or a device, every temporary name in use by live writers).
// Results as Ini_WriteToFile.
int Ini_WriteToFileWithReason(IniDocument *doc, const char *path, int *systemError);
// Line sink of Ini_WriteToFile; callbackData is the FILE *.
int WriteLineToFile(void *callbackData, const char *line);
// 0 and *writable 1 or 0; -91 when the path cannot be examined, -93 otherwise, -65 for null
// arguments. An existing regular file is writable when it opens for update (anything else
// that exists, a directory or a device, is not writable and is not opened); a missing one
// when it can be created (the probe file is removed again).
int GetFileWritability(const char *path, int *writable);
// Creates and opens a new temporary file "<dir><prefix(5)><n>.<extension>" for the first
// n = 0..999 whose name is free (exclusive create: an existing file or link is never opened).
// The file is held while the stream is open (see openNewFileHeld in platform/files.h): other
// writers leave it alone. Before the search, every file under these 1000 names that nobody
// holds, the leftover of a writer that died before its rename, is removed (found by listing
// the folder once); a held file, a link or anything that is not a regular file stays.
// tempPath must hold kIniMaxPathBytes bytes. 0, -5003 all names taken by live writers (or by
// what is not a leftover), -5004 cannot create (errno says why: ENAMETOOLONG when the name
// does not fit tempPath), -65 null arguments, -12 out of memory. Ini_WriteToFile is not bound
// by that buffer: it saves in a folder of any length the system accepts.
int CreateAndOpenTemporaryFile(const char *path, const char *prefix, const char *extension,
                               const char *mode, char *tempPath, FILE **stream);
// Removes the file; any failure is ignored.
void RemoveFileIfExists(const char *path);
// Makes source the target in one atomic rename (the target is never removed first).
// 0 or -94, -95, -93, -12, -100, -97.
int DeleteAndRename(const char *source, const char *target);
// The result code for errno after a failed write, flush or sync (always negative).
int ErrnoToError(int errnoValue);
// Replaces the subkeys of the key by one subkey per section with every item's raw value as a
// REG_SZ value. rootKey as for Ini_ReadFromRegistry. 0, -94, -95, -5001, -21, -65.
// A base key that does not exist yet gives -94 and nothing is written. On Linux the keys
// are the process's in-memory ones (see Ini_ReadFromRegistry): nothing reaches a disk, and
// what is written is gone when the process ends; at start every key is missing, so a write
// gives -94 until the base key was created (RegCreateKey in platform/registry.h).
int Ini_WriteToRegistry(IniDocument *doc, int rootKey, const char *baseKeyPath);
