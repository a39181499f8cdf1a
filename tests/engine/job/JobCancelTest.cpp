// Save jobs ending early: cancelled, side by side, or unable to start their downloads.
#include <atomic>
#include <chrono>
#include <filesystem>

#include "JobHarness.h"
#include "download/CDownloader.h"
#include "tessel/WorkerThread.h"

using jobtest::JobTest;
using serpdouble::Fault;
using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

bool WaitForStalled(const serpdouble::SerpDouble& server, int stalled) {
    return server.WaitFor([&](const serpdouble::Stats& s) { return s.stalled == stalled; },
                          std::chrono::seconds(10));
}

}  // namespace

TEST_F(JobTest, ACancelDuringTheResultsPhaseEndsTheJobCancelledWithoutAList) {
    auto options = Results(50);
    options.resultsPageFaults = {{1, Fault::StallForever()}};
    StartDouble(options);
    saver_.Save(PagesTask("kw", 1, 50, 10));
    ASSERT_TRUE(WaitForStalled(*double_, 1));
    saver_.CancelAll();
    ASSERT_TRUE(PumpUntil([&] { return recorder_->completes == 1; }));
    EXPECT_EQ(recorder_->events, (Strings{"StartDownload", "Complete 0 Cancelled"}));
}

TEST_F(JobTest, ACancelDuringThePagesPhaseFailsEachUnfinishedPageThenSucceeds) {
    auto options = Results(3);
    options.resultFaults = {{2, Fault::StallForever()}, {3, Fault::StallForever()}};
    StartDouble(options);
    saver_.Save(PagesTask("kw", 1, 10, 10));
    ASSERT_TRUE(WaitForStalled(*double_, 2));
    ASSERT_TRUE(PumpUntil([&] { return recorder_->Starting("SavingPageComplete").size() == 1; }));
    saver_.CancelAll();
    ASSERT_TRUE(PumpUntil([&] { return recorder_->completes == 1; }));
    auto ended = recorder_->Starting("SavingPageComplete");
    std::sort(ended.begin() + 1, ended.end());
    EXPECT_EQ(ended, (Strings{"SavingPageComplete " + Url(1) + " 1 ",
                              "SavingPageComplete " + Url(2) + " 0 Cancelled",
                              "SavingPageComplete " + Url(3) + " 0 Cancelled"}));
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
    EXPECT_FALSE(fs::exists(SavedPage("kw", 2, Url(2))));
}

TEST_F(JobTest, TwoJobsOnOneSaverRunSideBySideAndEachCompletes) {
    StartDouble(Results(6));
    saver_.Save(PagesTask("first", 1, 10, 10));
    saver_.Save(PagesTask("second", 4, 6, 3));
    ASSERT_TRUE(PumpUntil([&] { return recorder_->completes == 2; }));
    EXPECT_EQ(recorder_->Starting("Complete"), (Strings{"Complete 1 ", "Complete 1 "}));
    EXPECT_EQ(recorder_->Starting("SavingPageComplete").size(), 9u);
    for (int n = 1; n <= 6; ++n) {
        EXPECT_EQ(ReadFile(SavedPage("first", n, Url(n))), double_->ExpectedBody(n)) << n;
    }
    for (int n = 4; n <= 6; ++n) EXPECT_TRUE(fs::exists(SavedPage("second", n, Url(n)))) << n;
    EXPECT_FALSE(fs::exists(SavedPage("second", 1, Url(1))));
    EXPECT_FALSE(saver_.IsDownloadingNow());
}

TEST_F(JobTest, APageDownloadThatCannotStartIsReportedFailedAndTheJobStillEnds) {
    StartDouble(Results(3));
    transfers_->allowed = 1;  // the results page only
    ASSERT_TRUE(RunJob(PagesTask("kw", 1, 10, 10)));
    const auto ended = recorder_->Starting("SavingPageComplete");
    ASSERT_EQ(ended.size(), 3u);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(ended[n - 1].starts_with("SavingPageComplete " + Url(n) +
                                             " 0 Failed to start download URL '" + Url(n) + "'. "))
            << ended[n - 1];
    }
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
    EXPECT_EQ(double_->Snapshot().pageRequests, 0);
}

TEST_F(JobTest, AFirstDownloadThatCannotStartEndsTheJobWithItsReason) {
    StartDouble(Results(3));
    transfers_->allowed = 0;
    const auto task = Task("kw", 1, 10, 10);
    ASSERT_TRUE(RunJob(task));
    const std::string reason = "Failed to start download URL '" + task->SearchURL() + "'. ";
    ASSERT_EQ(recorder_->events.size(), 2u);
    EXPECT_TRUE(recorder_->events[1].starts_with("Complete 0 " + reason)) << recorder_->events[1];
    EXPECT_NE(LogText().find("\tCSaveWorker.Run\t" + reason), std::string::npos) << LogText();
    EXPECT_FALSE(saver_.IsDownloadingNow());
}

TEST_F(JobTest, ANextResultsPageThatCannotBeRequestedEndsTheJobWithoutAList) {
    StartDouble(Results(30));
    transfers_->allowed = 1;
    const auto task = Task("kw", 1, 30, 10);
    ASSERT_TRUE(RunJob(task));
    const std::string reason =
        "Failed to start download URL '" + task->SearchURL() + "&start=10'. ";
    ASSERT_EQ(recorder_->events.size(), 2u);
    EXPECT_TRUE(recorder_->events[1].starts_with("Complete 0 " + reason)) << recorder_->events[1];
    EXPECT_NE(LogText().find("\tL4\t-2147220862\tCSaveWorker.moSERDownloader_Complete\t" + reason),
              std::string::npos)
        << LogText();
}
