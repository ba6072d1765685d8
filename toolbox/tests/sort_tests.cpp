// Quicksort against std::sort, binary search and insertion in order, and the comparators.

#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

enum class Shape { Random, FewKeys, Sorted, Reversed, AllEqual };

// g++ 12 at -O3 reports -Wstringop-overread inside std::sort's memcmp of byte vectors, for a
// length range it derives from nothing in this code: a false alarm of that compiler, silenced
// for this one function only.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wstringop-overread"
#endif
void sortByteStrings(std::vector<Bytes> &items) {
    std::sort(items.begin(), items.end());
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

// count items of itemSize bytes as one byte string.
Bytes makeItems(std::mt19937 &rng, int count, int itemSize, Shape shape) {
    Bytes bytes(static_cast<std::size_t>(count) * itemSize);
    const unsigned alphabet = shape == Shape::FewKeys ? 3 : 256;
    for (auto &b : bytes) {
        b = shape == Shape::AllEqual ? 0x5A : static_cast<unsigned char>(rng() % alphabet);
    }
    if (shape == Shape::Sorted || shape == Shape::Reversed) {
        std::vector<Bytes> items;
        for (int i = 0; i < count; ++i) {
            items.emplace_back(bytes.begin() + i * itemSize, bytes.begin() + (i + 1) * itemSize);
        }
        sortByteStrings(items);
        if (shape == Shape::Reversed) {
            std::reverse(items.begin(), items.end());
        }
        bytes.clear();
        for (auto &item : items) {
            bytes.insert(bytes.end(), item.begin(), item.end());
        }
    }
    return bytes;
}

Bytes sortWithList(const Bytes &input, int itemSize, ListCompareFunction cmp) {
    ListHandle list = ListCreate(itemSize);
    const int count = static_cast<int>(input.size()) / itemSize;
    if (count > 0) {
        EXPECT_EQ(ListInsertItems(list, input.data(), LIST_END, count), 1);
    }
    ListQuickSort(list, cmp);
    Bytes out(input.size());
    if (count > 0) {
        ListGetItems(list, out.data(), 1, count);
    }
    ListDispose(list);
    return out;
}

// The reference: std::sort over the items as byte strings, which is what memcmp orders.
Bytes sortWithStd(const Bytes &input, int itemSize) {
    std::vector<Bytes> items;
    for (std::size_t i = 0; i < input.size(); i += itemSize) {
        items.emplace_back(input.begin() + i, input.begin() + i + itemSize);
    }
    sortByteStrings(items);
    Bytes out;
    for (auto &item : items) {
        out.insert(out.end(), item.begin(), item.end());
    }
    return out;
}

// Sorts the values in a list with cmp and expects the order std::sort gives them.
template <typename T> void expectSortedByValue(std::vector<T> values, ListCompareFunction cmp) {
    ListHandle list = ListCreate(sizeof(T));
    ListInsertItems(list, values.data(), LIST_END, static_cast<int>(values.size()));
    ListQuickSort(list, cmp);
    std::vector<T> sorted(values.size());
    ListGetItems(list, sorted.data(), 1, static_cast<int>(sorted.size()));
    ListDispose(list);
    std::sort(values.begin(), values.end());
    EXPECT_EQ(sorted, values);
}

int firstByteCompare(const void *a, const void *b) {
    return *static_cast<const unsigned char *>(a) - *static_cast<const unsigned char *>(b);
}

} // namespace

TEST(ListQuickSort, MatchesStdSortForEveryItemSizeAndShape) {
    std::mt19937 rng(4711);
    const Shape shapes[] = {Shape::Random, Shape::FewKeys, Shape::Sorted, Shape::Reversed,
                            Shape::AllEqual};
    for (int itemSize : {1, 2, 3, 4, 8, 12}) {
        for (Shape shape : shapes) {
            for (int count : {0, 1, 2, 3, 4, 5, 7, 16, 33, 100, 1000, 5000}) {
                const Bytes input = makeItems(rng, count, itemSize, shape);
                ASSERT_EQ(sortWithList(input, itemSize, nullptr), sortWithStd(input, itemSize))
                    << "item size " << itemSize << ", count " << count << ", shape "
                    << static_cast<int>(shape);
            }
        }
    }
}

TEST(ListQuickSort, KeyComparatorGivesOrderedPermutation) {
    // With a comparator that sees only part of the item, equal keys hide different items:
    // the order of the keys and the multiset of the items must both come out right.
    std::mt19937 rng(99);
    for (int itemSize : {1, 3, 12}) {
        const Bytes input = makeItems(rng, 3000, itemSize, Shape::Random);
        const Bytes out = sortWithList(input, itemSize, firstByteCompare);
        for (std::size_t i = itemSize; i < out.size(); i += itemSize) {
            ASSERT_LE(out[i - itemSize], out[i]);
        }
        EXPECT_EQ(sortWithStd(out, itemSize), sortWithStd(input, itemSize));
    }
}

TEST(ListQuickSort, TypedComparatorsSortByValue) {
    std::mt19937 rng(7);
    std::vector<int> ints(10000);
    for (int &v : ints) {
        v = static_cast<int>(rng() % 200) - 100; // many equal keys, negatives
    }
    ints.push_back(std::numeric_limits<int>::min());
    ints.push_back(std::numeric_limits<int>::max());
    expectSortedByValue(ints, IntCompare);
    expectSortedByValue(std::vector<short>{5, -3, 32767, -32768, 0, 5}, ShortCompare);
}

