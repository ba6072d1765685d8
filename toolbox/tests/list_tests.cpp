// Item list container: positions, growth, copying, and a randomized comparison with
// std::vector as the model.

#include "toolbox/toolbox.h"
#include "toolbox/list_internal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace {

struct ListDeleter {
    void operator()(void **list) const { ListDispose(list); }
};
using ListPtr = std::unique_ptr<void *, ListDeleter>;

int capacityOf(ListHandle list) {
    return toolbox::detail::header(list)->capacity;
}

std::vector<int> contents(ListHandle list) {
    std::vector<int> out(static_cast<std::size_t>(ListNumItems(list)));
    if (!out.empty()) {
        ListGetItems(list, out.data(), 1, static_cast<int>(out.size()));
    }
    return out;
}

ListPtr intList(std::initializer_list<int> values) {
    ListPtr list(ListCreate(sizeof(int)));
    for (int v : values) {
        EXPECT_EQ(ListInsertItem(list.get(), &v, LIST_END), 1);
    }
    return list;
}

} // namespace

TEST(ListGrowth, CapacitiesFollowTheGrowthRule) {
    ListPtr list(ListCreate(sizeof(int)));
    EXPECT_EQ(capacityOf(list.get()), 0);
    std::vector<int> seen;
    for (int i = 0; i < 60; ++i) {
        ASSERT_EQ(ListInsertItem(list.get(), &i, LIST_END), 1);
        if (seen.empty() || seen.back() != capacityOf(list.get())) {
            seen.push_back(capacityOf(list.get()));
        }
    }
    EXPECT_EQ(seen, (std::vector<int>{5, 11, 24, 51, 108}));
    EXPECT_EQ(GetHandleSize(list.get()), toolbox::detail::kHeaderBytes + 108 * 4);
}

TEST(ListGrowth, PolicyAndPreAllocation) {
    ListPtr list(ListCreate(sizeof(int)));
    ListSetAllocationPolicy(list.get(), 100, 0);
    int v = 1;
    ASSERT_EQ(ListInsertItem(list.get(), &v, LIST_END), 1);
    EXPECT_EQ(capacityOf(list.get()), 101);

    ListPtr other(ListCreate(sizeof(int)));
    EXPECT_EQ(ListPreAllocate(other.get(), 7), 1);
    EXPECT_EQ(capacityOf(other.get()), 7); // exactly what is missing, no margin
    EXPECT_EQ(ListPreAllocate(other.get(), 3), 1);
    EXPECT_EQ(capacityOf(other.get()), 7);
    EXPECT_EQ(ListPreAllocate(nullptr, 3), 0);
}

TEST(ListGrowth, NegativeOrExtremePolicyStillMakesRoom) {
    ListPtr list(ListCreate(sizeof(int)));
    ListSetAllocationPolicy(list.get(), -50, -300);
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(ListInsertItem(list.get(), &i, LIST_END), 1);
        EXPECT_GE(capacityOf(list.get()), ListNumItems(list.get()));
    }
    EXPECT_EQ(contents(list.get()).back(), 19);

    // The largest percentage: growth from an empty list adds the minimum, with no overflow in
    // the rule's arithmetic.
    ListPtr wide(ListCreate(sizeof(int)));
    ListSetAllocationPolicy(wide.get(), 4, INT32_MAX);
    int v = 1;
    ASSERT_EQ(ListInsertItem(wide.get(), &v, LIST_END), 1);
    EXPECT_EQ(capacityOf(wide.get()), 5);
}

