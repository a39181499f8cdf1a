// Whole jobs whose results come from the Brave Search API (the double's route): paging by
// count and offset, the depth of 200 results, the end of results, the key and its refusal.
#include "JobHarness.h"

using jobtest::JobTest;
using serpdouble::Fault;
using Strings = std::vector<std::string>;

namespace {

constexpr const char* kKey = "BSA-test-key-0123456789";

class BraveJobTest : public JobTest {
  protected:
    serpdouble::SerpDouble& StartBrave(serpdouble::SerpDouble::Options options) {
        options.braveKey = kKey;
        return StartDouble(std::move(options));
    }
    std::shared_ptr<fetchcore::CTask> Brave(std::shared_ptr<fetchcore::CTask> task,
                                            const std::string& key = kKey) const {
        task->SearchURL(double_->BraveURL(task->KW()));
        task->SearchApiKey(key);
        task->SearchApiKeyOrigin("the file /cfg/Kestrova/brave.key");
        return task;
    }
    static std::string Target(int count, int offset) {
        return "/res/v1/web/search?q=kw&count=" + std::to_string(count) +
               "&offset=" + std::to_string(offset);
    }
    std::string LastEvent() const { return recorder_->events.back(); }
    Strings Skipped(int from, int to) const {
        Strings out;
        for (int n = from; n <= to; ++n)
            out.push_back("PageSkipped " + std::to_string(n) + " " + Url(n));
        return out;
    }
};

TEST_F(BraveJobTest, ARangeStartsOnThePageOfItsFirstPositionAndListsExactlyTheRange) {
    StartBrave(Results(100));
    ASSERT_TRUE(RunJob(Brave(Task("kw", 25, 62, 10))));
    EXPECT_EQ(SearchTargets(),
              (Strings{Target(10, 2), Target(10, 3), Target(10, 4), Target(10, 5), Target(10, 6)}));
    EXPECT_EQ(recorder_->Starting("PageSkipped"), Skipped(25, 62));
    EXPECT_EQ(LastEvent(), "Complete 1 ");
    for (const auto& request : double_->Requests()) {
        EXPECT_EQ(request.Header("X-Subscription-Token"), kKey) << request.target;
        EXPECT_EQ(request.Header("Accept"), "application/json");
        EXPECT_FALSE(request.Header("Range"));
    }
    // Per page is the task's, at most 20.
    recorder_->events.clear();
    StartBrave(Results(100));
    ASSERT_TRUE(RunJob(Brave(Task("kw", 1, 30, 50))));
    EXPECT_EQ(SearchTargets(), (Strings{Target(20, 0), Target(20, 1)}));
    EXPECT_EQ(recorder_->Starting("PageSkipped"), Skipped(1, 30));
}

TEST_F(BraveJobTest, TheKeyGoesToTheApiOnlyNeverToTheResultPages) {
    StartBrave(Results(3));
    ASSERT_TRUE(RunJob(Brave(PagesTask("kw", 1, 3, 10))));
    EXPECT_EQ(LastEvent(), "Complete 1 ");
    int pages = 0;
    for (const auto& request : double_->Requests()) {
        if (request.kind != serpdouble::PathKind::Page) continue;
        ++pages;
        EXPECT_FALSE(request.Header("X-Subscription-Token")) << request.target;
    }
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(ReadFile(SavedPage("kw", 2, Url(2))), double_->ExpectedBody(2));
    EXPECT_EQ(LogText().find(kKey), std::string::npos) << LogText();
}

TEST_F(BraveJobTest, ARedirectOfTheApiIsNotFollowedSoTheKeyGoesNowhereElse) {
    auto options = Results(10);
    options.pathFaults = {{"/res/v1/web/search", Fault::RedirectTo("/page/1")}};
    StartBrave(options);
    ASSERT_TRUE(RunJob(Brave(Task("kw", 1, 10, 10))));
    EXPECT_EQ(LastEvent(),
              "Complete 0 Cannot parse page. The answer is not a Brave Search API search answer.");
    EXPECT_EQ(double_->Snapshot().pageRequests, 0);
}

TEST_F(BraveJobTest, PastTwoHundredTheJobListsWhatTheApiGivesAndWarnsOnce) {
    StartBrave(Results(500));
    ASSERT_TRUE(RunJob(Brave(Task("kw", 1, 250, 20))));
    const std::string warning =
        "Warning The Brave Search API gives at most 200 results for a search.";
    EXPECT_EQ(recorder_->Starting("Warning"), (Strings{warning}));
    EXPECT_EQ(SearchTargets().size(), 10u);
    EXPECT_EQ(SearchTargets().back(), Target(20, 9));
    EXPECT_EQ(recorder_->Starting("PageSkipped"), Skipped(1, 200));
    EXPECT_EQ(LastEvent(), "Complete 1 ");
    EXPECT_NE(LogText().find("\tCSaveWorker.BraveSearch\tThe Brave Search API gives at most 200"),
              std::string::npos)
        << LogText();

    // A range that begins beyond them asks for nothing.
    recorder_->events.clear();
    StartBrave(Results(500));
    ASSERT_TRUE(RunJob(Brave(Task("kw", 101, 120, 10))));
    EXPECT_EQ(recorder_->events,
              (Strings{"StartDownload",
                       "Warning The Brave Search API gives at most 100 results for a search at "
                       "10 a page (200 at 20).",
                       "ResultList ", "Complete 1 "}));
    EXPECT_EQ(double_->Snapshot().Requests(), 0);
}

TEST_F(BraveJobTest, PagingEndsWhenNoMoreResultsAreAvailableWithoutAWarning) {
    StartBrave(Results(45));
    ASSERT_TRUE(RunJob(Brave(Task("kw", 1, 999, 20))));
    EXPECT_EQ(SearchTargets(), (Strings{Target(20, 0), Target(20, 1), Target(20, 2)}));
    EXPECT_EQ(recorder_->Starting("PageSkipped").size(), 45u);
    EXPECT_TRUE(recorder_->Starting("Warning").empty());

    // A search without results lists nothing and succeeds.
    recorder_->events.clear();
    StartBrave(Results(0));
    ASSERT_TRUE(RunJob(Brave(Task("kw", 1, 10, 10))));
    EXPECT_EQ(recorder_->events, (Strings{"StartDownload", "ResultList ", "Complete 1 "}));
}

TEST_F(BraveJobTest, ARefusedKeyIsToldWithWhereItCameFromAndNeverShown) {
    for (const int refusal : {422, 401, 403}) {
        SCOPED_TRACE(refusal);
        recorder_->events.clear();
        auto options = Results(30);
        options.braveKeyRefusal = refusal;
        StartBrave(options);
        ASSERT_TRUE(RunJob(Brave(Task("kw", 1, 10, 10), "BSA-revoked-key")));
        const std::string code = refusal == 422 ? ", SUBSCRIPTION_TOKEN_INVALID" : ", UNAUTHORIZED";
        EXPECT_EQ(recorder_->events,
                  (Strings{"StartDownload",
                           "Complete 0 The Brave Search API refused the key from "
                           "the file /cfg/Kestrova/brave.key (HTTP " +
                               std::to_string(refusal) + code +
                               "): check that it is whole and active in the API "
                               "dashboard."}));
    }
    EXPECT_EQ(LogText().find("BSA-revoked-key"), std::string::npos) << LogText();
}

TEST_F(BraveJobTest, AMissingOrUnsendableKeyEndsTheJobBeforeAnyRequest) {
    StartBrave(Results(30));
    ASSERT_TRUE(RunJob(Brave(Task("kw", 1, 10, 10), "")));
    EXPECT_EQ(LastEvent(), "Complete 0 The Brave Search API needs a key, and the task has none.");
    ASSERT_TRUE(RunJob(Brave(Task("kw", 1, 10, 10), "half key\r\nX-Other: 1")));
    EXPECT_EQ(LastEvent(),
              "Complete 0 The key for the Brave Search API from the file /cfg/Kestrova/brave.key "
              "holds blanks or characters a request header cannot carry.");
    EXPECT_EQ(double_->Snapshot().Requests(), 0);
    EXPECT_EQ(LogText().find("half key"), std::string::npos);
}

TEST_F(BraveJobTest, RefusedRequestsAndLimitsHaveTheirOwnWords) {
    StartBrave(Results(30));
    auto task = Brave(Task("", 1, 10, 10));  // "q=" the API refuses
    ASSERT_TRUE(RunJob(task));
    EXPECT_EQ(LastEvent(),
              "Complete 0 The Brave Search API refused the request (HTTP 422, VALIDATION): "
              "Unable to validate request parameter(s)");

    auto options = Results(30);
    options.rateLimit = {1, 429, "300", "1, 1419704"};  // too long to wait
    StartBrave(options);
    ASSERT_TRUE(RunJob(Brave(Task("kw", 1, 10, 10))));
    EXPECT_EQ(LastEvent(),
              "Complete 0 The Brave Search API limits requests (HTTP 429): the plan's requests "
              "per second or per month are used up; wait, or see the limits in the API "
              "dashboard.");
}

TEST_F(BraveJobTest, A429IsWaitedOutByTheFirstNumberOfItsRateLimitReset) {
    auto options = Results(30);
    options.rateLimit = {1, 429, "", "1, 1419704"};  // as the API sends it: no Retry-After
    StartBrave(options);
    ASSERT_TRUE(RunJob(Brave(Task("kw", 1, 10, 10))));
    ASSERT_EQ(recorder_->Starting("Waiting").size(), 1u);
    EXPECT_TRUE(recorder_->Starting("Waiting")[0].starts_with("Waiting 1 127.0.0.1:"));
    EXPECT_EQ(recorder_->Starting("PageSkipped").size(), 10u);
    EXPECT_EQ(SearchTargets(), (Strings{Target(10, 0), Target(10, 0)}));
}

}  // namespace
