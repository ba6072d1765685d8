// Utility library: the item list container, handles, string helpers aware of double-byte
// code pages, hex conversion of data blocks, and the "Assert" report of programming errors.
//
// Ownership: strings returned by StrDup, StrDupWithoutSurrWhiteSpace and ConvertDataToText,
// and blocks returned by ConvertTextToData, are malloc'ed and freed by the caller with free().
// Handles and lists are released by their creator with DisposeHandle / ListDispose.
#pragma once

#include <cstddef>

// ---------------------------------------------------------------------------------------------
// Handles: a fixed record {block address, block size} whose block can move when resized.
// Dereferencing a handle once yields the block.
typedef void **Handle;

// A list is a handle whose block holds a header (growth percentage, minimum growth, capacity,
// item size, item count; all int) followed by the item slots. Positions are 1-based.
// The header is padded to the strictest alignment of the platform, so items holding pointers
// or doubles can be used in place through ListGetPtrToItem. Growth adds
// k + max(minimum growth, capacity * (100 + percentage) / 100) slots for k missing ones
// (capacities 0, 5, 11, 24, 51, 108, ... when filled one at a time); capacity never shrinks.
// ListGetPtrToItem's pointer is valid until the next insertion, removal, sort or resize.
typedef Handle ListHandle;

// Special positions: LIST_FRONT is the first item; LIST_END is the last item for reading,
// finding and removing, and "after the last item" for inserting.
enum { LIST_FRONT = -1, LIST_END = 0 };

// Negative when a sorts before b, 0 when they match, positive after. Searches call it with the
// caller's key first and a pointer to the list item second. A null comparator means memcmp
// over the item size.
typedef int (*ListCompareFunction)(const void *a, const void *b);

// NewHandle: a zero-filled block of size bytes (none for 0); null for a negative size or no
// memory. SetHandleSize: 1 on success, 0 for a negative size or no memory (handle unchanged);
// added bytes are zero. A null handle to Get/SetHandleSize is a programming error (Assert).
Handle NewHandle(int size);
void DisposeHandle(Handle handle);
int GetHandleSize(Handle handle);
int SetHandleSize(Handle handle, int newSize);

// ListCreate refuses an item size <= 0 (null). Insertions give 1 or 0 (null list, n <= 0,
// a position other than LIST_FRONT, LIST_END or 1 .. count + 1, no memory: list unchanged).
// Items may come from the list itself. Reading and removing out of range do nothing.

ListHandle ListCreate(int itemSize);
void ListDispose(ListHandle list);
ListHandle ListCopy(ListHandle list);
int ListNumItems(ListHandle list);
int ListInsertItem(ListHandle list, const void *item, int position);
int ListInsertItems(ListHandle list, const void *items, int position, int n);
void ListRemoveItem(ListHandle list, void *out, int position);
void ListRemoveItems(ListHandle list, void *out, int position, int n);
void ListGetItem(ListHandle list, void *out, int position);
void ListGetItems(ListHandle list, void *out, int position, int n);
void *ListGetPtrToItem(ListHandle list, int position);
int ListFindItem(ListHandle list, const void *key, int startPosition, ListCompareFunction cmp);
// ListBinSearch: the position (1-based) of an item that matches key in a list sorted in
// ascending order of cmp; 0 when none matches, and for a null list or key. With several
// matching items it answers whichever the search meets first, not necessarily the first.
int ListBinSearch(ListHandle list, const void *key, ListCompareFunction cmp);
int ListInsertInOrder(ListHandle list, const void *item, ListCompareFunction cmp);
void ListQuickSort(ListHandle list, ListCompareFunction cmp);
void ListSetAllocationPolicy(ListHandle list, int minimumGrowth, int growthPercentage);
int ListPreAllocate(ListHandle list, int n);
// BinSearch: binary search for key among count items of itemSize bytes, sorted in ascending
// order of cmp (key first, item second; null: memcmp over itemSize bytes). Found: the 0-based
// index of a matching item (with several, whichever the search meets first). Not found:
// -(i + 1), where i is the 0-based index at which key would keep the order, so the result is
// always negative then (-1 for an empty array). array may be null only when count is 0.
int BinSearch(const void *array, int count, int itemSize, const void *key, ListCompareFunction cmp);

int ShortCompare(const void *a, const void *b);
int IntCompare(const void *a, const void *b);
int FloatCompare(const void *a, const void *b);
int DoubleCompare(const void *a, const void *b);
int CStringCompare(const void *a, const void *b);
// Null string pointers sort before every string.
int CStringNoCaseCompare(const void *a, const void *b);

