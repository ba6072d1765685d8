// Binary search, the in-place quicksort of lists, and the standard comparators.

#include "toolbox/toolbox.h"
#include "toolbox/list_internal.h"

#include <cstdint>
#include <cstring>

using namespace toolbox::detail;

namespace {

// The pending ranges fit a fixed array: the larger part always waits, so fewer than 32
// ranges ever wait for a list whose count fits an int, and the sort never allocates.
constexpr int kSortStackSize = 49;

using ExchangeFunction = void (*)(char *a, char *b, std::size_t itemSize);

// memcpy keeps the unit accesses free of alignment assumptions; the compiler turns each into
// a plain load and store.
template <typename Unit> void exchangeUnits(char *a, char *b, std::size_t itemSize) {
    for (std::size_t offset = 0; offset < itemSize; offset += sizeof(Unit)) {
        Unit x;
        Unit y;
        std::memcpy(&x, a + offset, sizeof(Unit));
        std::memcpy(&y, b + offset, sizeof(Unit));
        std::memcpy(a + offset, &y, sizeof(Unit));
        std::memcpy(b + offset, &x, sizeof(Unit));
    }
}

ExchangeFunction exchangeFor(std::size_t itemSize) {
    if (itemSize % 4 == 0) {
        return exchangeUnits<std::uint32_t>;
    }
    if (itemSize % 2 == 0) {
        return exchangeUnits<std::uint16_t>;
    }
    return exchangeUnits<std::uint8_t>;
}

struct Sorter {
    ListCompareFunction cmp;
    ExchangeFunction exchange;
    std::size_t itemSize;

    int compare(const char *a, const char *b) const {
        return cmp ? cmp(a, b) : std::memcmp(a, b, itemSize);
    }

    void swap(char *a, char *b) const { exchange(a, b, itemSize); }

    // Orders first, middle and last and returns the middle.
    char *medianOfThree(char *first, char *last) const {
        char *middle = first + (static_cast<std::size_t>(last - first) / itemSize / 2) * itemSize;
        if (compare(first, middle) > 0) {
            swap(first, middle);
        }
        if (compare(first, last) > 0) {
            swap(first, last);
        }
        if (compare(middle, last) > 0) {
            swap(middle, last);
        }
        return middle;
    }

    // Partitions first..last (at least four items) and returns the pivot's final place.
    char *partition(char *first, char *last) const {
        char *median = medianOfThree(first, last);
        char *pivot = last - itemSize;
        if (median != pivot) {
            swap(median, pivot);
        }
        char *i = first;
        char *j = pivot;
        for (;;) {
            // first is no greater and last no smaller than the pivot, so each scan stops in
            // range; the bounds are kept anyway against comparators that are not consistent.
            do {
                i += itemSize;
            } while (i < pivot && compare(i, pivot) < 0);
            do {
                j -= itemSize;
            } while (j > first && compare(j, pivot) > 0);
            if (i >= j) {
                break;
            }
            swap(i, j);
        }
        if (i != pivot) {
            swap(i, pivot);
        }
        return i;
    }
};

} // namespace

int BinSearch(const void *array, int count, int itemSize, const void *key,
              ListCompareFunction cmp) {
    const char *base = static_cast<const char *>(array);
    int low = 0;
    int high = count - 1;
    int middle = 0;
    int result = -1;
    while (low <= high) {
        // The sum is formed in 64 bits: two indexes of a large array overflow an int.
        middle = static_cast<int>((static_cast<std::int64_t>(low) + high) >> 1);
        const char *item = base + static_cast<std::ptrdiff_t>(middle) * itemSize;
        result = cmp ? cmp(key, item) : std::memcmp(key, item, static_cast<std::size_t>(itemSize));
        if (result == 0) {
            return middle;
        }
        if (result < 0) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    if (result > 0) {
        middle = middle + 1;
    }
    return -middle - 1;
}

void ListQuickSort(ListHandle list, ListCompareFunction cmp) {
    if (!list || header(list)->count < 2) {
        return;
    }
    const std::size_t itemSize = static_cast<std::size_t>(header(list)->itemSize);
    const Sorter sorter{cmp, exchangeFor(itemSize), itemSize};

    struct Range {
        char *first;
        char *last;
    };
    Range stack[kSortStackSize];
    int pending = 0;

    char *first = items(list);
    char *last = first + (header(list)->count - 1) * itemSize;
    for (;;) {
        const std::size_t n = first > last ? 0 : (last - first) / itemSize + 1;
        if (n <= 1) {
            if (pending == 0) {
                return;
            }
            --pending;
            first = stack[pending].first;
            last = stack[pending].last;
            continue;
        }
        if (n == 2) {
            if (sorter.compare(first, last) > 0) {
                sorter.swap(first, last);
            }
            first = last; // done
            continue;
        }
        if (n == 3) {
            sorter.medianOfThree(first, last);
            first = last; // done
            continue;
        }
        char *m = sorter.partition(first, last);
        const std::size_t before = (m - first) / itemSize;
        const std::size_t after = (last - m) / itemSize;
        // The larger part waits; the smaller one (with the pivot) is sorted next.
        if (before > after) {
            if (before > 1 && pending < kSortStackSize) {
                stack[pending++] = Range{first, m - itemSize};
            }
            first = m;
        } else {
            if (after > 1 && pending < kSortStackSize) {
                stack[pending++] = Range{m + itemSize, last};
            }
            last = m;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Comparators. The items are read through memcpy so that they need no particular alignment.

namespace {

template <typename T> T load(const void *p) {
    T value;
    std::memcpy(&value, p, sizeof(T));
    return value;
}

template <typename T> int compareOrdered(const void *a, const void *b) {
    const T x = load<T>(a);
    const T y = load<T>(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

// An unordered pair (a NaN on either side) fails both tests and gives 1.
template <typename T> int compareReal(const void *a, const void *b) {
    const T x = load<T>(a);
    const T y = load<T>(b);
    if (y > x) {
        return -1;
    }
    if (y >= x) {
        return 0;
    }
    return 1;
}

} // namespace

int ShortCompare(const void *a, const void *b) {
    return compareOrdered<std::int16_t>(a, b);
}
int IntCompare(const void *a, const void *b) {
    return compareOrdered<std::int32_t>(a, b);
}
int FloatCompare(const void *a, const void *b) {
    return compareReal<float>(a, b);
}
int DoubleCompare(const void *a, const void *b) {
    return compareReal<double>(a, b);
}

// Zero-filled insertions leave null pointers in string lists; they sort before every string
// instead of crashing strcmp.
int CStringCompare(const void *a, const void *b) {
    const char *x = load<const char *>(a);
    const char *y = load<const char *>(b);
    if (!x || !y) {
        return x == y ? 0 : (x ? 1 : -1);
    }
    return std::strcmp(x, y);
}

int CStringNoCaseCompare(const void *a, const void *b) {
    return StrICmp(load<const char *>(a), load<const char *>(b));
}
