#include "DownloadFixture.h"
#include "HoldingServer.h"
#include "download/DownloadErrors.h"
#include "platform/KernelObjects.h"
#include "serpdouble/SerpDouble.h"

using serpdouble::Fault;
using serpdouble::SerpDouble;

namespace {

class CancelTest : public dltest::DownloadTest {
  protected:
    void ExpectAllCancelled(std::size_t count) {
        ASSERT_EQ(recorder_->completions.size(), count);
        for (const auto& c : recorder_->completions) {
            EXPECT_FALSE(c.isSuccess);
            EXPECT_EQ(c.number, -2147221504);
            EXPECT_EQ(c.description, "Cancelled");
            EXPECT_EQ(c.page, "");
        }
    }
    platform::Handle OpenCancelEvent() {
        return platform::CreateEventA(true, false, downloader_->CancelEventName);
    }
};

TEST_F(CancelTest, DownloadsCancelledWhileQueuingForASlotNeverReachTheServer) {
    dltest::HoldingServer server("<html>page</html>");
    server.HoldUntilInFlight(6);  // the five that run are held until the test ends
    for (int i = 1; i <= 8; ++i) downloader_->Download(server.Url("/page/" + std::to_string(i)), 0);
    ASSERT_TRUE(server.WaitForRequests(5));
    EXPECT_TRUE(downloader_->IsDownloadingNow());

    // Only the downloader holds the event here: the cancel must outlive its handle until
    // the queued transfers have ended.
    downloader_->CancelAll();
    EXPECT_FALSE(downloader_->IsDownloadingNow()) << "CancelAll empties the table";

    ASSERT_TRUE(PumpUntil([&] { return recorder_->completions.size() == 8; }));
    ExpectAllCancelled(8);  // raised although their entries were gone
    EXPECT_EQ(server.Requests(), 5);
    for (const auto& line : LogLines()) {
        EXPECT_NE(line.source, "CDownloader.moMessanger_MsgArrived") << "a gone entry is no error";
    }
}

TEST_F(CancelTest, ACancelSetBeforeTheDownloadStartsIsReportedWithoutARequest) {
    SerpDouble server;
    server.Start();
    auto cancel = OpenCancelEvent();
    platform::SetEvent(cancel);
    DownloadOne(server.PageURL(1));
    ExpectAllCancelled(1);
    EXPECT_EQ(server.Snapshot().Requests(), 0);
}

TEST_F(CancelTest, ACancelEndsADownloadThatWaitsInTheQueueAndItNeverReachesTheServer) {
    SerpDouble server;
    server.Start();
    downloader_->QueueDelay = std::chrono::hours(1);
    downloader_->Download(server.PageURL(1), 0);
    downloader_->QueueDelay = {};
    EXPECT_TRUE(DownloadOne(server.PageURL(2)).isSuccess) << "later downloads pass it";
    platform::SetEvent(OpenCancelEvent());
    ASSERT_TRUE(PumpUntil([&] { return recorder_->completions.size() == 2; }));
    EXPECT_EQ(recorder_->completions.back().description, "Cancelled");
    EXPECT_EQ(server.Snapshot().pageRequests, 1);
}

TEST_F(CancelTest, ACancelDuringASlowResponseEndsTheWait) {
    SerpDouble::Options options;
    options.resultFaults[1] = Fault::DelayBy(std::chrono::minutes(5));
    SerpDouble server(options);
    server.Start();
    downloader_->Download(server.PageURL(1), 0);
    ASSERT_TRUE(server.WaitFor([](const serpdouble::Stats& s) { return s.pageRequests == 1; },
                               std::chrono::seconds(20)));
    auto cancel = OpenCancelEvent();
    platform::SetEvent(cancel);
    ASSERT_TRUE(PumpUntil([&] { return recorder_->completions.size() == 1; }));
    ExpectAllCancelled(1);
}

TEST_F(CancelTest, ACancelEndsStalledResponsesAndADownloadWaitingForItsSlot) {
    // Only the cancel can end these waits: the time-out lies far beyond the watchdog's.
    UseTimeout(std::chrono::hours(1));
    SerpDouble::Options options;
    for (int i = 1; i <= 6; ++i) options.resultFaults[i] = Fault::StallForever();
    SerpDouble server(options);
    server.Start();
    for (int i = 1; i <= 6; ++i) downloader_->Download(server.PageURL(i), 0);
    ASSERT_TRUE(server.WaitFor([](const serpdouble::Stats& s) { return s.stalled == 5; },
                               std::chrono::seconds(20)));

    platform::SetEvent(OpenCancelEvent());
    ASSERT_TRUE(PumpUntil([&] { return recorder_->completions.size() == 6; }));
    ExpectAllCancelled(6);
    EXPECT_EQ(server.Snapshot().pageRequests, 5) << "the sixth queued for a slot and sent nothing";
}

TEST_F(CancelTest, AfterCancelAllLaterDownloadsStayCancelledUntilTheEventIsReset) {
    SerpDouble server;
    server.Start();
    downloader_->CancelAll();  // nothing held, nothing started: no effect, no failure
    EXPECT_TRUE(DownloadOne(server.PageURL(1)).isSuccess);

    downloader_->CancelAll();
    const auto cancelled = DownloadOne(server.PageURL(2));
    EXPECT_EQ(cancelled.description, "Cancelled")
        << "the event stays set until its owner resets it";

    platform::ResetEvent(OpenCancelEvent());
    const auto after = DownloadOne(server.PageURL(3));
    EXPECT_TRUE(after.isSuccess) << after.description;
}

}  // namespace
