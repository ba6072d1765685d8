// The records behind IniDocument, shared by the library's sources (and by white-box tests).
// Not part of the library's contract: callers use inifile.h.
#pragma once

#include "inifile/inifile.h"
#include "toolbox/toolbox.h"

#include <cctype>
#include <cstdint>

struct IniItem {
    char *name;  // without surrounding white space
    char *value; // as stored; a value read within double quotes is stored without them
    int lineNumber;
    int quoted;
};

struct IniSection {
    char *name;
    ListHandle items;     // of IniItem *, owns them
    ListHandle itemIndex; // of IniItem *, name-sorted, owns nothing; only under internal sorting
    char sorted;
};

struct IniDocument {
    ListHandle sections;     // of IniSection *, owns them
    ListHandle sectionIndex; // of IniSection *, name-sorted, owns nothing; or null
    IniSection *lastSectionFound;
    char automaticSorting;
    int lineOfLastAccess;
    int separatorLength;
    char valueSeparator[8];
    int spacedSeparatorLength;
    char spacedSeparator[10];
    char sectionStart;
    char sectionEnd;
    char commentMarker[8];
    int duplicateChecking;
    Ini_SectionFilterFunc sectionFilter;
    void *sectionFilterData;
    Handle stringBuffer;
};

namespace inifile::detail {

// The n-th (1-based) entry of a list of record pointers.
template <typename T> T *entryAt(ListHandle list, int position) {
    return *static_cast<T **>(ListGetPtrToItem(list, position));
}
// All entries as a contiguous array (null when empty); valid until the list changes.
template <typename T> T **entries(ListHandle list) {
    return static_cast<T **>(ListGetPtrToItem(list, 1));
}

// Name comparisons with the results of the string helpers named beside them, and comparators
// over list slots holding IniSection * / IniItem * by name (StrICmp order).
int compareNames(const char *a, const char *b);            // as StrICmp
int compareKeyWithName(const char *key, const char *name); // as StrICmpWithoutSurrWhiteSpace
int compareSectionSlots(const void *a, const void *b);
int compareItemSlots(const void *a, const void *b);

// Records. NewSection trims the name; NewItem trims the name and, with removeQuotes, strips a
// pair of enclosing double quotes and marks the item quoted. Null when memory runs out.
IniSection *NewSection(const char *name, int sorted);
IniItem *NewItem(const char *name, const char *value, int removeQuotes);
void disposeItem(IniItem *item);
// Gives the item a new name and/or value (heap strings it then owns; null keeps the old one).
void setItemText(IniItem *item, char *name, char *value);

// std::isspace, asked only where the locale can matter: the blank always is white space, the
// terminator and the other printable ASCII bytes never are.
inline bool isWhite(unsigned char c) {
    if (c == ' ') {
        return true;
    }
    return c != 0 && (c < 0x20 || c >= 0x7f) && std::isspace(c);
}
inline const char *skipWhite(const char *p) {
    while (isWhite(static_cast<unsigned char>(*p))) {
        ++p;
    }
    return p;
}
// The end of the text from begin to end without its trailing white space, stepping back by
// whole characters: under double-byte code pages a trail byte may have a blank's value.
inline const char *trimEnd(const char *begin, const char *end) {
    if (!isMultibyteMode()) {
        while (end > begin && isWhite(static_cast<unsigned char>(end[-1]))) {
            --end;
        }
        return end;
    }
    while (end > begin) {
        const char *previous = mbsDec(begin, end);
        if (!previous || end - previous != 1 || !isWhite(static_cast<unsigned char>(*previous))) {
            break;
        }
        end = previous;
    }
    return end;
}
void disposeSection(IniSection *section);

IniSection *FindSection(IniDocument *doc, const char *name);
IniItem *FindItem(IniSection *section, const char *name);
int GetItem(IniDocument *doc, const char *sectionName, const char *itemName, char **value);
int PutItem(IniDocument *doc, const char *sectionName, const char *itemName, const char *text,
            int quoted);
// The section of that name, created empty (at its place in the list) when there is none;
// null when memory runs out.
IniSection *findOrAddSection(IniDocument *doc, const char *name);

} // namespace inifile::detail
