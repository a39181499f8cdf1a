// A results page refused for a while (429 or 503 with the wait the server asks for) is asked
// for again after that wait, whatever the source; too long a wait or a fourth refusal ends the
// job as before, and a cancel ends the wait.
#include "JobHarness.h"

using jobtest::JobTest;
using Strings = std::vector<std::string>;
using std::chrono::milliseconds;
using Limit = serpdouble::SerpDouble::Options::RateLimit;

namespace {

class RateLimitTest : public JobTest {
  protected:
    std::shared_ptr<fetchcore::CTask> Searx(int32_t to) const {
        auto task = Task("kw", 1, to, 10);
        task->SearchURL(double_->SearxngURL("kw"));
        return task;
    }
    std::string Waiting(int seconds, int status, const std::string& text, int time) const {
        return "Waiting " + std::to_string(seconds) +
               " 127.0.0.1:" + std::to_string(double_->Port()) + " answered HTTP " +
               std::to_string(status) + " (" + text + "); asking again, " + std::to_string(time) +
               " of 3";
    }
};

TEST_F(RateLimitTest, ARefusedPageIsAskedForAgainAfterTheWaitTheServerAsksFor) {
    auto options = Results(30);
    options.rateLimit = Limit{1, 429, "1", "7, 1419704"};  // Retry-After goes first
    StartDouble(options);
    ASSERT_TRUE(RunJob(Searx(20)));
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
    const std::string wait = Waiting(1, 429, "Too Many Requests", 1);
    EXPECT_EQ(recorder_->Starting("Waiting"), (Strings{wait, wait})) << "once for each page";
    EXPECT_EQ(recorder_->Starting("PageSkipped").size(), 20u);
    const std::string page1 = "/search?q=kw&format=json&pageno=1";
    const std::string page2 = "/search?q=kw&format=json&pageno=2";
    EXPECT_EQ(SearchTargets(), (Strings{page1, page1, page2, page2}));
    EXPECT_EQ(transfers_->Delays(),
              (std::vector<milliseconds>{milliseconds(0), milliseconds(1000), milliseconds(0),
                                         milliseconds(1000)}))
        << "a page starts at once; only a refused one waits";
    EXPECT_NE(LogText().find("\tL5\t0\tCSaveWorker.moSERDownloader_Complete\t" +
                             double_->SearxngURL("kw") + "&pageno=1. Waiting 1 s: 127.0.0.1:"),
              std::string::npos)
        << LogText();
}

TEST_F(RateLimitTest, A503WithTheFirstNumberOfTheRateLimitResetIsWaitedOutToo) {
    auto options = Results(10);
    options.rateLimit = Limit{1, 503, "", "0, 1419704"};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Searx(10)));
    EXPECT_EQ(recorder_->Starting("Waiting"), (Strings{Waiting(0, 503, "Service Unavailable", 1)}));
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
}

TEST_F(RateLimitTest, AFourthRefusalALongerWaitOrNoWaitAtAllEndTheJobWithTheSourcesError) {
    const std::string tooMany =
        "Complete 0 The SearXNG instance limits requests (HTTP 429): wait before searching again, "
        "or ask its administrator to allow more (its limiter or botdetection settings).";
    auto options = Results(10);
    options.rateLimit = Limit{4, 429, "0", ""};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Searx(10)));
    EXPECT_EQ(recorder_->Starting("Waiting").size(), 3u);
    EXPECT_EQ(SearchTargets().size(), 4u);
    EXPECT_EQ(recorder_->events.back(), tooMany);

    for (const Limit& limit : {Limit{1, 429, "61", ""}, Limit{1, 429, "", "61, 5"},
                               Limit{1, 429, "", ""}, Limit{1, 429, "soon", ""}}) {
        SCOPED_TRACE(limit.retryAfter + "|" + limit.rateLimitReset);
        recorder_->events.clear();
        options.rateLimit = limit;
        StartDouble(options);
        ASSERT_TRUE(RunJob(Searx(10)));
        EXPECT_EQ(recorder_->events, (Strings{"StartDownload", tooMany}));
        EXPECT_EQ(SearchTargets().size(), 1u);
    }
}

TEST_F(RateLimitTest, ACancelEndsTheWaitAtOnce) {
    auto options = Results(10);
    options.rateLimit = Limit{1, 429, "60", ""};
    StartDouble(options);
    saver_.Save(Searx(10));
    ASSERT_TRUE(PumpUntil([&] { return !recorder_->Starting("Waiting").empty(); }));
    saver_.CancelAll();
    ASSERT_TRUE(PumpUntil([&] { return recorder_->completes == 1; }));
    EXPECT_EQ(recorder_->events, (Strings{"StartDownload", Waiting(60, 429, "Too Many Requests", 1),
                                          "Complete 0 Cancelled"}));
    EXPECT_EQ(SearchTargets().size(), 1u) << "the page was not asked for again";
}

TEST_F(RateLimitTest, The2010LayoutWaitsToo) {
    auto options = Results(10);
    options.rateLimit = Limit{1, 429, "0", ""};
    StartDouble(options);
    ASSERT_TRUE(RunJob(Task("kw", 1, 10, 10)));
    EXPECT_EQ(recorder_->Starting("Waiting").size(), 1u);
    EXPECT_EQ(recorder_->Starting("PageSkipped").size(), 10u);
}

}  // namespace
