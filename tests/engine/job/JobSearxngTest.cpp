// Whole jobs whose results come from a SearXNG instance (the double's JSON route), and the
// 2010 layout's answer that is no results page.
#include <filesystem>

#include "JobHarness.h"

using jobtest::JobTest;
using serpdouble::Fault;
using serpdouble::LinkKind;
using Strings = std::vector<std::string>;

namespace {

class SearxngJobTest : public JobTest {
  protected:
    std::shared_ptr<fetchcore::CTask> Searx(std::shared_ptr<fetchcore::CTask> task) const {
        task->SearchURL(double_->SearxngURL(task->KW()));
        return task;
    }
    std::string Target(int pageNo) const {
        return "/search?q=kw&format=json&pageno=" + std::to_string(pageNo);
    }
    std::string LastEvent() const { return recorder_->events.back(); }
};

TEST_F(SearxngJobTest, PagesByPagenoNumbersByPositionAndListsExactlyTheRange) {
    auto options = Results(100);
    options.searxngPageSize = 10;
    StartDouble(options);
    // Results per page is the instance's business: checked, never sent.
    ASSERT_TRUE(RunJob(Searx(Task("kw", 5, 25, 7))));
    EXPECT_EQ(SearchTargets(), (Strings{Target(1), Target(2), Target(3)}));
    const auto skipped = recorder_->Starting("PageSkipped");
    ASSERT_EQ(skipped.size(), 21u);
    EXPECT_EQ(skipped.front(), "PageSkipped 5 " + Url(5));
    EXPECT_EQ(skipped.back(), "PageSkipped 25 " + Url(25));
    const auto list = recorder_->Starting("ResultList");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(list[0].ends_with(Url(25) + "\r\n")) << list[0];
    EXPECT_EQ(LastEvent(), "Complete 1 ");
    for (const auto& request : double_->Requests()) {
        EXPECT_FALSE(request.Header("Range")) << "SearXNG answers are fetched whole";
    }
}

TEST_F(SearxngJobTest, PositionsBeforeResultsFromAreReadButNotListed) {
    auto options = Results(100);
    options.links = {{14, LinkKind::Repeat}};  // repeats result 13, which is not listed
    StartDouble(options);
    ASSERT_TRUE(RunJob(Searx(Task("kw", 14, 16, 10))));
    EXPECT_EQ(SearchTargets(), (Strings{Target(1), Target(2)}));
    EXPECT_EQ(recorder_->Starting("PageSkipped"),
              (Strings{"PageSkipped 15 " + Url(15), "PageSkipped 16 " + Url(16)}));
}

TEST_F(SearxngJobTest, RepeatsKeepTheirFirstNumberAndEntriesWithoutAnHttpAddressUseNone) {
    auto options = Results(20);
    options.links = {{3, LinkKind::Relative}, {11, LinkKind::Repeat}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Searx(Task("kw", 1, 40, 10))));
    const auto skipped = recorder_->Starting("PageSkipped");
    ASSERT_EQ(skipped.size(), 18u);
    EXPECT_EQ(skipped[2], "PageSkipped 3 " + Url(4)) << "the relative entry used no number";
    EXPECT_EQ(skipped[8], "PageSkipped 9 " + Url(10));
    EXPECT_EQ(skipped[9], "PageSkipped 11 " + Url(12)) << "the repeat of 10 used up number 10";
    EXPECT_EQ(SearchTargets().size(), 3u) << "paging ends on the first page without results";
}

TEST_F(SearxngJobTest, PagingEndsOnAPageWithNothingNewAndAfterFiftyPages) {
    auto options = Results(1000);
    options.searxngPageSize = 1;
    options.links = {{2, LinkKind::Repeat}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Searx(Task("kw", 1, 999, 10))));
    EXPECT_EQ(SearchTargets().size(), 2u) << "page 2 brought only an address seen before";

    options.links.clear();
    StartDouble(options);
    ASSERT_TRUE(RunJob(Searx(Task("kw", 1, 999, 10))));
    EXPECT_EQ(SearchTargets().size(), 50u);
    EXPECT_EQ(recorder_->Starting("PageSkipped").size(), 51u);
}

