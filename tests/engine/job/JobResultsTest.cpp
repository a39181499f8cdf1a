// The results phase of a save job: paging, numbering, listing, and its failures.
#include <filesystem>
#include <fstream>

#include "JobHarness.h"

using jobtest::JobTest;
using serpdouble::Fault;
using serpdouble::LinkKind;
using Strings = std::vector<std::string>;

namespace {

std::string ListOf(const Strings& urls) {
    std::string list;
    for (const auto& url : urls) list += url + "\r\n";
    return list;
}

}  // namespace

TEST_F(JobTest, ListingOnlySkipsEveryResultInOrderThenListsThemThenCompletes) {
    auto options = Results(50);
    options.links = {{3, LinkKind::Repeat}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Task("kw", 1, 5, 5)));
    EXPECT_EQ(recorder_->events,
              (Strings{"StartDownload", "PageSkipped 1 " + Url(1), "PageSkipped 2 " + Url(2),
                       "PageSkipped 4 " + Url(4), "PageSkipped 5 " + Url(5),
                       "ResultList " + ListOf({Url(1), Url(2), Url(4), Url(5)}), "Complete 1 "}))
        << "the repeated link keeps number 2 and still uses up number 3";
    EXPECT_EQ(double_->Snapshot().pageRequests, 0);
    EXPECT_FALSE(saver_.IsDownloadingNow());
}

TEST_F(JobTest, FromOneToFifteenByTenFetchesTwoPagesAndListsAllTwentyResults) {
    StartDouble(Results(50));
    const auto task = Task("kw", 1, 15, 10);
    ASSERT_TRUE(RunJob(task));
    const std::string search = double_->SearchURL("kw").substr(double_->BaseURL().size());
    EXPECT_EQ(SearchTargets(), (Strings{search, search + "&start=10"}));
    const auto skipped = recorder_->Starting("PageSkipped");
    ASSERT_EQ(skipped.size(), 20u);
    EXPECT_EQ(skipped.front(), "PageSkipped 1 " + Url(1));
    EXPECT_EQ(skipped.back(), "PageSkipped 20 " + Url(20));
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
}

TEST_F(JobTest, FiveToFiveByOneFetchesOnePageAtOffsetFour) {
    StartDouble(Results(50));
    ASSERT_TRUE(RunJob(Task("kw", 5, 5, 1)));
    const std::string search = double_->SearchURL("kw").substr(double_->BaseURL().size());
    EXPECT_EQ(SearchTargets(), (Strings{search + "&start=4&num=1"}));
    EXPECT_EQ(recorder_->events, (Strings{"StartDownload", "PageSkipped 5 " + Url(5),
                                          "ResultList " + ListOf({Url(5)}), "Complete 1 "}));
}

TEST_F(JobTest, PagingStopsWhenTheEngineHasNoMorePages) {
    StartDouble(Results(25));
    ASSERT_TRUE(RunJob(Task("kw", 1, 999, 10)));
    EXPECT_EQ(SearchTargets().size(), 3u);
    EXPECT_EQ(recorder_->Starting("PageSkipped").size(), 25u);
}

TEST_F(JobTest, APageWithoutLinksEndsPaging) {
    auto options = Results(50);
    options.emptyResultsPages = {2};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Task("kw", 1, 50, 10)));
    EXPECT_EQ(SearchTargets().size(), 2u);
    EXPECT_EQ(recorder_->Starting("PageSkipped").size(), 10u);
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
}

TEST_F(JobTest, AFirstPageWithoutLinksCompletesWithAnEmptyListAndSavesNothing) {
    auto options = Results(50);
    options.emptyResultsPages = {1};
    StartDouble(options);
    ASSERT_TRUE(RunJob(PagesTask("kw", 1, 50, 10)));
    EXPECT_EQ(recorder_->events, (Strings{"StartDownload", "ResultList ", "Complete 1 "}));
    EXPECT_EQ(double_->Snapshot().pageRequests, 0);
}

TEST_F(JobTest, AFailingFirstResultsPageEndsTheJobWithItsDescriptionAndNoList) {
    auto options = Results(50);
    options.resultsPageFaults = {{1, Fault::WithStatus(503)}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(PagesTask("kw", 1, 50, 10)));
    EXPECT_EQ(recorder_->events, (Strings{"StartDownload", "Complete 0 Service Unavailable"}));
}

TEST_F(JobTest, AFailingSecondResultsPageLosesTheFirstPagesResults) {
    auto options = Results(50);
    options.resultsPageFaults = {{2, Fault::WithStatus(500)}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Task("kw", 1, 50, 10)));
    EXPECT_EQ(recorder_->events, (Strings{"StartDownload", "Complete 0 Internal Server Error"}));
    EXPECT_EQ(SearchTargets().size(), 2u);
}

TEST_F(JobTest, AnOutputFolderThatCannotBeMadeStillEndsTheJobWithItsReason) {
    StartDouble(Results(5));
    std::ofstream(dir_ / "file") << "x";
    auto task = PagesTask("kw", 1, 5, 10);
    task->SaveResultsToFolder((dir_ / "file").string());
    ASSERT_TRUE(RunJob(task));
    EXPECT_EQ(recorder_->events, (Strings{"StartDownload", "Complete 0 Not a directory"}));
    EXPECT_EQ(double_->Snapshot().Requests(), 0);
    EXPECT_NE(LogText().find("\tL4\t-2146828213\tCSaveWorker.Run\tNot a directory"),
              std::string::npos)
        << LogText();
    EXPECT_FALSE(saver_.IsDownloadingNow());
}
