#include <gtest/gtest.h>

#include "parser/BoldTags.h"

namespace {

using fetchcore::parser::StripBoldTags;

TEST(BoldTags, AreRemovedInAnyLetterCase) {
    EXPECT_EQ(StripBoldTags("a<b>b</b>c<B>d</B>e</b><B>"), "abcde");
    EXPECT_EQ(StripBoldTags("<b><b><b>"), "");
    EXPECT_EQ(StripBoldTags("no tags here"), "no tags here");
    EXPECT_EQ(StripBoldTags(""), "");
}

TEST(BoldTags, OtherTagsAndCutOffTagsStay) {
    EXPECT_EQ(StripBoldTags("<br><body><bb></bx></ b><b >"), "<br><body><bb></bx></ b><b >");
    EXPECT_EQ(StripBoldTags("x<b"), "x<b");
    EXPECT_EQ(StripBoldTags("x</B"), "x</B");
    EXPECT_EQ(StripBoldTags("\xc3\xa9<b>\xff</b>"), "\xc3\xa9\xff");
}

TEST(BoldTags, OpeningTagsGoFirstAndNeitherPassRescansItsOwnResult) {
    EXPECT_EQ(StripBoldTags("</<b>b>"), "");     // the first pass forms a closing tag
    EXPECT_EQ(StripBoldTags("<<b>b>"), "<b>");   // a tag formed by the first pass stays
    EXPECT_EQ(StripBoldTags("<</b>b>"), "<b>");  // and one formed by the second pass too
    EXPECT_EQ(StripBoldTags("<</B>/B>>"), "</B>>");
}

}  // namespace
