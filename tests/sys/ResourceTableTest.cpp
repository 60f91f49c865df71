#include <gtest/gtest.h>

#include "platform/sys/LinkedResources.h"

TEST(ResourceTable, TypesMatchInAnyCaseAndIdsExactly) {
    static const uint8_t bytes[] = {1, 2, 3};
    sys::ResourceTable table;
    table.Add("MEMFILE", 147, bytes);
    EXPECT_EQ(table.Find("MemFile", 147).size(), 3u);
    EXPECT_EQ(table.Find("memfile", 147).data(), bytes);
    EXPECT_TRUE(table.Find("MEMFILE", 148).empty());
    EXPECT_TRUE(table.Find("MEMFILES", 147).empty());
}