TEST_F(SearxngJobTest, SavesEveryResultPageExactlyAndSkipsByTheSameRules) {
    auto options = Results(12);
    options.links = {{2, LinkKind::Pdf}};
    options.pageSizes = {{5, 70000}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Searx(PagesTask("kw", 1, 12, 10, /*skip=*/true))));
    EXPECT_EQ(LastEvent(), "Complete 1 ");
    EXPECT_EQ(recorder_->Starting("PageSkipped"), (Strings{"PageSkipped 2 " + Url(2) + ".pdf"}));
    for (int n : {1, 5, 12}) {
        EXPECT_EQ(ReadFile(SavedPage("kw", n, Url(n))), double_->ExpectedBody(n)) << n;
    }
}

TEST_F(SearxngJobTest, RefusalsAndDeadEnginesFailWithTheirOwnDescriptions) {
    auto options = Results(30);
    options.resultsPageFaults = {{1, Fault::WithStatus(403)}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Searx(Task("kw", 1, 10, 10))));
    EXPECT_EQ(recorder_->events,
              (Strings{"StartDownload",
                       "Complete 0 The SearXNG instance does not serve JSON (HTTP 403): add json "
                       "to search.formats in its settings."}));

    options.resultsPageFaults = {{2, Fault::WithStatus(429)}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Searx(Task("kw", 1, 20, 10))));
    EXPECT_TRUE(
        LastEvent().starts_with("Complete 0 The SearXNG instance limits requests (HTTP "
                                "429)"))
        << LastEvent();
    EXPECT_TRUE(recorder_->Starting("ResultList").empty());

    options.resultsPageFaults.clear();
    options.emptyResultsPages = {1};
    options.unresponsiveEngines = {{"google", "CAPTCHA"}, {"bing", "timeout"}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Searx(Task("kw", 1, 20, 10))));
    EXPECT_EQ(LastEvent(),
              "Complete 0 The SearXNG instance found no results because its search engines did "
              "not answer: google (CAPTCHA), bing (timeout).");
}

TEST_F(SearxngJobTest, DeadEnginesBesideResultsAreLoggedWarnedOfOnceAndTheJobCompletes) {
    auto options = Results(15);
    options.unresponsiveEngines = {{"google", "CAPTCHA"}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Searx(Task("kw", 1, 20, 10))));
    EXPECT_EQ(LastEvent(), "Complete 1 ");
    EXPECT_EQ(SearchTargets().size(), 3u);  // the third page brings nothing
    EXPECT_EQ(recorder_->Starting("Warning"),
              (Strings{"Warning Some search engines of the SearXNG instance did not answer: google "
                       "(CAPTCHA)"}))
        << "two pages name them, the user hears it once";
    EXPECT_NE(LogText().find("CSaveWorker.UnresponsiveEngines\t" + double_->SearxngURL("kw") +
                             "&pageno=1. Some search engines of the SearXNG instance did not "
                             "answer: google (CAPTCHA)"),
              std::string::npos)
        << LogText();
}

TEST_F(SearxngJobTest, AnAnswerOverFourMebibytesFails) {
    auto options = Results(30);
    // One long text makes the answer big and costs the double little to write, also under
    // the sanitizers (twenty thousand results took it half a minute there).
    options.unresponsiveEngines = {{"verbose", std::string(4200 * 1024, 'x')}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Searx(Task("kw", 1, 10, 10))));
    EXPECT_EQ(LastEvent(), "Complete 0 The response body is larger than 4194304 bytes. ");
}

TEST_F(SearxngJobTest, AnAnswerThatIsNoJsonIsTheParseError) {
    auto options = Results(30);
    options.resultsPageFaults = {{1, Fault::WithStatus(200)}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Searx(Task("kw", 1, 10, 10))));
    EXPECT_EQ(LastEvent(),
              "Complete 0 Cannot parse page. The answer is not a SearXNG JSON results object.");
}

TEST_F(JobTest, An2010AnswerWithoutLandmarksFailsAsNoResultsPageWithItsAddressInTheLog) {
    auto options = Results(30);
    options.resultsPageFaults = {{1, Fault::WithStatus(200)}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Task("kw", 1, 10, 10)));
    const std::string description =
        "Cannot parse page. The answer is not a results page (the search engine may ask for "
        "JavaScript, a consent or a CAPTCHA).";
    EXPECT_EQ(recorder_->events, (Strings{"StartDownload", "Complete 0 " + description}));
    EXPECT_NE(LogText().find("\tL4\t-2147220855\tCSaveWorker.moSERDownloader_Complete\t" +
                             double_->SearchURL("kw") + ". " + description),
              std::string::npos)
        << LogText();
}

}  // namespace
