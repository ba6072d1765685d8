// Handles and the item list container.

#include "toolbox/toolbox.h"
#include "toolbox/list_internal.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>

using namespace toolbox::detail;

namespace {

constexpr int kInitialGrowthPercentage = 10;
constexpr int kInitialMinimumGrowth = 4;

// The largest capacity whose block size still fits the int size of a handle.
std::int64_t maxCapacity(int itemSize) {
    return (INT_MAX - kHeaderBytes) / itemSize;
}

// Resizes the block to exactly newCapacity slots; the capacity field changes only on success.
bool setCapacity(ListHandle list, std::int64_t newCapacity) {
    const int itemSize = header(list)->itemSize;
    if (newCapacity > maxCapacity(itemSize)) {
        return false;
    }
    if (!SetHandleSize(list, kHeaderBytes + static_cast<int>(newCapacity) * itemSize)) {
        return false;
    }
    header(list)->capacity = static_cast<int>(newCapacity);
    return true;
}

// Growth rule: k + max(minimum growth, capacity * (100 + percentage) / 100) slots, so the
// capacity somewhat more than doubles and appending stays amortised constant time.
bool growBy(ListHandle list, std::int64_t k) {
    const ListHeader *h = header(list);
    const std::int64_t capacity = h->capacity;
    // The percentage is widened before adding 100: a policy near INT_MAX must not overflow.
    std::int64_t extra = std::max<std::int64_t>(
        h->minimumGrowth, capacity * (100 + static_cast<std::int64_t>(h->growthPercentage)) / 100);
    // A negative policy must never make the list add fewer slots than it needs.
    extra = std::max<std::int64_t>(extra, 0);
    const std::int64_t needed = capacity + k;
    // Near the int size limit the extra margin is cut rather than failing an insertion that
    // would still fit.
    const std::int64_t wanted = std::min(needed + extra, maxCapacity(h->itemSize));
    if (wanted < needed) {
        return false;
    }
    return setCapacity(list, wanted);
}

// Single ints and pointers are the usual items: a fixed-size copy for them avoids a library
// call per appended item.
void copyBytes(char *target, const char *src, std::size_t bytes) {
    switch (bytes) {
    case 4:
        std::memcpy(target, src, 4);
        break;
    case 8:
        std::memcpy(target, src, 8);
        break;
    default:
        std::memcpy(target, src, bytes);
        break;
    }
}

// Maps LIST_FRONT and LIST_END for reading and removing; 0 when the range is not inside
// the list.
int readPosition(const ListHeader *h, int position, int n) {
    if (position == LIST_FRONT) {
        position = 1;
    } else if (position == LIST_END) {
        position = h->count;
    }
    if (position < 1 || static_cast<std::int64_t>(position) + n - 1 > h->count) {
        return 0;
    }
    return position;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Handles

Handle NewHandle(int size) {
    if (size < 0) {
        return nullptr;
    }
    auto *rec = static_cast<HandleRecord *>(tbMalloc(sizeof(HandleRecord)));
    if (!rec) {
        return nullptr;
    }
    rec->block = nullptr;
    rec->size = 0;
    if (size > 0) {
        rec->block = tbCalloc(1, static_cast<std::size_t>(size));
        if (!rec->block) {
            std::free(rec);
            return nullptr;
        }
        rec->size = size;
    }
    return reinterpret_cast<Handle>(rec);
}

void DisposeHandle(Handle handle) {
    if (!handle) {
        return;
    }
    std::free(record(handle)->block);
    std::free(record(handle));
}

int GetHandleSize(Handle handle) {
    if (!handle) {
        assertFailed("Parameter 1 to GetHandleSize was NULL.", __LINE__, kAssertFile);
    }
    return record(handle)->size;
}

int SetHandleSize(Handle handle, int newSize) {
    if (!handle) {
        assertFailed("Parameter 1 to SetHandleSize was NULL.", __LINE__, kAssertFile);
    }
    HandleRecord *rec = record(handle);
    if (newSize == rec->size) {
        return 1;
    }
    if (newSize < 0) {
        return 0;
    }
    if (newSize == 0) {
        std::free(rec->block);
        rec->block = nullptr;
        rec->size = 0;
        return 1;
    }
    void *block = tbRealloc(rec->block, static_cast<std::size_t>(newSize));
    if (!block) {
        return 0;
    }
    if (newSize > rec->size) {
        std::memset(static_cast<char *>(block) + rec->size, 0,
                    static_cast<std::size_t>(newSize - rec->size));
    }
    rec->block = block;
    rec->size = newSize;
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Lists

ListHandle ListCreate(int itemSize) {
    // An item of no bytes (or fewer) has no position to copy to; refusing it keeps every
    // capacity computation a division by a positive number.
    if (itemSize <= 0) {
        return nullptr;
    }
    ListHandle list = NewHandle(kHeaderBytes);
    if (!list) {
        return nullptr;
    }
    ListHeader *h = header(list);
    h->growthPercentage = kInitialGrowthPercentage;
    h->minimumGrowth = kInitialMinimumGrowth;
    h->capacity = 0;
    h->itemSize = itemSize;
    h->count = 0;
    return list;
}

void ListDispose(ListHandle list) {
    DisposeHandle(list);
}

ListHandle ListCopy(ListHandle list) {
    if (!list) {
        return nullptr;
    }
    const ListHeader *h = header(list);
    const int bytes = h->count * h->itemSize;
    ListHandle copy = NewHandle(kHeaderBytes + bytes);
    if (!copy) {
        return nullptr;
    }
    ListHeader *c = header(copy);
    *c = *h;
    c->capacity = h->count;
    std::memcpy(items(copy), items(list), static_cast<std::size_t>(bytes));
    return copy;
}

int ListNumItems(ListHandle list) {
    return list ? header(list)->count : 0;
}

int ListInsertItem(ListHandle list, const void *item, int position) {
    return ListInsertItems(list, item, position, 1);
}

int ListInsertItems(ListHandle list, const void *itemsIn, int position, int n) {
    if (!list || n <= 0) {
        return 0;
    }
    const ListHeader *h = header(list);
    const int count = h->count;
    const int itemSize = h->itemSize;
    if (position == count + 1) {
        position = LIST_END;
    }
    if (position > count + 1 || position < LIST_FRONT) {
        return 0;
    }
    // Growth refuses a size beyond the int block size, so bytes cannot overflow once the
    // slots exist.
    const std::size_t bytes = static_cast<std::size_t>(n) * static_cast<std::size_t>(itemSize);

    // Items taken from this very list (a pointer from ListGetPtrToItem) would be moved or
    // freed under our feet by the growth and the shift below; copy them out first.
    void *ownCopy = nullptr;
    const char *blockStart = static_cast<const char *>(*list);
    const char *src = static_cast<const char *>(itemsIn);
    if (src && std::less_equal<const char *>()(blockStart, src) &&
        std::less<const char *>()(src, blockStart + GetHandleSize(list))) {
        ownCopy = tbMalloc(bytes);
        if (!ownCopy) {
            return 0;
        }
        std::memcpy(ownCopy, src, bytes);
        src = static_cast<const char *>(ownCopy);
    }

    if (h->capacity - count < n && !growBy(list, n)) {
        std::free(ownCopy);
        return 0;
    }
    if (position == LIST_FRONT) {
        position = count > 0 ? 1 : LIST_END;
    }
    char *base = items(list);
    char *target;
    if (position == LIST_END) {
        target = base + static_cast<std::size_t>(count) * itemSize;
    } else {
        target = base + static_cast<std::size_t>(position - 1) * itemSize;
        std::memmove(target + bytes, target,
                     static_cast<std::size_t>(count - position + 1) * itemSize);
    }
    if (src) {
        copyBytes(target, src, bytes);
    } else {
        std::memset(target, 0, bytes);
    }
    header(list)->count = count + n;
    std::free(ownCopy);
    return 1;
}

void ListRemoveItem(ListHandle list, void *out, int position) {
    ListRemoveItems(list, out, position, 1);
}

void ListRemoveItems(ListHandle list, void *out, int position, int n) {
    if (!list || n <= 0) {
        return;
    }
    ListHeader *h = header(list);
    if (n > h->count) {
        return;
    }
    position = readPosition(h, position, n);
    if (position == 0) {
        return;
    }
    const std::size_t itemSize = static_cast<std::size_t>(h->itemSize);
    char *first = items(list) + (position - 1) * itemSize;
    if (out) {
        std::memcpy(out, first, n * itemSize);
    }
    std::memmove(first, first + n * itemSize,
                 static_cast<std::size_t>(h->count - (position - 1) - n) * itemSize);
    h->count -= n;
}

void ListGetItem(ListHandle list, void *out, int position) {
    ListGetItems(list, out, position, 1);
}

void ListGetItems(ListHandle list, void *out, int position, int n) {
    if (!list || !out || n <= 0) {
        return;
    }
    const ListHeader *h = header(list);
    if (h->count == 0) {
        return;
    }
    position = readPosition(h, position, n);
    if (position == 0) {
        return;
    }
    const std::size_t itemSize = static_cast<std::size_t>(h->itemSize);
    std::memcpy(out, items(list) + (position - 1) * itemSize, n * itemSize);
}

void *ListGetPtrToItem(ListHandle list, int position) {
    if (!list || header(list)->count == 0) {
        return nullptr;
    }
    const ListHeader *h = header(list);
    position = readPosition(h, position, 1);
    if (position == 0) {
        return nullptr;
    }
    return items(list) + static_cast<std::size_t>(position - 1) * h->itemSize;
}

int ListFindItem(ListHandle list, const void *key, int startPosition, ListCompareFunction cmp) {
    if (!list || !key || header(list)->count == 0) {
        return 0;
    }
    const ListHeader *h = header(list);
    startPosition = readPosition(h, startPosition, 1);
    if (startPosition == 0) {
        return 0;
    }
    const std::size_t itemSize = static_cast<std::size_t>(h->itemSize);
    const char *item = items(list) + (startPosition - 1) * itemSize;
    for (int position = startPosition; position <= h->count; ++position, item += itemSize) {
        const int result = cmp ? cmp(key, item) : std::memcmp(key, item, itemSize);
        if (result == 0) {
            return position;
        }
    }
    return 0;
}

int ListBinSearch(ListHandle list, const void *key, ListCompareFunction cmp) {
    if (!list || !key) {
        return 0;
    }
    const ListHeader *h = header(list);
    const int index = BinSearch(items(list), h->count, h->itemSize, key, cmp);
    return index >= 0 ? index + 1 : 0;
}

int ListInsertInOrder(ListHandle list, const void *item, ListCompareFunction cmp) {
    if (!list || !item) {
        return 0;
    }
    const ListHeader *h = header(list);
    if (h->count == 0) {
        return ListInsertItem(list, item, LIST_FRONT);
    }
    const int result = BinSearch(items(list), h->count, h->itemSize, item, cmp);
    // Found: in front of the match; not found: -(insertion index + 1) is the 1-based place.
    int position = result >= 0 ? result + 1 : -result;
    if (position > h->count) {
        position = LIST_END;
    }
    return ListInsertItem(list, item, position);
}

void ListSetAllocationPolicy(ListHandle list, int minimumGrowth, int growthPercentage) {
    if (!list) {
        return;
    }
    header(list)->minimumGrowth = minimumGrowth;
    header(list)->growthPercentage = growthPercentage;
}

int ListPreAllocate(ListHandle list, int n) {
    if (!list) {
        return 0;
    }
    const ListHeader *h = header(list);
    const int spare = h->capacity - h->count;
    if (spare >= n) {
        return 1;
    }
    // Exactly what is missing: the caller knows how many items will come.
    return setCapacity(list, static_cast<std::int64_t>(h->capacity) + (n - spare)) ? 1 : 0;
}
