#include <gtest/gtest.h>

#include "tessel/KeyedCollection.h"

using tessel::ComError;
using tessel::KeyedCollection;

TEST(KeyedCollection, KeepsInsertionOrderAndFindsByKeyAndPosition) {
    KeyedCollection c;
    c.Add("a-item", "a");
    c.Add("unkeyed");
    c.Add("b-item", "b");
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Item("b").ToString(), "b-item");
    EXPECT_EQ(c.Item(2).ToString(), "unkeyed");
    EXPECT_EQ(c.Item(tessel::Variant("a")).ToString(), "a-item");
    EXPECT_EQ(c.Item(tessel::Variant(int32_t{3})).ToString(), "b-item");
    std::vector<std::string> order;
    for (const auto& e : c) order.push_back(e.item.ToString());
    EXPECT_EQ(order, (std::vector<std::string>{"a-item", "unkeyed", "b-item"}));
}

TEST(KeyedCollection, KeysCompareExactly) {
    KeyedCollection c;
    c.Add(1, "http://Example.com/");
    c.Add(2, "http://example.com/");  // another key: case matters
    EXPECT_TRUE(c.Exists("http://Example.com/"));
    EXPECT_FALSE(c.Exists("HTTP://EXAMPLE.COM/"));
    EXPECT_THROW(c.Add(3, "http://example.com/"), ComError);
    EXPECT_EQ(c.Count(), 2);
}

TEST(KeyedCollection, RemovalKeepsTheIndexOfLaterEntries) {
    KeyedCollection c;
    for (int i = 0; i < 5; ++i) c.Add(i, "k" + std::to_string(i));
    c.Remove(1);  // k0
    c.Remove("k2");
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Item("k3").ToLong(), 3);
    EXPECT_EQ(c.Item("k4").ToLong(), 4);
    EXPECT_EQ(c.Item(1).ToLong(), 1);
    EXPECT_FALSE(c.Exists("k0"));
    c.Add(9, "k0");  // a removed key may be used again
    EXPECT_EQ(c.Item(4).ToLong(), 9);
}

TEST(KeyedCollection, MissingKeysAndPositionsFail) {
    KeyedCollection c;
    c.Add(1, "x");
    EXPECT_THROW((void)c.Item("y"), ComError);
    EXPECT_THROW((void)c.Item(0), ComError);
    EXPECT_THROW((void)c.Item(2), ComError);
    EXPECT_THROW(c.Remove("y"), ComError);
    EXPECT_EQ(c.Count(), 1);
}
