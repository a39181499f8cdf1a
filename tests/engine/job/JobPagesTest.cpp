// The pages phase of a save job: what is downloaded, skipped and written, and where.
#include <httplib.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "JobHarness.h"
#include "serpdouble/ResultsPage.h"
#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

using jobtest::JobTest;
using serpdouble::LinkKind;
using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

// Where each page's messages stand in the event list.
std::ptrdiff_t IndexOf(const Strings& events, const std::string& event) {
    return std::find(events.begin(), events.end(), event) - events.begin();
}

}  // namespace

TEST_F(JobTest, WithPagesTheListComesFirstEachPageStartsBeforeItEndsAndCompleteIsLast) {
    StartDouble(Results(3));
    const auto task = PagesTask("kw", 1, 10, 10);
    ASSERT_TRUE(RunJob(task));
    const auto& events = recorder_->events;
    ASSERT_EQ(events.size(), 9u) << ::testing::PrintToString(events);
    EXPECT_EQ(events[0], "StartDownload");
    EXPECT_EQ(events[1], "ResultList " + Url(1) + "\r\n" + Url(2) + "\r\n" + Url(3) + "\r\n");
    for (int n = 1; n <= 3; ++n) {
        const auto started = IndexOf(events, "StartSavingPage " + std::to_string(n) + " " + Url(n));
        const auto ended = IndexOf(events, "SavingPageComplete " + Url(n) + " 1 ");
        EXPECT_LT(started, ended) << n;
        EXPECT_LT(ended, 8) << n;
        EXPECT_TRUE(fs::exists(SavedPage("kw", n, Url(n)))) << n;
    }
    EXPECT_EQ(events.back(), "Complete 1 ");
    EXPECT_EQ(task->SaveResultsToFolder(), Out() + "/") << "the separator is written back";
}

TEST_F(JobTest, AFolderThatAlreadyEndsInTheSeparatorIsLeftAsItIs) {
    StartDouble(Results(1));
    const auto task = PagesTask("kw", 1, 10, 10);
    task->SaveResultsToFolder(Out() + "/");
    ASSERT_TRUE(RunJob(task));
    EXPECT_EQ(task->SaveResultsToFolder(), Out() + "/");
    EXPECT_TRUE(fs::exists(SavedPage("kw", 1, Url(1))));
}

TEST_F(JobTest, SavedFilesHoldExactlyTheServedBytes) {
    auto options = Results(3);
    options.pageSizes = {{1, 0}, {2, 1}, {3, 70000}};
    options.content = serpdouble::PageContent::Binary;
    StartDouble(options);
    ASSERT_TRUE(RunJob(PagesTask("kw", 1, 10, 10)));
    for (int n = 1; n <= 3; ++n) {
        const auto path = SavedPage("kw", n, Url(n));
        ASSERT_TRUE(fs::exists(path)) << n;
        EXPECT_EQ(ReadFile(path), double_->ExpectedBody(n)) << n;
    }
}

TEST_F(JobTest, WithSkipOnDocumentsAndSecureLinksAreSkippedNotDownloaded) {
    auto options = Results(4);
    options.links = {{1, LinkKind::Pdf}, {2, LinkKind::PostScriptUpper}, {3, LinkKind::Https}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(PagesTask("kw", 1, 10, 10, true)));
    const auto link = [&](int n) { return *double_->ResultLink(n); };
    EXPECT_EQ(recorder_->Starting("PageSkipped"),
              (Strings{"PageSkipped 1 " + link(1), "PageSkipped 2 " + link(2),
                       "PageSkipped 3 " + link(3)}));
    EXPECT_EQ(recorder_->Starting("SavingPageComplete"),
              (Strings{"SavingPageComplete " + link(4) + " 1 "}));
    EXPECT_EQ(double_->Snapshot().pageRequests, 1);
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
}

TEST_F(JobTest, WithSkipOffTheSameLinksAreDownloadedAndAFailedOneIsReportedUnsaved) {
    auto options = Results(3);
    options.links = {{1, LinkKind::Pdf}, {2, LinkKind::PostScriptUpper}, {3, LinkKind::Https}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(PagesTask("kw", 1, 10, 10, false)));
    const auto link = [&](int n) { return *double_->ResultLink(n); };
    EXPECT_TRUE(recorder_->Starting("PageSkipped").empty());
    EXPECT_EQ(recorder_->Starting("StartSavingPage").size(), 3u);
    for (int n = 1; n <= 2; ++n) {
        EXPECT_NE(IndexOf(recorder_->events, "SavingPageComplete " + link(n) + " 1 "),
                  std::ssize(recorder_->events));
        EXPECT_EQ(ReadFile(SavedPage("kw", n, link(n))), double_->ExpectedBody(n)) << n;
    }
    // The double speaks no TLS, so the secure link is fetched and fails.
    const auto secure = recorder_->Starting("SavingPageComplete " + link(3) + " ");
    ASSERT_EQ(secure.size(), 1u);
    EXPECT_TRUE(secure[0].starts_with("SavingPageComplete " + link(3) + " 0 ")) << secure[0];
    EXPECT_GT(secure[0].size(), ("SavingPageComplete " + link(3) + " 0 ").size());
    EXPECT_FALSE(fs::exists(SavedPage("kw", 3, link(3))));
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
}

