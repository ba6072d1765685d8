// Allocation failure: every operation that allocates is run with the n-th allocation failing,
// for every n until it succeeds. The documented result must come back, the list or handle must
// be as before, and nothing may leak (the sanitizer build checks leaks on exit).

#include "toolbox/toolbox.h"
#include "toolbox/list_internal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

class AllocationFailure : public ::testing::Test {
protected:
    void TearDown() override { tbFailAllocationsAfter(-1); }
};

std::vector<int> contents(ListHandle list) {
    std::vector<int> out(static_cast<std::size_t>(ListNumItems(list)));
    if (!out.empty()) {
        ListGetItems(list, out.data(), 1, static_cast<int>(out.size()));
    }
    return out;
}

ListHandle fullList(int count) {
    ListHandle list = ListCreate(sizeof(int));
    for (int i = 0; i < count; ++i) {
        ListInsertItem(list, &i, LIST_END);
    }
    return list;
}

// Runs attempt with 0, 1, 2, ... allocations allowed until it reports success; returns how
// many failures it went through.
int failUntilSuccess(const std::function<bool()> &attempt) {
    for (int allowed = 0; allowed < 10; ++allowed) {
        tbFailAllocationsAfter(allowed);
        const bool ok = attempt();
        tbFailAllocationsAfter(-1);
        if (ok) {
            return allowed;
        }
    }
    ADD_FAILURE() << "never succeeded";
    return -1;
}

} // namespace

TEST_F(AllocationFailure, SeamCountsAndFails) {
    tbFailAllocationsAfter(2);
    void *a = tbMalloc(8);
    void *b = tbCalloc(2, 4);
    void *c = tbMalloc(8);
    EXPECT_NE(a, nullptr);
    EXPECT_NE(b, nullptr);
    EXPECT_EQ(c, nullptr);
    EXPECT_EQ(tbRealloc(a, 64), nullptr); // a stays valid
    EXPECT_EQ(tbAllocationCount(), 4);
    tbFailAllocationsAfter(-1);
    EXPECT_EQ(tbAllocationCount(), 0);
    std::free(a);
    std::free(b);
}

TEST_F(AllocationFailure, HandlesAndListCreation) {
    EXPECT_EQ(failUntilSuccess([] {
                  Handle h = NewHandle(100);
                  if (!h) {
                      return false;
                  }
                  EXPECT_EQ(GetHandleSize(h), 100);
                  DisposeHandle(h);
                  return true;
              }),
              2); // the record, then the block

    Handle h = NewHandle(4);
    std::memcpy(*h, "abc", 4);
    tbFailAllocationsAfter(0);
    EXPECT_EQ(SetHandleSize(h, 4000), 0);
    EXPECT_EQ(GetHandleSize(h), 4);
    EXPECT_STREQ(static_cast<char *>(*h), "abc");
    EXPECT_EQ(SetHandleSize(h, 4), 1); // unchanged size needs no memory
    EXPECT_EQ(SetHandleSize(h, 0), 1); // nor does releasing the block
    EXPECT_EQ(*h, nullptr);
    tbFailAllocationsAfter(-1);
    EXPECT_EQ(SetHandleSize(h, 3), 1);
    EXPECT_EQ(std::memcmp(*h, "\0\0\0", 3), 0); // added bytes are zero
    DisposeHandle(h);

    failUntilSuccess([] {
        ListHandle list = ListCreate(8);
        ListDispose(list);
        return list != nullptr;
    });
    ListHandle source = fullList(9);
    failUntilSuccess([source] {
        ListHandle copy = ListCopy(source);
        if (!copy) {
            return false;
        }
        EXPECT_EQ(contents(copy), contents(source));
        ListDispose(copy);
        return true;
    });
    ListDispose(source);
}

TEST_F(AllocationFailure, GrowingInsertionsLeaveTheListUnchanged) {
    ListHandle list = fullList(5); // capacity 5: the next insertion must grow
    const std::vector<int> before = contents(list);
    const int values[] = {100, 101, 102};
    EXPECT_EQ(failUntilSuccess([&] {
                  const int ok = ListInsertItem(list, &values[0], 2);
                  if (!ok) {
                      EXPECT_EQ(contents(list), before);
                      EXPECT_EQ(toolbox::detail::header(list)->capacity, 5);
                  }
                  return ok == 1;
              }),
              1);
    ListSetAllocationPolicy(list, 0, 0);
    const std::vector<int> middle = contents(list);
    failUntilSuccess([&] {
        const int capacity = toolbox::detail::header(list)->capacity;
        const int ok = ListInsertItems(list, values, LIST_FRONT, 3);
        if (!ok) {
            EXPECT_EQ(contents(list), middle);
            EXPECT_EQ(toolbox::detail::header(list)->capacity, capacity);
        }
        return ok == 1;
    });
    EXPECT_EQ(ListNumItems(list), 9);
    const std::vector<int> full = contents(list);
    failUntilSuccess([&] {
        const int v = 50;
        const int ok = ListInsertInOrder(list, &v, IntCompare);
        if (!ok) {
            EXPECT_EQ(contents(list), full);
        }
        return ok == 1;
    });
    failUntilSuccess([&] {
        const int count = ListNumItems(list);
        const int ok = ListPreAllocate(list, 1000);
        EXPECT_EQ(ListNumItems(list), count);
        return ok == 1;
    });
    EXPECT_GE(toolbox::detail::header(list)->capacity, ListNumItems(list) + 1000);
    ListDispose(list);
}

TEST_F(AllocationFailure, InsertingOwnItemFailsCleanly) {
    ListHandle list = fullList(5);
    const std::vector<int> before = contents(list);
    failUntilSuccess([&] {
        const int ok = ListInsertItem(list, ListGetPtrToItem(list, 3), LIST_FRONT);
        if (!ok) {
            EXPECT_EQ(contents(list), before);
        }
        return ok == 1;
    });
    EXPECT_EQ(contents(list).front(), 2);
    ListDispose(list);
}

TEST_F(AllocationFailure, StringsReturnNull) {
    tbFailAllocationsAfter(0);
    EXPECT_EQ(StrDup("abc"), nullptr);
    EXPECT_EQ(StrDupWithoutSurrWhiteSpace(" abc "), nullptr);
    EXPECT_EQ(ConvertDataToText("ab", 2), nullptr);
    void *data = &data;
    int size = 7;
    EXPECT_EQ(ConvertTextToData("ABCD", &data, &size), 0);
    EXPECT_EQ(data, &data);
    EXPECT_EQ(size, 7);
}