TEST(ListPositions, InsertAtTheEdges) {
    ListPtr list = intList({1, 2, 3});
    int v = 9;
    EXPECT_EQ(ListInsertItem(list.get(), &v, 4), 1); // count + 1 appends
    EXPECT_EQ(contents(list.get()), (std::vector<int>{1, 2, 3, 9}));
    EXPECT_EQ(ListInsertItem(list.get(), &v, 6), 0); // count + 2 fails
    EXPECT_EQ(ListInsertItem(list.get(), &v, -2), 0);
    EXPECT_EQ(ListInsertItem(list.get(), &v, INT32_MIN), 0);
    EXPECT_EQ(contents(list.get()), (std::vector<int>{1, 2, 3, 9}));
    v = 0;
    EXPECT_EQ(ListInsertItem(list.get(), &v, LIST_FRONT), 1);
    EXPECT_EQ(contents(list.get()), (std::vector<int>{0, 1, 2, 3, 9}));
    EXPECT_EQ(ListInsertItems(list.get(), nullptr, 2, 2), 1); // zero-filled
    EXPECT_EQ(contents(list.get()), (std::vector<int>{0, 0, 0, 1, 2, 3, 9}));
    EXPECT_EQ(ListInsertItems(list.get(), &v, 1, 0), 0);
    EXPECT_EQ(ListInsertItem(nullptr, &v, LIST_END), 0);

    ListPtr empty(ListCreate(sizeof(int)));
    v = 5;
    EXPECT_EQ(ListInsertItem(empty.get(), &v, LIST_FRONT), 1);
    EXPECT_EQ(contents(empty.get()), (std::vector<int>{5}));
}

TEST(ListPositions, ReadAndRemoveAtTheEdges) {
    ListPtr list = intList({10, 20, 30, 40});
    int out = 0;
    ListGetItem(list.get(), &out, LIST_END);
    EXPECT_EQ(out, 40);
    ListGetItem(list.get(), &out, LIST_FRONT);
    EXPECT_EQ(out, 10);
    out = -1;
    ListGetItem(list.get(), &out, 5);
    ListGetItem(list.get(), &out, -2);
    EXPECT_EQ(out, -1);
    int two[2] = {};
    ListGetItems(list.get(), two, LIST_END, 2); // beyond the end: nothing
    EXPECT_EQ(two[0], 0);

    ListRemoveItems(list.get(), two, LIST_END, 2); // does nothing
    EXPECT_EQ(ListNumItems(list.get()), 4);
    ListRemoveItems(list.get(), two, 1, 5); // more than the count
    ListRemoveItems(list.get(), two, -3, 1);
    EXPECT_EQ(ListNumItems(list.get()), 4);
    ListRemoveItem(list.get(), &out, LIST_END);
    EXPECT_EQ(out, 40);
    ListRemoveItems(list.get(), two, 1, 2);
    EXPECT_EQ(two[0], 10);
    EXPECT_EQ(two[1], 20);
    EXPECT_EQ(contents(list.get()), (std::vector<int>{30}));
    ListRemoveItem(list.get(), nullptr, LIST_FRONT);
    EXPECT_EQ(ListNumItems(list.get()), 0);
    EXPECT_EQ(capacityOf(list.get()), 5); // capacity never shrinks

    EXPECT_EQ(ListGetPtrToItem(list.get(), LIST_END), nullptr);
    EXPECT_EQ(ListNumItems(nullptr), 0);
    ListRemoveItem(nullptr, &out, 1);
    ListGetItem(nullptr, &out, 1);
}

TEST(ListPositions, PointersAndFind) {
    ListPtr list = intList({7, 8, 7, 9});
    ASSERT_NE(ListGetPtrToItem(list.get(), 2), nullptr);
    EXPECT_EQ(*static_cast<int *>(ListGetPtrToItem(list.get(), 2)), 8);
    EXPECT_EQ(*static_cast<int *>(ListGetPtrToItem(list.get(), LIST_END)), 9);
    EXPECT_EQ(ListGetPtrToItem(list.get(), 5), nullptr);
    EXPECT_EQ(ListGetPtrToItem(list.get(), -2), nullptr);

    int key = 7;
    EXPECT_EQ(ListFindItem(list.get(), &key, LIST_FRONT, IntCompare), 1);
    EXPECT_EQ(ListFindItem(list.get(), &key, 2, IntCompare), 3);
    EXPECT_EQ(ListFindItem(list.get(), &key, 4, nullptr), 0);
    key = 9;
    EXPECT_EQ(ListFindItem(list.get(), &key, LIST_END, nullptr), 4);
    EXPECT_EQ(ListFindItem(list.get(), &key, 5, IntCompare), 0);
    EXPECT_EQ(ListFindItem(list.get(), nullptr, 1, IntCompare), 0);
}