TEST(ListQuickSort, NullComparatorOrdersByBytes) {
    // Little-endian images: 256 = 00 01 00 00 sorts before 1 = 01 00 00 00.
    ListHandle list = ListCreate(sizeof(int));
    for (int v : {1, 256, 2}) {
        ListInsertItem(list, &v, LIST_END);
    }
    ListQuickSort(list, nullptr);
    int out[3];
    ListGetItems(list, out, 1, 3);
    EXPECT_EQ(out[0], 256);
    EXPECT_EQ(out[1], 1);
    EXPECT_EQ(out[2], 2);
    ListDispose(list);
    ListQuickSort(nullptr, IntCompare);
}

TEST(BinSearch, FindsAndEncodesInsertionPlace) {
    const int sorted[] = {10, 20, 30};
    int key = 25;
    EXPECT_EQ(BinSearch(sorted, 3, sizeof(int), &key, IntCompare), -3);
    key = 5;
    EXPECT_EQ(BinSearch(sorted, 3, sizeof(int), &key, IntCompare), -1);
    key = 35;
    EXPECT_EQ(BinSearch(sorted, 3, sizeof(int), &key, IntCompare), -4);
    key = 30;
    EXPECT_EQ(BinSearch(sorted, 3, sizeof(int), &key, nullptr), 2);
    EXPECT_EQ(BinSearch(sorted, 0, sizeof(int), &key, IntCompare), -1);

    // Every insertion index of a longer array.
    std::vector<int> evens;
    for (int i = 0; i < 50; ++i) {
        evens.push_back(2 * i);
    }
    for (int k = -1; k < 100; ++k) {
        const int r = BinSearch(evens.data(), 50, sizeof(int), &k, IntCompare);
        if (k % 2 == 0) {
            EXPECT_EQ(r, k / 2);
        } else {
            EXPECT_EQ(r, -((k + 1) / 2) - 1) << k;
        }
    }
}

TEST(BinSearch, ListSearchAndInsertInOrder) {
    ListHandle list = ListCreate(sizeof(int));
    int key = 20;
    EXPECT_EQ(ListBinSearch(list, &key, IntCompare), 0);
    for (int v : {10, 20, 30}) {
        ASSERT_EQ(ListInsertInOrder(list, &v, IntCompare), 1);
    }
    EXPECT_EQ(ListBinSearch(list, &key, IntCompare), 2);
    EXPECT_EQ(ListBinSearch(list, nullptr, IntCompare), 0);
    EXPECT_EQ(ListBinSearch(nullptr, &key, IntCompare), 0);
    key = 25;
    EXPECT_EQ(ListBinSearch(list, &key, IntCompare), 0);
    ASSERT_EQ(ListInsertInOrder(list, &key, IntCompare), 1);
    EXPECT_EQ(*static_cast<int *>(ListGetPtrToItem(list, 3)), 25);
    key = 99;
    ASSERT_EQ(ListInsertInOrder(list, &key, IntCompare), 1);
    EXPECT_EQ(*static_cast<int *>(ListGetPtrToItem(list, LIST_END)), 99);
    EXPECT_EQ(ListInsertInOrder(list, nullptr, IntCompare), 0);
    ListDispose(list);
}

TEST(BinSearch, InsertInOrderKeepsRandomListSorted) {
    // Records whose first int is the key: equal keys must go in front of the match found.
    struct Record {
        int key;
        int serial;
    };
    std::mt19937 rng(3);
    ListHandle list = ListCreate(sizeof(Record));
    for (int i = 0; i < 2000; ++i) {
        Record r{static_cast<int>(rng() % 50), i};
        const int before = ListNumItems(list);
        ASSERT_EQ(ListInsertInOrder(list, &r, IntCompare), 1);
        const int at = ListFindItem(list, &r, 1, [](const void *a, const void *b) {
            return std::memcmp(a, b, sizeof(Record));
        });
        ASSERT_GT(at, 0);
        if (at < before + 1) {
            EXPECT_EQ(IntCompare(ListGetPtrToItem(list, at + 1), &r) >= 0, true);
        }
    }
    for (int i = 2; i <= ListNumItems(list); ++i) {
        ASSERT_LE(IntCompare(ListGetPtrToItem(list, i - 1), ListGetPtrToItem(list, i)), 0);
    }
    ListDispose(list);
}

TEST(Comparators, OrderAndUnorderedReals) {
    const float nanF = std::numeric_limits<float>::quiet_NaN();
    const float one = 1.0F;
    const float two = 2.0F;
    EXPECT_EQ(FloatCompare(&one, &two), -1);
    EXPECT_EQ(FloatCompare(&two, &one), 1);
    EXPECT_EQ(FloatCompare(&one, &one), 0);
    EXPECT_EQ(FloatCompare(&nanF, &one), 1);
    EXPECT_EQ(FloatCompare(&one, &nanF), 1);
    const double nanD = std::nan("");
    const double a = -0.0;
    const double b = 0.0;
    EXPECT_EQ(DoubleCompare(&a, &b), 0);
    EXPECT_EQ(DoubleCompare(&nanD, &nanD), 1);
    const short s1 = -32768;
    const short s2 = 32767;
    EXPECT_EQ(ShortCompare(&s1, &s2), -1);
    const int i1 = std::numeric_limits<int>::min();
    const int i2 = std::numeric_limits<int>::max();
    EXPECT_EQ(IntCompare(&i2, &i1), 1); // no subtraction overflow

    const char *x = "Apfel";
    const char *y = "apfel";
    const char *z = "Birne";
    EXPECT_GT(CStringCompare(&y, &x), 0);
    EXPECT_EQ(CStringNoCaseCompare(&x, &y), 0);
    EXPECT_LT(CStringNoCaseCompare(&y, &z), 0);
    const char *none = nullptr;
    EXPECT_LT(CStringCompare(&none, &x), 0);
    EXPECT_GT(CStringNoCaseCompare(&x, &none), 0);
    EXPECT_EQ(CStringCompare(&none, &none), 0);
}
