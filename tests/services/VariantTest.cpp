#include <gtest/gtest.h>

#include "tessel/RecordNode.h"
#include "tessel/Variant.h"

using tessel::ComError;
using tessel::Variant;
namespace err = tessel::err;

TEST(Variant, EmptyConvertsToTheNeutralValues) {
    const Variant v;
    EXPECT_TRUE(v.IsEmpty());
    EXPECT_EQ(v.ToLong(), 0);
    EXPECT_EQ(v.ToString(), "");
    EXPECT_FALSE(v.ToBool());
}

TEST(Variant, NumbersAndBooleansFollowTheComponentRuntime) {
    EXPECT_EQ(Variant(true).ToLong(), -1);
    EXPECT_EQ(Variant(true).ToString(), "True");
    EXPECT_EQ(Variant(" 42 ").ToLong(), 42);
    EXPECT_EQ(Variant("2.5").ToLong(), 2);  // half-way rounds to even
    EXPECT_EQ(Variant(3.5).ToLong(), 4);
    EXPECT_TRUE(Variant("true").ToBool());
    EXPECT_FALSE(Variant("0").ToBool());
    EXPECT_EQ(Variant(int32_t{-7}).ToString(), "-7");
    EXPECT_EQ(Variant(0.25).ToString(), "0.25");
}

TEST(Variant, ConversionsThatCannotBeMadeRaiseNumberedErrors) {
    const auto number = [](auto&& f) {
        try {
            f();
        } catch (const ComError& e) {
            return e.Number();
        }
        return 0;
    };
    EXPECT_EQ(number([] { (void)Variant("12abc").ToLong(); }), err::kTypeMismatch);
    EXPECT_EQ(number([] { (void)Variant("").ToLong(); }), err::kTypeMismatch);
    EXPECT_EQ(number([] { (void)Variant("maybe").ToBool(); }), err::kTypeMismatch);
    EXPECT_EQ(number([] { (void)Variant(1e12).ToLong(); }), err::kOverflow);
    EXPECT_EQ(number([] { (void)Variant(int32_t{1}).ToObject(); }), err::kObjectRequired);
    auto node = std::make_shared<tessel::RecordNode>();
    EXPECT_EQ(number([&] { (void)Variant(node).ToString(); }), err::kTypeMismatch);
    EXPECT_EQ(number([&] { (void)Variant(node).As<tessel::KeyedCollection>(); }),
              err::kTypeMismatch);
    EXPECT_EQ(Variant(node).As<tessel::RecordNode>(), node);
}

TEST(VariantArray, IsIndexedFromOne) {
    const tessel::VariantArray a{"first", int32_t{2}};
    EXPECT_EQ(a(1).ToString(), "first");
    EXPECT_EQ(a(2).ToLong(), 2);
    EXPECT_THROW((void)a(0), ComError);
    EXPECT_THROW((void)a(3), ComError);
}

TEST(RecordNode, KeepsChildrenAndFieldsInOrder) {
    tessel::RecordNode root;
    root.Fields().Add("NoMorePages", true);
    for (int32_t i = 1; i <= 3; ++i) {
        auto& child = root.Children().Add();
        child.Fields().Add("Pos", i);
    }
    EXPECT_EQ(root.Children().Count(), 3);
    int32_t expected = 1;
    for (const auto& child : root.Children()) {
        EXPECT_EQ(child.Fields().Item("Pos").Values().Item(1).ToLong(), expected++);
    }
    EXPECT_TRUE(root.Fields().Item("NoMorePages").Values().Item(1).ToBool());
    EXPECT_THROW((void)root.Fields().Item("Missing"), ComError);
}
