#include <atomic>

#include "DownloadFixture.h"
#include "download/DownloadErrors.h"
#include "serpdouble/SerpDouble.h"
#include "tessel/Toolbox.h"

using dltest::Completion;
using serpdouble::Fault;
using serpdouble::PageContent;
using serpdouble::SerpDouble;

namespace {

class ResponseTest : public dltest::DownloadTest {
  protected:
    static SerpDouble::Options Pages(PageContent content, std::size_t size) {
        SerpDouble::Options options;
        options.content = content;
        options.pageSize = size;
        return options;
    }
};

void ExpectSuccess(const Completion& c) {
    EXPECT_TRUE(c.isSuccess) << c.description;
    EXPECT_EQ(c.number, 0);
    EXPECT_EQ(c.description, "");
}

TEST_F(ResponseTest, ThePageIsTheBodyByteForByte) {
    SerpDouble server(Pages(PageContent::Binary, 70'000));
    server.Start();
    const auto binary = DownloadOne(server.PageURL(1));
    ExpectSuccess(binary);
    ASSERT_EQ(binary.page.size(), 70'000u);
    EXPECT_NE(binary.page.find('\0'), std::string::npos);
    EXPECT_EQ(binary.page, server.ExpectedBody(1));
}

TEST_F(ResponseTest, BytesOver127SurviveInALargeBody) {
    auto options = Pages(PageContent::HighBytes, 4096);
    options.pageSizes[2] = 5 * 1024 * 1024;
    SerpDouble server(options);
    server.Start();
    const auto large = DownloadOne(server.PageURL(2));
    ExpectSuccess(large);
    EXPECT_EQ(large.page.size(), 5u * 1024 * 1024);
    EXPECT_TRUE(large.page == server.ExpectedBody(2)) << "the 5 MB page differs";
}

TEST_F(ResponseTest, PartialContentRedirectStatusAndNotModifiedCountAsSuccess) {
    SerpDouble::Options options = Pages(PageContent::Text, 1000);
    options.resultFaults[2] = Fault::WithStatus(302);  // no Location: the 302 is final
    options.resultFaults[3] = Fault::WithStatus(304);
    SerpDouble server(options);
    server.Start();

    const auto partial = DownloadOne(server.PageURL(1), 100);
    ExpectSuccess(partial);
    EXPECT_EQ(partial.page, server.ExpectedBody(1).substr(0, 100)) << "206 with the first bytes";

    const auto found = DownloadOne(server.PageURL(2));
    ExpectSuccess(found);
    EXPECT_NE(found.page.find("302"), std::string::npos) << "whatever body came";

    ExpectSuccess(DownloadOne(server.PageURL(3)));
}

TEST_F(ResponseTest, OtherStatusesFailWithTheirStatusTextWhileOnline) {
    SerpDouble::Options options;
    options.resultFaults[1] = Fault::WithStatus(301);
    options.resultFaults[2] = Fault::WithStatus(404);
    options.resultFaults[3] = Fault::WithStatus(500);
    SerpDouble server(options);
    server.Start();
    const std::pair<int, const char*> cases[] = {
        {1, "Moved Permanently"}, {2, "Not Found"}, {3, "Internal Server Error"}};
    for (const auto& [result, text] : cases) {
        const auto c = DownloadOne(server.PageURL(result));
        EXPECT_FALSE(c.isSuccess);
        EXPECT_EQ(c.number, fetchcore::dlerr::kStatus);
        EXPECT_EQ(c.number, -2147220851);
        EXPECT_EQ(c.description, text);
        EXPECT_EQ(c.page, "") << "a failure carries no page";
    }
}

TEST_F(ResponseTest, AFailedStatusWhileOfflineSaysSoAndOnlyAFailedStatusAsks) {
    auto asked = std::make_shared<std::atomic<int>>(0);
    auto settings = Online();
    settings.isOnline = [asked] {
        ++*asked;
        return false;
    };
    Use(settings);
    SerpDouble::Options options;
    options.resultFaults[1] = Fault::WithStatus(404);
    options.resultFaults[3] = Fault::StallForever();
    SerpDouble server(options);
    server.Start();
    ExpectSuccess(DownloadOne(server.PageURL(2)));
    UseTimeout(std::chrono::milliseconds(300));
    EXPECT_EQ(DownloadOne(server.PageURL(3)).description, "Timeout exceeded");
    EXPECT_EQ(*asked, 0) << "a good answer or none at all does not ask";
    Use(settings);
    const auto c = DownloadOne(server.PageURL(1));
    EXPECT_FALSE(c.isSuccess);
    EXPECT_EQ(c.number, -2147220735);
    EXPECT_EQ(c.description, "Connection status is offline. ");
    EXPECT_EQ(*asked, 1);
}

TEST_F(ResponseTest, TheResultCarriesTheExchangeWithEveryHop) {
    SerpDouble::Options options;
    SerpDouble server(options);
    server.Start();
    SerpDouble::Options redirecting;
    redirecting.resultFaults[1] = Fault::RedirectTo(server.PageURL(2), 301);
    SerpDouble first(redirecting);
    first.Start();
    const auto before = std::chrono::system_clock::now();
    const auto c = DownloadOne(first.PageURL(1));
    ExpectSuccess(c);
    EXPECT_EQ(c.page, server.ExpectedBody(2));
    EXPECT_EQ(c.exchange.Status, 200);
    EXPECT_EQ(c.exchange.FinalURL, server.PageURL(2));
    EXPECT_NE(c.exchange.ContentType.find("text/html"), std::string::npos)
        << c.exchange.ContentType;
    ASSERT_EQ(c.exchange.Hops.size(), 2u);
    EXPECT_EQ(c.exchange.Hops[0].status, 301);
    EXPECT_EQ(c.exchange.Hops[0].Header("location"), server.PageURL(2));
    EXPECT_EQ(c.exchange.Hops[0].ip, "127.0.0.1");
    EXPECT_EQ(c.exchange.Hops[1].status, 200);
    EXPECT_TRUE(c.exchange.Hops[1].statusLine.starts_with("HTTP/1.1 200"))
        << c.exchange.Hops[1].statusLine;
    EXPECT_GE(c.exchange.ReceivedAt, before);

    const std::string page = server.PageURL(1);
    const auto refused = DownloadOne(page.substr(0, page.find("/page/")) + "/nowhere");
    EXPECT_FALSE(refused.isSuccess);
    EXPECT_EQ(refused.exchange.Status, 404) << "a refused answer still tells its status";
    EXPECT_EQ(refused.exchange.RefusedBody, "Not Found") << "and what its body said";
    EXPECT_EQ(refused.page, "");
    EXPECT_EQ(c.exchange.RefusedBody, "") << "an accepted body is the page, not a refusal";
}

}  // namespace
