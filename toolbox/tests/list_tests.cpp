#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

TEST(ListBasics, CreatesEmptyList) {
    ListHandle list = ListCreate(4);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ListNumItems(list), 0);
    ListDispose(list);
}
