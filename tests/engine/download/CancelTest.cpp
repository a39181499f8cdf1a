#include "DownloadFixture.h"
#include "download/DownloadErrors.h"
#include "platform/KernelObjects.h"
#include "serpdouble/SerpDouble.h"

using serpdouble::Fault;
using serpdouble::SerpDouble;

namespace {

class CancelTest : public dltest::DownloadTest {
  protected:
    void ExpectAllCancelled(std::size_t count) {
        ASSERT_EQ(recorder_.completions.size(), count);
        for (const auto& c : recorder_.completions) {
            EXPECT_FALSE(c.isSuccess);
            EXPECT_EQ(c.number, -2147221504);
            EXPECT_EQ(c.description, "Cancelled");
            EXPECT_EQ(c.page, "");
        }
    }
    platform::Handle OpenCancelEvent() {
        return platform::CreateEventA(true, false, downloader_.CancelEventName);
    }
};

// Takes every slot of a semaphore and gives them back when released or destroyed.
class AllSlots {
  public:
    explicit AllSlots(const std::string& name)
        : semaphore_(platform::CreateSemaphoreA(5, 5, name)) {
        while (taken_ < 5 &&
               platform::WaitForSingleObject(semaphore_) == platform::WaitResult::Signalled) {
            ++taken_;
        }
    }
    ~AllSlots() { Release(); }
    void Release() {
        if (taken_ > 0) platform::ReleaseSemaphore(semaphore_, taken_);
        taken_ = 0;
    }
    int Taken() const { return taken_; }

  private:
    platform::Handle semaphore_;
    int taken_ = 0;
};

}  // namespace

TEST_F(CancelTest, DownloadsCancelledWhileQueuingForASlotNeverReachTheServer) {
    SerpDouble server;
    server.Start();
    AllSlots slots(downloader_.ConcurrentDownloadSemaphoreName);
    ASSERT_EQ(slots.Taken(), 5);
    for (int i = 1; i <= 3; ++i) downloader_.Download(server.PageURL(i), 0);
    EXPECT_TRUE(downloader_.IsDownloadingNow());

    // Only the downloader holds the event here: the cancel must outlive its handle until
    // the queued workers get to look at it.
    downloader_.CancelAll();
    EXPECT_FALSE(downloader_.IsDownloadingNow()) << "CancelAll empties the table";
    slots.Release();

    ASSERT_TRUE(PumpUntil([&] { return recorder_.completions.size() == 3; }));
    ExpectAllCancelled(3);  // raised although their entries were gone
    EXPECT_EQ(server.Snapshot().Requests(), 0);
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

TEST_F(CancelTest, ACancelDuringASlowResponseEndsTheWait) {
    SerpDouble::Options options;
    options.resultFaults[1] = Fault::DelayBy(std::chrono::minutes(5));
    SerpDouble server(options);
    server.Start();
    downloader_.Download(server.PageURL(1), 0);
    ASSERT_TRUE(server.WaitFor([](const serpdouble::Stats& s) { return s.pageRequests == 1; },
                               std::chrono::seconds(20)));
    auto cancel = OpenCancelEvent();
    platform::SetEvent(cancel);
    ASSERT_TRUE(PumpUntil([&] { return recorder_.completions.size() == 1; }));
    ExpectAllCancelled(1);
}

TEST_F(CancelTest, ACancelWakesDownloadsOnStalledResponsesAndOneWaitingForItsSlot) {
    // Only the cancel can end these waits: the time-out lies far beyond the watchdog's.
    UseWorkerTimeout(std::chrono::hours(1));
    SerpDouble::Options options;
    for (int i = 1; i <= 6; ++i) options.resultFaults[i] = Fault::StallForever();
    SerpDouble server(options);
    server.Start();
    for (int i = 1; i <= 6; ++i) downloader_.Download(server.PageURL(i), 0);
    ASSERT_TRUE(server.WaitFor([](const serpdouble::Stats& s) { return s.stalled == 5; },
                               std::chrono::seconds(20)));

    platform::SetEvent(OpenCancelEvent());
    ASSERT_TRUE(PumpUntil([&] { return recorder_.completions.size() == 6; }));
    ExpectAllCancelled(6);
    EXPECT_EQ(server.Snapshot().pageRequests, 5)
        << "the sixth queued for a slot, then sent nothing";
}

TEST_F(CancelTest, AfterCancelAllLaterDownloadsStayCancelledUntilTheEventIsReset) {
    SerpDouble server;
    server.Start();
    downloader_.CancelAll();  // nothing held, nothing started: no effect, no failure
    EXPECT_TRUE(DownloadOne(server.PageURL(1)).isSuccess);

    downloader_.CancelAll();
    const auto cancelled = DownloadOne(server.PageURL(2));
    EXPECT_EQ(cancelled.description, "Cancelled")
        << "the event stays set until its owner resets it";

    platform::ResetEvent(OpenCancelEvent());
    const auto after = DownloadOne(server.PageURL(3));
    EXPECT_TRUE(after.isSuccess) << after.description;
}
