// The document model: records, lookups, puts, removal, ordering and the index lists of
// internal sorting.

#include "inifile/ini_model.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace inifile::detail {

// Name comparisons are most of the cost of a lookup. Without double-byte characters the two
// below give exactly the results of StrICmp and StrICmpWithoutSurrWhiteSpace, but fold the
// letter case only where the bytes differ: equal bytes fold to equal values, and names of one
// document mostly share long prefixes.
namespace {

// std::toupper, asked only where the locale can matter: a printable ASCII byte that is not a
// letter never changes case in any locale.
inline int foldCase(unsigned char c) {
    const bool plainAscii = c > 0x20 && c < 0x7f && !((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
    return plainAscii ? c : std::toupper(c);
}

} // namespace

int compareNames(const char *a, const char *b) {
    if (isMultibyteMode()) {
        return StrICmp(a, b);
    }
    for (;; ++a, ++b) {
        const unsigned char x = static_cast<unsigned char>(*a);
        const unsigned char y = static_cast<unsigned char>(*b);
        if (x == y) {
            if (x == 0) {
                return 0;
            }
            continue;
        }
        const int upperX = foldCase(x);
        const int upperY = foldCase(y);
        if (upperX != upperY) {
            return upperX < upperY ? -1 : 1;
        }
    }
}

namespace {

// StrICmpWithoutSurrWhiteSpace without double-byte characters.
inline int compareKeyWithNameSingleByte(const char *key, const char *name) {
    const char *a = skipWhite(key);
    const char *b = skipWhite(name);
    for (;; ++a, ++b) {
        const unsigned char x = static_cast<unsigned char>(*a);
        const unsigned char y = static_cast<unsigned char>(*b);
        if (x == y) {
            if (x == 0) {
                return 0;
            }
            continue;
        }
        const int upperX = foldCase(x);
        const int upperY = foldCase(y);
        if (upperX == 0) {
            return *skipWhite(b) == '\0' ? 0 : -1;
        }
        if (upperY == 0) {
            return *skipWhite(a) == '\0' ? 0 : 1;
        }
        if (upperX != upperY) {
            return upperX < upperY ? -1 : 1;
        }
    }
}

// Search comparators with the mode decided once per lookup, not once per comparison.
int keyWithSectionSingleByte(const void *key, const void *slot) {
    return compareKeyWithNameSingleByte(static_cast<const char *>(key),
                                        (*static_cast<IniSection *const *>(slot))->name);
}

int keyWithItemSingleByte(const void *key, const void *slot) {
    return compareKeyWithNameSingleByte(static_cast<const char *>(key),
                                        (*static_cast<IniItem *const *>(slot))->name);
}

int keyWithSectionMultibyte(const void *key, const void *slot) {
    return StrICmpWithoutSurrWhiteSpace(static_cast<const char *>(key),
                                        (*static_cast<IniSection *const *>(slot))->name);
}

int keyWithItemMultibyte(const void *key, const void *slot) {
    return StrICmpWithoutSurrWhiteSpace(static_cast<const char *>(key),
                                        (*static_cast<IniItem *const *>(slot))->name);
}

} // namespace

int compareKeyWithName(const char *key, const char *name) {
    return isMultibyteMode() ? StrICmpWithoutSurrWhiteSpace(key, name)
                             : compareKeyWithNameSingleByte(key, name);
}

int compareSectionSlots(const void *a, const void *b) {
    return compareNames((*static_cast<IniSection *const *>(a))->name,
                        (*static_cast<IniSection *const *>(b))->name);
}

int compareItemSlots(const void *a, const void *b) {
    return compareNames((*static_cast<IniItem *const *>(a))->name,
                        (*static_cast<IniItem *const *>(b))->name);
}

namespace {

// 1-based position of a record pointer in a list, 0 when it is not there.
int positionOf(ListHandle list, const void *record) {
    const int count = ListNumItems(list);
    void **slots = static_cast<void **>(ListGetPtrToItem(list, 1));
    for (int i = 0; i < count; ++i) {
        if (slots[i] == record) {
            return i + 1;
        }
    }
    return 0;
}

void removeFromIndex(ListHandle index, const void *record) {
    if (const int position = positionOf(index, record)) {
        ListRemoveItem(index, nullptr, position);
    }
}

// Inserts into the index (dropping the index when that fails, so that lookups fall back to
// the list) and then into the list. When the list insertion fails the record is taken out of
// the index again: the caller frees it, and the index must not keep a dangling pointer.
int insertRecord(ListHandle *index, ListHandle list, void *record, int sorted, int position,
                 ListCompareFunction compare) {
    if (*index && !ListInsertInOrder(*index, &record, compare)) {
        ListDispose(*index);
        *index = nullptr;
    }
    const int inserted = sorted ? ListInsertInOrder(list, &record, compare)
                                : ListInsertItem(list, &record, position);
    if (!inserted && *index) {
        removeFromIndex(*index, record);
    }
    return inserted;
}

int InsertItem(IniSection *section, IniItem *item, int position) {
    return insertRecord(&section->itemIndex, section->items, item, section->sorted, position,
                        compareItemSlots);
}

int InsertSection(IniDocument *doc, IniSection *section) {
    return insertRecord(&doc->sectionIndex, doc->sections, section, doc->automaticSorting, LIST_END,
                        compareSectionSlots);
}

// Takes the item out of the section's list and index; returns its former list position.
int RemoveItemFromSection(IniSection *section, IniItem *item) {
    if (section->itemIndex) {
        removeFromIndex(section->itemIndex, item);
    }
    const int position = positionOf(section->items, item);
    if (position) {
        ListRemoveItem(section->items, nullptr, position);
    }
    return position;
}

// Binary search in a name-sorted list, linear search from the front otherwise. Without
// double-byte characters the search runs here with the comparison inlined: the same halving
// as ListBinSearch and ListFindItem, so the same entry is found among equal names.
template <typename T>
T *findRecord(ListHandle list, const char *name, bool sorted, bool multibyte,
              ListCompareFunction compare) {
    if (multibyte) {
        const int position = sorted ? ListBinSearch(list, name, compare)
                                    : ListFindItem(list, name, LIST_FRONT, compare);
        return position > 0 ? entryAt<T>(list, position) : nullptr;
    }
    const int count = ListNumItems(list);
    T **slots = entries<T>(list);
    if (!sorted) {
        for (int i = 0; i < count; ++i) {
            if (compareKeyWithNameSingleByte(name, slots[i]->name) == 0) {
                return slots[i];
            }
        }
        return nullptr;
    }
    int low = 0;
    int high = count - 1;
    while (low <= high) {
        const int middle = static_cast<int>((static_cast<long long>(low) + high) >> 1);
        const int result = compareKeyWithNameSingleByte(name, slots[middle]->name);
        if (result == 0) {
            return slots[middle];
        }
        if (result < 0) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    return nullptr;
}

} // namespace

IniSection *NewSection(const char *name, int sorted) {
    auto *section = static_cast<IniSection *>(tbCalloc(1, sizeof(IniSection)));
    if (!section) {
        return nullptr;
    }
    section->name = StrDupWithoutSurrWhiteSpace(name);
    section->items = ListCreate(sizeof(IniItem *));
    section->sorted = sorted ? 1 : 0;
    if (!section->name || !section->items) {
        disposeSection(section);
        return nullptr;
    }
    return section;
}

IniItem *NewItem(const char *name, const char *value, int removeQuotes) {
    // Record, name and value share one block: a document holds many items, and reading and
    // disposing of it are mostly allocation otherwise.
    const char *nameStart = skipWhite(name);
    const char *nameEnd = trimEnd(nameStart, nameStart + std::strlen(nameStart));
    const size_t nameLength = static_cast<size_t>(nameEnd - nameStart);
    size_t valueLength = std::strlen(value);
    bool quoted = false;
    if (removeQuotes && valueLength > 1 && value[0] == '"' &&
        CmbStrByteIs(value, static_cast<int>(valueLength - 1), '"')) {
        ++value;
        valueLength -= 2;
        quoted = true;
    }
    auto *item =
        static_cast<IniItem *>(tbMalloc(sizeof(IniItem) + nameLength + 1 + valueLength + 1));
    if (!item) {
        return nullptr;
    }
    item->name = reinterpret_cast<char *>(item + 1);
    std::memcpy(item->name, nameStart, nameLength);
    item->name[nameLength] = '\0';
    item->value = item->name + nameLength + 1;
    std::memcpy(item->value, value, valueLength);
    item->value[valueLength] = '\0';
    item->lineNumber = 0;
    item->quoted = quoted ? 1 : 0;
    return item;
}

namespace {

// Frees what the item holds outside its own block (the block's text is never changed, so its
// inline name and value can still be found there).
void freeReplacedText(IniItem *item, bool name, bool value) {
    const char *block = reinterpret_cast<const char *>(item + 1);
    if (name && item->name != block) {
        std::free(item->name);
    }
    if (value && item->value != block + std::strlen(block) + 1) {
        std::free(item->value);
    }
}

} // namespace

void setItemText(IniItem *item, char *name, char *value) {
    freeReplacedText(item, name != nullptr, value != nullptr);
    if (name) {
        item->name = name;
    }
    if (value) {
        item->value = value;
    }
}

void disposeItem(IniItem *item) {
    if (!item) {
        return;
    }
    freeReplacedText(item, true, true);
    std::free(item);
}

void disposeSection(IniSection *section) {
    if (!section) {
        return;
    }
    ListDispose(section->itemIndex);
    const int count = ListNumItems(section->items);
    IniItem **items = entries<IniItem>(section->items);
    for (int i = 0; i < count; ++i) {
        disposeItem(items[i]);
    }
    ListDispose(section->items);
    std::free(section->name);
    std::free(section);
}

IniSection *FindSection(IniDocument *doc, const char *name) {
    if (!name) {
        return nullptr;
    }
    const bool multibyte = isMultibyteMode();
    if (!multibyte) {
        name = skipWhite(name); // once here rather than in every comparison
    }
    IniSection *last = doc->lastSectionFound;
    if (last && (multibyte ? StrICmpWithoutSurrWhiteSpace(name, last->name)
                           : compareKeyWithNameSingleByte(name, last->name)) == 0) {
        return last;
    }
    const ListCompareFunction compare =
        multibyte ? keyWithSectionMultibyte : keyWithSectionSingleByte;
    IniSection *found =
        doc->sectionIndex
            ? findRecord<IniSection>(doc->sectionIndex, name, true, multibyte, compare)
            : findRecord<IniSection>(doc->sections, name, doc->automaticSorting != 0, multibyte,
                                     compare);
    if (found) {
        doc->lastSectionFound = found;
    }
    return found;
}

IniItem *FindItem(IniSection *section, const char *name) {
    if (!name) {
        return nullptr;
    }
    const bool multibyte = isMultibyteMode();
    if (!multibyte) {
        name = skipWhite(name);
    }
    const ListCompareFunction compare = multibyte ? keyWithItemMultibyte : keyWithItemSingleByte;
    if (section->itemIndex) {
        return findRecord<IniItem>(section->itemIndex, name, true, multibyte, compare);
    }
    return findRecord<IniItem>(section->items, name, section->sorted != 0, multibyte, compare);
}

int GetItem(IniDocument *doc, const char *sectionName, const char *itemName, char **value) {
    if (value) {
        *value = nullptr;
    }
    IniSection *section = FindSection(doc, sectionName);
    IniItem *item = section ? FindItem(section, itemName) : nullptr;
    if (!item) {
        return 0;
    }
    if (value) {
        *value = item->value;
    }
    doc->lineOfLastAccess = item->lineNumber;
    return 1;
}

int PutItem(IniDocument *doc, const char *sectionName, const char *itemName, const char *text,
            int quoted) {
    if (!doc || !sectionName || !itemName) {
        return kIniNullArgument;
    }
    IniItem *item = NewItem(itemName, text ? text : "", 0);
    if (!item) {
        return kIniOutOfMemory;
    }
    item->quoted = quoted;
    IniSection *section = FindSection(doc, sectionName);
    if (!section) {
        section = NewSection(sectionName, doc->automaticSorting);
        if (!section) {
            disposeItem(item);
            return kIniOutOfMemory;
        }
        if (!InsertItem(section, item, LIST_END)) {
            disposeItem(item);
            disposeSection(section);
            return kIniOutOfMemory;
        }
        if (!InsertSection(doc, section)) {
            disposeSection(section); // frees the item with it
            return kIniOutOfMemory;
        }
        return 0;
    }
    // The replaced item's place is kept: the new one goes where the earliest of the removed
    // items stood. (Under an item index the removals need not come in list order, and a
    // position remembered from a later item could lie past the shortened list.)
    int position = LIST_END;
    if (doc->duplicateChecking) {
        while (IniItem *old = FindItem(section, itemName)) {
            const int removedAt = RemoveItemFromSection(section, old);
            if (removedAt > 0 && (position == LIST_END || removedAt < position)) {
                position = removedAt;
            }
            disposeItem(old);
        }
    }
    if (!InsertItem(section, item, position)) {
        disposeItem(item);
        return kIniOutOfMemory;
    }
    return 0;
}

IniSection *findOrAddSection(IniDocument *doc, const char *name) {
    if (IniSection *section = FindSection(doc, name)) {
        return section;
    }
    IniSection *section = NewSection(name, doc->automaticSorting);
    if (section && !InsertSection(doc, section)) {
        disposeSection(section);
        section = nullptr;
    }
    return section;
}

} // namespace inifile::detail

using namespace inifile::detail;

IniDocument *Ini_New(int automaticSorting) {
    auto *doc = static_cast<IniDocument *>(tbCalloc(1, sizeof(IniDocument)));
    if (!doc) {
        return nullptr;
    }
    doc->sections = ListCreate(sizeof(IniSection *));
    doc->stringBuffer = NewHandle(0);
    if (!doc->sections || !doc->stringBuffer) {
        ListDispose(doc->sections);
        DisposeHandle(doc->stringBuffer);
        std::free(doc);
        return nullptr;
    }
    doc->automaticSorting = automaticSorting ? 1 : 0;
    doc->lineOfLastAccess = -1;
    std::strcpy(doc->valueSeparator, "=");
    doc->separatorLength = 1;
    std::strcpy(doc->spacedSeparator, " = ");
    doc->spacedSeparatorLength = 3;
    doc->sectionStart = '[';
    doc->sectionEnd = ']';
    std::strcpy(doc->commentMarker, ";");
    doc->duplicateChecking = 1;
    return doc;
}

void Ini_Dispose(IniDocument *doc) {
    if (!doc) {
        return;
    }
    const int count = ListNumItems(doc->sections);
    IniSection **sections = entries<IniSection>(doc->sections);
    for (int i = 0; i < count; ++i) {
        disposeSection(sections[i]);
    }
    ListDispose(doc->sections);
    ListDispose(doc->sectionIndex);
    DisposeHandle(doc->stringBuffer);
    std::free(doc);
}

int Ini_SetTokens(IniDocument *doc, char sectionStart, char sectionEnd, const char *valueSeparator,
                  const char *commentMarker) {
    if (!doc) {
        return kIniNullArgument;
    }
    if (sectionStart) {
        doc->sectionStart = sectionStart;
    }
    if (sectionEnd) {
        doc->sectionEnd = sectionEnd;
    }
    if (valueSeparator && *valueSeparator) {
        StringCopyMax(doc->valueSeparator, valueSeparator, sizeof doc->valueSeparator);
        doc->separatorLength = static_cast<int>(std::strlen(doc->valueSeparator));
        doc->spacedSeparator[0] = ' ';
        std::memcpy(doc->spacedSeparator + 1, doc->valueSeparator, doc->separatorLength);
        doc->spacedSeparator[doc->separatorLength + 1] = ' ';
        doc->spacedSeparator[doc->separatorLength + 2] = '\0';
        doc->spacedSeparatorLength = doc->separatorLength + 2;
    }
    if (commentMarker && *commentMarker) {
        StringCopyMax(doc->commentMarker, commentMarker, sizeof doc->commentMarker);
    }
    return 0;
}

int Ini_SetSectionFilter(IniDocument *doc, Ini_SectionFilterFunc filter, void *filterData) {
    if (!doc) {
        return kIniNullArgument;
    }
    doc->sectionFilter = filter;
    doc->sectionFilterData = filterData;
    return 0;
}

int Ini_SetDuplicateChecking(IniDocument *doc, int enable) {
    if (!doc) {
        return kIniNullArgument;
    }
    const int previous = doc->duplicateChecking;
    doc->duplicateChecking = enable ? 1 : 0;
    return previous;
}

namespace {

// Sorts only a list that is out of order. The sort is not stable, so this keeps entries of
// equal names in their order whenever the text was already in name order (as the writer
// leaves it), and a write-read round trip gives back the same document.
void sortIfNeeded(ListHandle list, ListCompareFunction compare) {
    const int count = ListNumItems(list);
    char *slots = static_cast<char *>(ListGetPtrToItem(list, 1));
    for (int i = 1; i < count; ++i) {
        if (compare(slots + (i - 1) * sizeof(void *), slots + i * sizeof(void *)) > 0) {
            ListQuickSort(list, compare);
            return;
        }
    }
}

} // namespace

void Ini_Sort(IniDocument *doc) {
    if (!doc) {
        return;
    }
    const int count = ListNumItems(doc->sections);
    IniSection **sections = entries<IniSection>(doc->sections);
    for (int i = 0; i < count; ++i) {
        sortIfNeeded(sections[i]->items, compareItemSlots);
        sections[i]->sorted = 1;
    }
    sortIfNeeded(doc->sections, compareSectionSlots);
    doc->automaticSorting = 1;
}

void Ini_DisableSorting(IniDocument *doc) {
    if (!doc) {
        return;
    }
    const int count = ListNumItems(doc->sections);
    IniSection **sections = entries<IniSection>(doc->sections);
    for (int i = 0; i < count; ++i) {
        sections[i]->sorted = 0;
    }
    doc->automaticSorting = 0;
}

int Ini_SortInternally(IniDocument *doc) {
    if (!doc) {
        return kIniNullArgument;
    }
    int result = 0;
    ListDispose(doc->sectionIndex);
    doc->sectionIndex = ListCopy(doc->sections);
    if (!doc->sectionIndex) {
        result = kIniOutOfMemory;
    } else {
        ListQuickSort(doc->sectionIndex, compareSectionSlots);
        const int count = ListNumItems(doc->sections);
        for (int i = 1; i <= count && result == 0; ++i) {
            IniSection *section = entryAt<IniSection>(doc->sections, i);
            ListDispose(section->itemIndex);
            section->itemIndex = ListCopy(section->items);
            if (!section->itemIndex) {
                result = kIniOutOfMemory;
            } else {
                ListQuickSort(section->itemIndex, compareItemSlots);
            }
        }
    }
    if (result != 0) {
        Ini_DisableInternalSorting(doc);
    }
    return result;
}

void Ini_DisableInternalSorting(IniDocument *doc) {
    if (!doc) {
        return;
    }
    ListDispose(doc->sectionIndex);
    doc->sectionIndex = nullptr;
    const int count = ListNumItems(doc->sections);
    IniSection **sections = entries<IniSection>(doc->sections);
    for (int i = 0; i < count; ++i) {
        ListDispose(sections[i]->itemIndex);
        sections[i]->itemIndex = nullptr;
    }
}

int Ini_SectionExists(IniDocument *doc, const char *sectionName) {
    return doc && FindSection(doc, sectionName) ? 1 : 0;
}

int Ini_NumberOfSections(IniDocument *doc) {
    return doc ? ListNumItems(doc->sections) : kIniNullArgument;
}

int Ini_NthSectionName(IniDocument *doc, int n, char **name) {
    if (!doc || !name) {
        return kIniNullArgument;
    }
    if (n < 1 || n > ListNumItems(doc->sections)) {
        return 0;
    }
    *name = entryAt<IniSection>(doc->sections, n)->name;
    return 1;
}

int Ini_NumberOfItems(IniDocument *doc, const char *sectionName) {
    IniSection *section = doc ? FindSection(doc, sectionName) : nullptr;
    return section ? ListNumItems(section->items) : 0;
}

int Ini_NthItemName(IniDocument *doc, const char *sectionName, int n, char **name) {
    if (!doc) {
        return 0;
    }
    if (!name) {
        return kIniNullArgument;
    }
    IniSection *section = FindSection(doc, sectionName);
    if (!section || n < 1 || n > ListNumItems(section->items)) {
        return 0;
    }
    *name = entryAt<IniItem>(section->items, n)->name;
    return 1;
}

int Ini_ItemExists(IniDocument *doc, const char *sectionName, const char *itemName) {
    if (!doc) {
        return kIniNullArgument;
    }
    return GetItem(doc, sectionName, itemName, nullptr);
}

int Ini_ItemOrMultiLineItemExists(IniDocument *doc, const char *sectionName, const char *itemName) {
    return Ini_ItemExists(doc, sectionName, itemName);
}

int Ini_LineOfLastAccess(IniDocument *doc) {
    return doc ? doc->lineOfLastAccess : kIniNullArgument;
}

int Ini_RemoveSection(IniDocument *doc, const char *sectionName) {
    if (!doc) {
        return kIniNullArgument;
    }
    IniSection *section = FindSection(doc, sectionName);
    if (!section) {
        return 0;
    }
    if (doc->sectionIndex) {
        removeFromIndex(doc->sectionIndex, section);
    }
    if (const int position = positionOf(doc->sections, section)) {
        ListRemoveItem(doc->sections, nullptr, position);
    }
    if (doc->lastSectionFound == section) {
        doc->lastSectionFound = nullptr;
    }
    disposeSection(section);
    return 1;
}

int Ini_RemoveItem(IniDocument *doc, const char *sectionName, const char *itemName) {
    if (!doc) {
        return kIniNullArgument;
    }
    IniSection *section = FindSection(doc, sectionName);
    if (!section) {
        return 0;
    }
    int removed = 0;
    while (IniItem *item = FindItem(section, itemName)) {
        RemoveItemFromSection(section, item);
        disposeItem(item);
        removed = 1;
    }
    return removed;
}

namespace {

int copyOneSection(IniDocument *source, IniSection *section, IniDocument *destination,
                   int overwrite) {
    if (overwrite) {
        Ini_RemoveSection(destination, section->name);
    }
    const int count = ListNumItems(section->items);
    for (int i = 1; i <= count; ++i) {
        const char *itemName = entryAt<IniItem>(section->items, i)->name;
        char *value = nullptr;
        if (Ini_GetPointerToRawString(source, section->name, itemName, &value) == 1) {
            const int result = Ini_PutRawString(destination, section->name, itemName, value);
            if (result < 0) {
                return result;
            }
        }
    }
    return 0;
}

} // namespace

int Ini_CopySection(IniDocument *source, const char *sectionName, IniDocument *destination,
                    int overwrite) {
    if (!source || !destination) {
        return kIniNullArgument;
    }
    if (source == destination) {
        return 0;
    }
    if (sectionName) {
        IniSection *section = FindSection(source, sectionName);
        return section ? copyOneSection(source, section, destination, overwrite) : 0;
    }
    const int count = ListNumItems(source->sections);
    for (int i = 1; i <= count; ++i) {
        const int result = copyOneSection(source, entryAt<IniSection>(source->sections, i),
                                          destination, overwrite);
        if (result < 0) {
            return result;
        }
    }
    return 0;
}
