#include "serpdouble/PageContent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace serpdouble {
namespace {

const PageContent kAll[] = {PageContent::Text, PageContent::HighBytes, PageContent::Binary};

TEST(PageContent, BodyHasExactlyTheAskedSizeAndNeverChanges) {
    for (const auto content : kAll) {
        for (const std::size_t size : {0u, 1u, 61u, 4096u, 300000u}) {
            const auto body = PageBody(7, size, content);
            EXPECT_EQ(body.size(), size);
            EXPECT_EQ(body, PageBody(7, size, content));
        }
        EXPECT_NE(PageBody(7, 4096, content), PageBody(8, 4096, content));
    }
}

TEST(PageContent, TextIsPrintableAscii) {
    const auto body = PageBody(3, 20000, PageContent::Text);
    EXPECT_TRUE(std::all_of(body.begin(), body.end(),
                            [](char c) { return c == '\n' || (c >= 0x20 && c < 0x7F); }));
}

TEST(PageContent, HighBytesHoldBytesAbove127ButNoNul) {
    const auto body = PageBody(3, 20000, PageContent::HighBytes);
    std::set<unsigned char> high;
    for (const char c : body) {
        if (static_cast<unsigned char>(c) > 127) high.insert(static_cast<unsigned char>(c));
    }
    EXPECT_EQ(high.size(), 128u);
    EXPECT_EQ(body.find('\0'), std::string::npos);
}

TEST(PageContent, BinaryHoldsEveryByteValue) {
    const auto body = PageBody(3, 4096, PageContent::Binary);
    const std::set<char> values(body.begin(), body.end());
    EXPECT_EQ(values.size(), 256u);
}

TEST(PageContent, NamesForTheCommandLine) {
    EXPECT_EQ(PageContentFromName("binary"), PageContent::Binary);
    EXPECT_EQ(PageContentFromName("high"), PageContent::HighBytes);
    EXPECT_EQ(PageContentFromName("latin1"), std::nullopt);
}

}  // namespace
}  // namespace serpdouble