TEST(ListPositions, ItemsAreAlignedForPointers) {
    // Lists of pointers and doubles are read in place through ListGetPtrToItem.
    ListPtr list(ListCreate(sizeof(double)));
    double d = 1.5;
    ListInsertItem(list.get(), &d, LIST_END);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(ListGetPtrToItem(list.get(), 1)) %
                  alignof(std::max_align_t),
              0u);
}

TEST(ListPositions, InsertingItsOwnItemCopiesIt) {
    ListPtr list = intList({1, 2, 3, 4, 5}); // full: the insertion must grow and move the block
    ASSERT_EQ(ListInsertItem(list.get(), ListGetPtrToItem(list.get(), 1), LIST_FRONT), 1);
    ASSERT_EQ(ListInsertItems(list.get(), ListGetPtrToItem(list.get(), 5), 2, 2), 1);
    EXPECT_EQ(contents(list.get()), (std::vector<int>{1, 4, 5, 1, 2, 3, 4, 5}));
}

TEST(ListCopy, CopiesItemsAndPolicy) {
    ListPtr empty(ListCreate(sizeof(int)));
    ListPtr emptyCopy(ListCopy(empty.get()));
    ASSERT_NE(emptyCopy, nullptr);
    EXPECT_EQ(ListNumItems(emptyCopy.get()), 0);
    EXPECT_EQ(capacityOf(emptyCopy.get()), 0);

    ListPtr list = intList({3, 1, 2});
    ListSetAllocationPolicy(list.get(), 7, 30);
    ListPtr copy(ListCopy(list.get()));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(contents(copy.get()), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(capacityOf(copy.get()), 3);
    EXPECT_EQ(toolbox::detail::header(copy.get())->minimumGrowth, 7);
    EXPECT_EQ(toolbox::detail::header(copy.get())->growthPercentage, 30);
    EXPECT_EQ(ListCopy(nullptr), nullptr);
    EXPECT_EQ(ListCreate(0), nullptr);
    EXPECT_EQ(ListCreate(-4), nullptr);
}

// Random inserts, removals and reads at random positions, special positions included,
// mirrored on a std::vector.
TEST(ListModel, RandomOperationsMatchVector) {
    std::mt19937 rng(20261207);
    for (int round = 0; round < 20; ++round) {
        ListPtr list(ListCreate(sizeof(int)));
        std::vector<int> model;
        for (int step = 0; step < 600; ++step) {
            const int count = static_cast<int>(model.size());
            const int op = static_cast<int>(rng() % 6);
            std::uniform_int_distribution<int> posDist(-1, count + 1);
            int position = posDist(rng);
            const int n = 1 + static_cast<int>(rng() % 3);
            if (op <= 2) {
                std::vector<int> values(static_cast<std::size_t>(n));
                for (int &v : values) {
                    v = static_cast<int>(rng());
                }
                const int ok = ListInsertItems(list.get(), values.data(), position, n);
                const bool valid = position >= -1 && position <= count + 1;
                ASSERT_EQ(ok, valid ? 1 : 0);
                if (valid) {
                    std::size_t at = (position == LIST_END || position == count + 1)
                                         ? model.size()
                                         : (position == LIST_FRONT ? 0 : position - 1);
                    model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), values.begin(),
                                 values.end());
                }
            } else if (op <= 4) {
                std::vector<int> out(static_cast<std::size_t>(n), 0);
                int start = position == LIST_FRONT ? 1 : (position == LIST_END ? count : position);
                const bool valid = n <= count && start >= 1 && start + n - 1 <= count;
                ListRemoveItems(list.get(), out.data(), position, n);
                if (valid) {
                    auto first = model.begin() + (start - 1);
                    ASSERT_EQ(out, std::vector<int>(first, first + n));
                    model.erase(first, first + n);
                }
            } else {
                int out = 0;
                ListGetItem(list.get(), &out, position);
                int start = position == LIST_FRONT ? 1 : (position == LIST_END ? count : position);
                if (start >= 1 && start <= count) {
                    ASSERT_EQ(out, model[static_cast<std::size_t>(start - 1)]);
                }
            }
            ASSERT_EQ(ListNumItems(list.get()), static_cast<int>(model.size()));
        }
        ASSERT_EQ(contents(list.get()), model);
    }
}
