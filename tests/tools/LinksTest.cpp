#include "serpdouble/Links.h"

#include <gtest/gtest.h>

namespace serpdouble {
namespace {

const std::string kBase = "http://127.0.0.1:8080";

struct KindCase {
    LinkKind kind;
    std::string href;
    std::optional<std::string> link;
};

TEST(Links, EachKindHasItsHrefAndReading) {
    const std::vector<KindCase> cases = {
        {LinkKind::Plain, kBase + "/page/4", kBase + "/page/4"},
        {LinkKind::Pdf, kBase + "/page/4.pdf", kBase + "/page/4.pdf"},
        {LinkKind::PostScriptUpper, kBase + "/page/4.PS", kBase + "/page/4.PS"},
        {LinkKind::Https, "https://127.0.0.1:8080/page/4", "https://127.0.0.1:8080/page/4"},
        {LinkKind::Entities, kBase + "/page/4?a=1&amp;b=2", kBase + "/page/4?a=1&b=2"},
        {LinkKind::UpperScheme, "HTTP://127.0.0.1:8080/page/4", "HTTP://127.0.0.1:8080/page/4"},
        {LinkKind::Relative, "/page/4", std::nullopt},
    };
    for (const auto& c : cases) {
        const LinkKinds kinds = {{4, c.kind}};
        EXPECT_EQ(HrefFor(kBase, 4, kinds), c.href);
        EXPECT_EQ(LinkFor(kBase, 4, kinds), c.link);
    }
}

TEST(Links, RepeatTakesTheNearestEarlierLink) {
    const LinkKinds kinds = {{2, LinkKind::Entities}, {3, LinkKind::Repeat}, {4, LinkKind::Repeat}};
    EXPECT_EQ(HrefFor(kBase, 4, kinds), kBase + "/page/2?a=1&amp;b=2");
    EXPECT_EQ(LinkFor(kBase, 3, kinds), kBase + "/page/2?a=1&b=2");
    EXPECT_EQ(HrefFor(kBase, 5, kinds), kBase + "/page/5");
    EXPECT_EQ(HrefFor(kBase, 1, {{1, LinkKind::Repeat}}), kBase + "/page/1");
}

TEST(Links, KindsAreNamedForTheCommandLine) {
    EXPECT_EQ(LinkKindFromName("ps"), LinkKind::PostScriptUpper);
    EXPECT_EQ(LinkKindFromName("relative"), LinkKind::Relative);
    EXPECT_EQ(LinkKindFromName("PDF"), std::nullopt);
}

}  // namespace
}  // namespace serpdouble
