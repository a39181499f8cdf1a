// Keyword lists run with the real engine against the search-engine double.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <sstream>
#include <thread>

#include "KeywordRun.h"
#include "serpdouble/SerpDouble.h"
#include "taskcore/KeywordList.h"
#include "tessel/FileDescriptor.h"
#include "tessel/WorkerThread.h"

namespace kestrova::cli {
namespace {

using serpdouble::SerpDouble;
using Strings = std::vector<std::string>;

// A stop request as the signal handler makes one, raised once `due` answers a signal: its
// number, and a descriptor rung then.
class StopWhen {
  public:
    explicit StopWhen(std::function<int()> due)
        : watcher_([this, due = std::move(due)](std::stop_token stop) {
              while (!stop.stop_requested()) {
                  if (const int signal = due()) {
                      signal_ = signal;
                      eventfd_write(fd_.Get(), 1);
                      return;
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
              }
          }) {}
    StopRequest Request() {
        return {[this] { return signal_.load(); }, fd_.Get()};
    }

  private:
    tessel::FileDescriptor fd_{eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)};
    std::atomic<int> signal_{0};
    std::jthread watcher_;
};

class KeywordRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SerpDouble::Options options;
        options.totalResults = 2;
        options.pathFaults = {{"/google/stalled", serpdouble::Fault::StallForever()}};
        double_ = std::make_unique<SerpDouble>(options);
        double_->Start();
        saver_.Init(log_);
    }
    void TearDown() override {
        double_->Stop();
        tessel::WorkerThread::JoinAll();
    }

    // The list's keywords, each searched on the double; "broken" is searched where the double
    // answers 404 and "stalled" where it never answers; "brave ..." on its Brave Search API,
    // "brave deep" beyond the API's depth.
    std::vector<KeywordTask> Tasks(const std::string& list) const {
        std::istringstream in(list);
        std::vector<KeywordTask> tasks;
        for (const auto& keyword : ReadKeywords(in)) {
            KeywordTask task{keyword, {}};
            task.values.SearchURL = double_->SearchURL(keyword);
            task.values.KW = keyword;
            task.values.ResultsFrom = 1;
            task.values.ResultsTo = task.values.ResultsPerPage = 10;
            if (keyword == "broken" || keyword == "stalled")
                task.values.SearchURL = double_->BaseURL() + "/google/" + keyword + "?q=x";
            if (keyword.starts_with("brave")) {
                task.values.SearchURL = double_->BraveURL(keyword);
                task.values.SearchApiKey = "double-key";
            }
            if (keyword == "brave deep") task.values.ResultsFrom = task.values.ResultsTo = 250;
            tasks.push_back(task);
        }
        return tasks;
    }

    KeywordRunOutcome Run(const std::string& list, const StopRequest& stop,
                          std::chrono::milliseconds pause = {}) {
        KeywordRun run(saver_, log_, {OutputFormat::Tsv, pause, Progress::Mode::Lines}, err_);
        const auto deliver = [&](const std::string& text) {
            delivered_.push_back(text);
            if (deliveredFlag_) *deliveredFlag_ = true;
            return true;
        };
        return run.Run(Tasks(list), deliver, stop);
    }

    std::string Rows(const std::string& keyword) const {
        return keyword + "\t1\t" + double_->PageURL(1) + "\tSkipped\t\n" + keyword + "\t2\t" +
               double_->PageURL(2) + "\tSkipped\t\n";
    }

    std::unique_ptr<SerpDouble> double_;
    std::shared_ptr<tessel::Log> log_ = std::make_shared<tessel::Log>();  // writes nowhere
    fetchcore::CSaver saver_;
    std::ostringstream err_;
    Strings delivered_;
    std::atomic<bool>* deliveredFlag_ = nullptr;  // set when a job's rows are delivered
};

TEST_F(KeywordRunTest, EachKeywordRunsInTurnAndAFailedJobIsToldAndPassedBy) {
    const auto outcome =
        Run("red kites\n# a comment\n\n  f\xC3\xB6hn \nbroken\nlast\n", {[] { return 0; }});
    EXPECT_EQ(outcome.failed, 1);
    EXPECT_EQ(outcome.stopSignal, 0);
    EXPECT_EQ(delivered_, (Strings{Rows("red kites"), Rows("f\xC3\xB6hn"), Rows("last")}));
    EXPECT_EQ(double_->Snapshot().Requests(), 4);
    const std::string err = err_.str();
    EXPECT_NE(err.find("kestrova-cli: broken: "), std::string::npos) << err;
    EXPECT_NE(err.find("f\xC3\xB6hn (2/4): listed 2 results\n"), std::string::npos) << err;
}

TEST_F(KeywordRunTest, BraveSearchesRunOneAKeywordAndEachWarnsUnderItsKeyword) {
    const auto outcome = Run("brave kites\nbrave deep\nbrave ospreys\n", {[] { return 0; }});
    EXPECT_EQ(outcome.failed, 0);
    EXPECT_EQ(delivered_, (Strings{Rows("brave kites"), "", Rows("brave ospreys")}));
    EXPECT_EQ(double_->Snapshot().searchRequests, 2) << "the deep one asked for nothing";
    EXPECT_NE(err_.str().find("kestrova-cli: brave deep: warning: The Brave Search API gives at "
                              "most 100 results for a search at 10 a page (200 at 20).\n"),
              std::string::npos)
        << err_.str();
    ASSERT_TRUE(double_->Snapshot().last);
    EXPECT_EQ(double_->Snapshot().last->target,
              "/res/v1/web/search?q=brave+ospreys&count=10&offset=0");
}

TEST_F(KeywordRunTest, AStopInTheSecondJobCancelsItAndStartsNoOther) {
    StopWhen stop([&] { return double_->Snapshot().stalled >= 1 ? SIGINT : 0; });
    const auto outcome = Run("first\nstalled\nthird\n", stop.Request());
    EXPECT_EQ(outcome.stopSignal, SIGINT);
    EXPECT_EQ(delivered_, Strings{Rows("first")});
    EXPECT_NE(err_.str().find("kestrova-cli: stalled: Cancelled\n"), std::string::npos);
    EXPECT_EQ(double_->Snapshot().Requests(), 2) << "the third keyword was searched";
}

TEST_F(KeywordRunTest, AStopDuringThePauseStartsNoOtherJob) {
    std::atomic<bool> delivered{false};
    StopWhen stop([&] { return delivered ? SIGTERM : 0; });
    deliveredFlag_ = &delivered;
    EXPECT_EQ(Run("first\nsecond\n", stop.Request(), std::chrono::minutes(10)).stopSignal, SIGTERM);
    EXPECT_EQ(double_->Snapshot().Requests(), 1);
}

}  // namespace
}  // namespace kestrova::cli