TEST_F(JobTest, WithSkipOnAndOnlySkippedLinksTheJobCompletesAfterTheLastSkip) {
    auto options = Results(2);
    options.links = {{1, LinkKind::Pdf}, {2, LinkKind::Https}};
    StartDouble(options);
    ASSERT_TRUE(RunJob(PagesTask("kw", 1, 10, 10, true)));
    EXPECT_EQ(recorder_->events,
              (Strings{"StartDownload",
                       "ResultList " + *double_->ResultLink(1) + "\r\n" + *double_->ResultLink(2) +
                           "\r\n",
                       "PageSkipped 1 " + *double_->ResultLink(1),
                       "PageSkipped 2 " + *double_->ResultLink(2), "Complete 1 "}));
}

TEST_F(JobTest, AKeywordWithColonAndQuestionMarkGivesAUsableFolder) {
    StartDouble(Results(2));
    ASSERT_TRUE(RunJob(PagesTask("what: why?", 1, 10, 10)));
    EXPECT_TRUE(fs::is_directory(fs::path(Out()) / "what_ why_"));
    EXPECT_EQ(ReadFile(SavedPage("what: why?", 2, Url(2))), double_->ExpectedBody(2));
}

TEST_F(JobTest, AKeywordNamingTheParentFolderStaysInsideTheOutputFolder) {
    StartDouble(Results(1));
    ASSERT_TRUE(RunJob(PagesTask("..", 1, 10, 10)));
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
    const auto inside = fs::path(Out()) / "_" / saver_.URL2FileName(1, Url(1));
    EXPECT_TRUE(fs::exists(inside));
    EXPECT_FALSE(fs::exists(dir_ / saver_.URL2FileName(1, Url(1))));
}

namespace {

// A results page of its own on 127.0.0.1, listing the given links.
class ResultsPageServer {
  public:
    explicit ResultsPageServer(std::vector<std::string> hrefs) {
        serpdouble::ResultsPage page{
            "kw", "/google/search", 0, 10, static_cast<int>(hrefs.size()), hrefs, false, false};
        html_ = serpdouble::RenderResultsPage(page);
        server_.Get("/google/search", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(html_, "text/html");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        // stop() is ignored until the loop runs, and the destructor relies on it.
        while (!server_.is_running()) std::this_thread::yield();
    }
    ~ResultsPageServer() {
        server_.stop();
        thread_.join();
    }
    std::string SearchURL() const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/google/search?q=kw";
    }

  private:
    httplib::Server server_;
    std::string html_;
    int port_ = 0;
    std::thread thread_;
};

}  // namespace

TEST_F(JobTest, APageWhoseFileCannotBeWrittenIsReportedOnceAndTheJobStillSucceeds) {
    StartDouble(Results(2));
    const std::string longUrl = Url(2) + "/" + std::string(300, 'x');  // served as result 2
    ResultsPageServer results({Url(1), longUrl});
    auto task = PagesTask("kw", 1, 10, 10);
    task->SearchURL(results.SearchURL());
    ASSERT_TRUE(RunJob(task));
    auto ended = recorder_->Starting("SavingPageComplete");
    std::sort(ended.begin(), ended.end());  // the two downloads run side by side
    EXPECT_EQ(ended, (Strings{"SavingPageComplete " + Url(1) + " 1 ",
                              "SavingPageComplete " + longUrl + " 0 File name too long"}));
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
    EXPECT_TRUE(fs::exists(SavedPage("kw", 1, Url(1))));
    EXPECT_NE(LogText().find("\tL4\t-2146828213\tCSaveWorker.moPagesDownloader_Complete\tFile "
                             "name too long"),
              std::string::npos)
        << LogText();
}

TEST_F(JobTest, MorePagesThanTheDownloaderHoldsAtOnceAreAllSavedAndCompleteComesOnceLast) {
    StartDouble(Results(40));
    ASSERT_TRUE(RunJob(PagesTask("kw", 1, 40, 20)));
    // Every thread has ended, so every message the job sent is here after one more pump.
    tessel::WorkerThread::JoinAll();
    tessel::Toolbox::PumpMessages();
    EXPECT_EQ(recorder_->completes, 1);
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
    EXPECT_EQ(recorder_->Starting("SavingPageComplete").size(), 40u);
    for (int n = 1; n <= 40; ++n) {
        EXPECT_EQ(ReadFile(SavedPage("kw", n, Url(n))), double_->ExpectedBody(n)) << n;
    }
}