// Hex text of a data block and back: ConvertDataToText returns a malloc'ed zero-terminated
// text (null on a null block with size > 0, a negative size, or no memory);
// ConvertTextToData returns 1 and a malloc'ed block with its size (*data may be null for size
// 0), or 0 for malformed text or no memory, leaving *data and *size untouched.
char *ConvertDataToText(const void *data, int size);
int ConvertTextToData(const char *text, void **data, int *size);

// ---------------------------------------------------------------------------------------------
// String helpers on zero-terminated byte strings in the system's code page.
char *StringEnd(const char *s);
char *CmbStrLastChar(const char *s);
int CmbStrByteIs(const char *s, int index, int byte);
char *StrDup(const char *s);
char *SkipWhiteSpace(const char *s);
int HasNonWhiteSpace(const char *s);
char *StrDupWithoutSurrWhiteSpace(const char *s);
// StringCopyMax: at most maxBytes bytes including the terminator, overlap-safe; in double-byte
// mode a cut never leaves the lead byte of a character without its trail byte. A null dst is
// a programming error (Assert), as is a null s to CmbStrLastChar.
void StringCopyMax(char *dst, const char *src, int maxBytes);
// Both case-insensitive comparisons fold letters to upper case, so indexes sorted with one can
// be searched with the other. Null sorts before every string.
int StrICmp(const char *a, const char *b);
int StrICmpWithoutSurrWhiteSpace(const char *a, const char *b);
// StrToInt: 1, with *value set, when s holds exactly one decimal integer from -2147483648 to
// 2147483647: white space may stand before and after it, and one sign (+ or -) directly in front
// of the digits. Otherwise 0 and *value is left alone: no digit at all, a second sign or one
// after a digit, white space between sign and digits, any other character ("0x10", "12a",
// "1 2"), or a number outside the int range. A null s or value also gives 0.
int StrToInt(const char *s, int *value);
// The unsigned counterpart of StrToInt: a minus sign is rejected; range 0..4294967295.
int StrToUInt(const char *s, unsigned int *value);

// ---------------------------------------------------------------------------------------------
// Double-byte mode. Decided once at start-up from the locale (off under UTF-8 and single-byte
// locales); tests switch it on with explicit lead-byte ranges.
struct LeadByteRange {
    unsigned char first;
    unsigned char last;
};
// initMultibyteModeFromLocale: call once at start-up, before any helper runs. It reads the
// code set of the environment's locale (LC_ALL / LC_CTYPE / LANG) without switching the
// process locale; Shift-JIS, GBK, Big5 and the Korean double-byte code sets switch it on.
void initMultibyteModeFromLocale();
// The same decision for a code set name as nl_langinfo(CODESET) reports it (case ignored);
// true when double-byte mode is now on.
bool setMultibyteModeForCodeset(const char *codeset);
// count 0 (or ranges null) switches double-byte mode off.
void setLeadByteRanges(const LeadByteRange *ranges, int count);
bool isMultibyteMode();
bool isLeadByte(unsigned char byte);
// Equivalents of the runtime's multibyte stepping: the next character, the previous character
// (null when current is at start), and case-insensitive comparison with double-byte units.
const char *mbsInc(const char *current);
const char *mbsDec(const char *start, const char *current);
int mbsICmp(const char *a, const char *b);

// ---------------------------------------------------------------------------------------------
// Programming errors. assertFailed formats the text
// "Assert!\n\n%s\n\nThe error was detected on line %d of file '%s'.\n\nProgram aborting.",
// hands title "Assert" and text to the installed hook (the GUI shows a modal popup), or prints
// them to stderr when no hook is installed, and then aborts the process. The toolbox's own
// reports name the file "toolbox.cpp", whichever of its sources detected the error.
typedef void (*AssertHook)(const char *title, const char *text);
void setAssertHook(AssertHook hook);
[[noreturn]] void assertFailed(const char *message, int line, const char *file);

// ---------------------------------------------------------------------------------------------
// Allocation seam. The libraries allocate through these so that tests can make the n-th
// allocation fail; blocks are ordinary malloc blocks and are released with free().
void *tbMalloc(std::size_t size);
void *tbCalloc(std::size_t count, std::size_t size);
void *tbRealloc(void *block, std::size_t size);
// After n more successful allocations, every further one fails (n < 0: never fail).
void tbFailAllocationsAfter(long n);
// Allocations attempted since the last tbFailAllocationsAfter call.
long tbAllocationCount();
