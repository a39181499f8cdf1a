#include "DownloadFixture.h"
#include "serpdouble/SerpDouble.h"

using serpdouble::SerpDouble;

namespace {

class RequestHeadersTest : public dltest::DownloadTest {
  protected:
    void SetUp() override {
        DownloadTest::SetUp();
        server_.Start();
    }

    // The headers of the request that fetching `url` with `sizeB` sent.
    serpdouble::RequestRecord Sent(const std::string& url, int32_t sizeB) {
        const auto c = DownloadOne(url, sizeB);
        EXPECT_TRUE(c.isSuccess) << c.description;
        const auto last = server_.Snapshot().last;
        EXPECT_TRUE(last.has_value());
        return last.value_or(serpdouble::RequestRecord{});
    }

    SerpDouble server_;
};

TEST_F(RequestHeadersTest, EveryRequestCarriesAGetHeaderWithItsUrl) {
    const auto url = server_.PageURL(1) + "?a=1&b=two";
    EXPECT_EQ(Sent(url, 0).Header("GET"), url);
}

TEST_F(RequestHeadersTest, BlanksAroundTheUrlAreTrimmedBeforeItTravels) {
    const auto url = server_.PageURL(1);
    const auto record = Sent("   " + url + "  ", 0);
    EXPECT_EQ(record.Header("GET"), url);
    EXPECT_EQ(record.target, "/page/1");
    EXPECT_EQ(recorder_->startedUrls, std::vector<std::string>{url});
}

TEST_F(RequestHeadersTest, ExtraHeadersGoWithLaterDownloadsWhichFollowNoRedirect) {
    downloader_->RequestHeaders = {"X-Subscription-Token: k3y", "Accept: application/json"};
    const auto record = Sent(server_.PageURL(1), 0);
    EXPECT_EQ(record.Header("X-Subscription-Token"), "k3y");
    EXPECT_EQ(record.Header("Accept"), "application/json");

    SerpDouble::Options redirecting;
    redirecting.resultFaults[1] = serpdouble::Fault::RedirectTo(server_.PageURL(2));
    SerpDouble elsewhere(redirecting);
    elsewhere.Start();
    const auto c = DownloadOne(elsewhere.PageURL(1));
    EXPECT_EQ(c.exchange.Status, 302) << "the redirect is the answer";
    EXPECT_EQ(server_.Snapshot().pageRequests, 1) << "the key never reached the other address";

    downloader_->RequestHeaders.clear();
    EXPECT_FALSE(Sent(server_.PageURL(3), 0).Header("X-Subscription-Token"));
    EXPECT_EQ(DownloadOne(elsewhere.PageURL(1)).exchange.Status, 200) << "followed again";
}

TEST_F(RequestHeadersTest, APositiveSizeAsksForThatManyBytes) {
    EXPECT_EQ(Sent(server_.PageURL(1), 1).Header("Range"), "bytes=0-0");
    EXPECT_EQ(Sent(server_.PageURL(1), 4096).Header("Range"), "bytes=0-4095");
    EXPECT_EQ(Sent(server_.PageURL(1), 2147483647).Header("Range"), "bytes=0-2147483646");
}

TEST_F(RequestHeadersTest, ZeroOrANegativeSizeFetchesTheWholeResource) {
    EXPECT_FALSE(Sent(server_.PageURL(1), 0).Header("Range").has_value());
    EXPECT_FALSE(Sent(server_.PageURL(1), -1).Header("Range").has_value());
    EXPECT_FALSE(Sent(server_.PageURL(1), -2147483647 - 1).Header("Range").has_value());
}

TEST_F(RequestHeadersTest, OnlyLowerCaseGoogleInTheUrlSuppressesTheRange) {
    EXPECT_FALSE(Sent(server_.SearchURL("kestrel"), 100).Header("Range").has_value());
    EXPECT_FALSE(Sent(server_.PageURL(1) + "?site=google", 100).Header("Range").has_value());
    EXPECT_EQ(Sent(server_.PageURL(1) + "?site=Google", 100).Header("Range"), "bytes=0-99");
    EXPECT_EQ(Sent(server_.PageURL(1) + "?site=GOOGLE", 100).Header("Range"), "bytes=0-99");
}

}  // namespace
