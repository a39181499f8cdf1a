#include <algorithm>

#include <thread>

#include "DownloadFixture.h"
#include "HoldingServer.h"

using dltest::HoldingServer;

namespace {

class ConcurrencyTest : public dltest::DownloadTest {
  protected:
    bool AllSucceeded() const {
        return std::all_of(recorder_->completions.begin(), recorder_->completions.end(),
                           [](const dltest::Completion& c) { return c.isSuccess; });
    }
    std::size_t Completes() const { return recorder_->completions.size(); }
};

TEST_F(ConcurrencyTest, TwentyDownloadsFetchFiveAtOnceAndNeverMore) {
    HoldingServer server("<html>page</html>");
    server.HoldUntilInFlight(5);
    for (int i = 1; i <= 20; ++i)
        downloader_->Download(server.Url("/page/" + std::to_string(i)), 0);
    ASSERT_TRUE(PumpUntil([&] { return Completes() == 20; }));
    EXPECT_TRUE(AllSucceeded());
    EXPECT_EQ(server.MaxInFlight(), 5);
    EXPECT_EQ(server.Requests(), 20);
    EXPECT_FALSE(downloader_->IsDownloadingNow());
}

TEST_F(ConcurrencyTest, DownloadersOfOneSaverShareItsFiveSlots) {
    HoldingServer server("<html>page</html>");
    server.HoldUntilInFlight(5);
    fetchcore::CDownloader other(service_);
    dltest::Recorder otherRecorder(other);
    other.Init(log_);
    other.CancelEventName = downloader_->CancelEventName;
    for (int i = 1; i <= 8; ++i) {
        downloader_->Download(server.Url("/page/" + std::to_string(i)), 0);
        other.Download(server.Url("/page/" + std::to_string(100 + i)), 0);
    }
    ASSERT_TRUE(
        PumpUntil([&] { return Completes() == 8 && otherRecorder.completions.size() == 8; }));
    EXPECT_TRUE(AllSucceeded());
    EXPECT_EQ(server.MaxInFlight(), 5);
}

TEST_F(ConcurrencyTest, TheTwelfthDownloadWaitsUntilACompleteMakesRoom) {
    HoldingServer server("<html>page</html>");
    server.HoldUntilInFlight(5);
    for (int i = 1; i <= 11; ++i)
        downloader_->Download(server.Url("/page/" + std::to_string(i)), 0);
    EXPECT_EQ(recorder_->startedUrls.size(), 11u) << "up to eleven start without waiting";
    EXPECT_TRUE(recorder_->completions.empty());

    const auto twelfth = server.Url("/page/12");
    downloader_->Download(twelfth, 0);
    const auto& seq = recorder_->sequence;
    const auto firstComplete = std::find_if(
        seq.begin(), seq.end(), [](const std::string& e) { return e.starts_with("complete "); });
    const auto twelfthStart = std::find(seq.begin(), seq.end(), "start " + twelfth);
    ASSERT_NE(twelfthStart, seq.end());
    EXPECT_LT(firstComplete, twelfthStart) << "the twelfth entered only after a Complete";

    ASSERT_TRUE(PumpUntil([&] { return Completes() == 12; }));
    EXPECT_TRUE(AllSucceeded());
}

TEST_F(ConcurrencyTest, CompleteHandlersMayStartFurtherDownloads) {
    HoldingServer server("<html>page</html>");
    int started = 0;
    const auto next = [&] {
        downloader_->Download(server.Url("/page/" + std::to_string(++started)), 0);
    };
    recorder_->onComplete = [&](const dltest::Completion&) {
        if (started < 40) next();
    };
    while (started < 11) next();
    ASSERT_TRUE(PumpUntil([&] { return Completes() == 40; }));
    EXPECT_TRUE(AllSucceeded());
    EXPECT_EQ(server.Requests(), 40);
    EXPECT_TRUE(std::all_of(recorder_->busyInComplete.begin(), recorder_->busyInComplete.end(),
                            [](bool busy) { return busy; }))
        << "a download stays in the table while its Complete handlers run";
    EXPECT_FALSE(downloader_->IsDownloadingNow());
}

}  // namespace
