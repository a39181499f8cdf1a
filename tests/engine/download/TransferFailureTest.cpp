#include <algorithm>

#include "DownloadFixture.h"
#include "download/DownloadErrors.h"
#include "platform/Transfer.h"
#include "serpdouble/SerpDouble.h"
#include "tessel/Log.h"

using dltest::Completion;
using serpdouble::Fault;
using serpdouble::SerpDouble;

namespace {

class TransferFailureTest : public dltest::DownloadTest {
  protected:
    void ExpectFailure(const Completion& c, int32_t number) {
        EXPECT_FALSE(c.isSuccess);
        EXPECT_EQ(c.number, number) << c.description;
        EXPECT_EQ(c.page, "");
    }

    // The worker's log line for `url` failing with `c`.
    void ExpectLogged(const std::string& url, const Completion& c) {
        const auto lines = LogLines();
        const auto found = std::find_if(lines.begin(), lines.end(), [&](const dltest::LogLine& l) {
            return l.source == "CDLoadWorker.Run";
        });
        ASSERT_NE(found, lines.end()) << LogText();
        EXPECT_EQ(found->level, 4);
        EXPECT_EQ(found->number, c.number);
        EXPECT_EQ(found->message, tessel::Log::Escape(url + ". " + c.description));
    }
};

TEST_F(TransferFailureTest, AServerThatNeverAnswersTimesOut) {
    UseTimeout(std::chrono::milliseconds(300));
    SerpDouble::Options options;
    options.resultFaults[1] = Fault::StallForever();
    SerpDouble server(options);
    server.Start();
    const auto url = server.PageURL(1);
    const auto c = DownloadOne(url);
    ExpectFailure(c, -2147220853);
    EXPECT_EQ(c.description, "Timeout exceeded");
    ExpectLogged(url, c);
    EXPECT_EQ(server.Snapshot().pageRequests, 1);
}

TEST_F(TransferFailureTest, ABodyThatStopsHalfWayIsReportedAsLooping) {
    UseTimeout(std::chrono::milliseconds(1000));
    SerpDouble::Options options;
    options.pageSize = 10'000;
    options.resultFaults[1] = Fault::PartialThenStallAfter(2000);
    SerpDouble server(options);
    server.Start();
    const auto c = DownloadOne(server.PageURL(1));
    ExpectFailure(c, -2147220852);
    EXPECT_EQ(c.description, "Looping in interactive state");
}

TEST_F(TransferFailureTest, ARefusedConnectionKeepsTheClientsNumberAndText) {
    std::string url;
    {
        SerpDouble gone;
        gone.Start();
        url = gone.PageURL(1);
    }  // nothing listens on its port any more
    const auto c = DownloadOne(url);
    ExpectFailure(c, platform::httperr::kTransferFailed);
    EXPECT_FALSE(c.description.empty());
    ExpectLogged(url, c);
}

TEST_F(TransferFailureTest, ARedirectToAFileAddressIsRefused) {
    SerpDouble::Options options;
    options.resultFaults[1] = Fault::RedirectTo("file:///etc/hostname");
    SerpDouble server(options);
    server.Start();
    const auto c = DownloadOne(server.PageURL(1));
    ExpectFailure(c, platform::httperr::kTransferFailed);
    EXPECT_EQ(server.Snapshot().Requests(), 1);
}

TEST_F(TransferFailureTest, AnOversizedBodyFailsWithoutAPage) {
    downloader_->BodyLimitB = 1000;
    SerpDouble::Options options;
    options.pageSize = 5000;
    SerpDouble server(options);
    server.Start();
    const auto c = DownloadOne(server.PageURL(1));
    ExpectFailure(c, platform::httperr::kBodyTooLarge);
    // A byte limit within the cap still works: the server sends only what was asked.
    const auto head = DownloadOne(server.PageURL(1), 500);
    EXPECT_TRUE(head.isSuccess) << head.description;
    EXPECT_EQ(head.page.size(), 500u);
}

TEST_F(TransferFailureTest, AnAddressThatIsNoHttpFailsBeforeAnyRequest) {
    const auto c = DownloadOne("ftp://127.0.0.1/file");
    ExpectFailure(c, platform::httperr::kInvalidArgument);
    ExpectLogged("ftp://127.0.0.1/file", c);
}

}  // namespace
