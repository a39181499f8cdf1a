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

}  // namespace

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

TEST_F(ResponseTest, AFailedStatusWhileOfflineSaysSo) {
    tessel::Toolbox::SetOnlineProbe([] { return false; });
    SerpDouble::Options options;
    options.resultFaults[1] = Fault::WithStatus(404);
    SerpDouble server(options);
    server.Start();
    const auto c = DownloadOne(server.PageURL(1));
    EXPECT_FALSE(c.isSuccess);
    EXPECT_EQ(c.number, -2147220735);
    EXPECT_EQ(c.description, "Connection status is offline. ");
    // A good answer never asks whether the machine is online.
    ExpectSuccess(DownloadOne(server.PageURL(2)));
}
