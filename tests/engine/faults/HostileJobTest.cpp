// Whole save jobs against a server that answers every request wrongly: each hostile answer
// ends as one failed row with a description, and each job ends with exactly one Complete.
#include <algorithm>
#include <filesystem>

#include "../job/JobHarness.h"
#include "hostile/HostileServer.h"
#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

namespace {

namespace fs = std::filesystem;
using hostile::HostileServer;

class HostileJob : public jobtest::JobTest {
  protected:
    void SetUp() override {
        JobTest::SetUp();
        transfers_->timeout = std::chrono::seconds(2);  // the hostile answers that stall end here
        server_.Start();
    }
    void TearDown() override {
        server_.Stop();
        JobTest::TearDown();
    }

    std::shared_ptr<fetchcore::CTask> HostileTask(const std::string& searchUrl, bool pages) {
        auto task = std::make_shared<fetchcore::CTask>();
        task->KW("hostile");
        task->SearchURL(searchUrl);
        task->ResultsFrom(1);
        task->ResultsTo(static_cast<int32_t>(HostileServer::Answers().size()));
        task->ResultsPerPage(100);
        task->DownloadResultPages(pages);
        task->SaveResultsToFolder(Out());
        return task;
    }

    // Runs the job, lets every thread end, and checks that no late event followed its
    // one Complete.
    void RunToTheEnd(const std::shared_ptr<fetchcore::CTask>& task) {
        const int before = recorder_->completes;
        saver_.Save(task);
        // Longer than the harness's own wait: 50 MB take a while to read under sanitizers.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
        while (recorder_->completes == before && std::chrono::steady_clock::now() < deadline)
            tessel::Toolbox::PumpMessagesFor(std::chrono::milliseconds(10));
        ASSERT_GT(recorder_->completes, before) << "no Complete";
        tessel::WorkerThread::JoinAll();
        tessel::Toolbox::PumpMessagesFor(std::chrono::milliseconds(50));
        EXPECT_EQ(recorder_->completes, before + 1);
        EXPECT_TRUE(recorder_->events.back().starts_with("Complete "));
    }

    // "<ok> <description>" of the one row for `url`; empty, and a failure, when not one.
    std::string Outcome(const std::string& url) const {
        const auto rows = recorder_->Starting("SavingPageComplete " + url + " ");
        EXPECT_EQ(rows.size(), 1u) << url;
        return rows.size() == 1
                   ? rows[0].substr(std::string("SavingPageComplete ").size() + url.size() + 1)
                   : "";
    }

    std::vector<std::string> SavedFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(fs::path(Out()) / "hostile"))
            names.push_back(entry.path().filename().string());
        return names;
    }

    HostileServer server_;
};

TEST_F(HostileJob, EveryHostilePageEndsAsOneDescribedRowAndTheJobCompletes) {
    RunToTheEnd(HostileTask(server_.SearchURL(), true));
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");

    int n = 0;
    for (const auto& answer : HostileServer::Answers()) {
        SCOPED_TRACE(answer.path);
        const std::string url = server_.URL(answer);
        EXPECT_EQ(recorder_->Starting("StartSavingPage " + std::to_string(++n) + " " + url).size(),
                  1u);
        const std::string outcome = Outcome(url);
        if (answer.path == "/long-body") {
            EXPECT_EQ(outcome, "1 ");  // the declared length is what counts; the rest is dropped
        } else {
            EXPECT_TRUE(outcome.starts_with("0 ")) << outcome;
            EXPECT_GT(outcome.size(), 2u) << "no description";
        }
    }
    // The two faults this program itself names: the stall ends at the time-out, the bomb
    // once it inflates past what any page compresses.
    EXPECT_EQ(Outcome(server_.URL({"/headers-forever", ""})), "0 Timeout exceeded");
    const std::string bomb = Outcome(server_.URL({"/gzip-bomb", ""}));
    EXPECT_NE(bomb.find("decompression bomb"), std::string::npos) << bomb;
    // Only the page that arrived whole was written; no partial or temporary file is left.
    const auto files = SavedFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files[0].ends_with("long-body.htm")) << files[0];
    EXPECT_EQ(fs::file_size(fs::path(Out()) / "hostile" / files[0]), 1000u);
}

TEST_F(HostileJob, AHostileResultsPageEndsTheJobWithOneDescribedComplete) {
    for (const auto& answer : HostileServer::Answers()) {
        SCOPED_TRACE(answer.path);
        const auto listsBefore = recorder_->Starting("ResultList").size();
        RunToTheEnd(HostileTask(server_.URL(answer), false));
        const std::string& complete = recorder_->events.back();
        const auto lists = recorder_->Starting("ResultList").size() - listsBefore;
        if (answer.path == "/long-body") {
            // A whole body, but nothing of a results page in it: no empty list passes for a
            // search without matches.
            EXPECT_EQ(complete,
                      "Complete 0 Cannot parse page. The answer is not a results page (the search "
                      "engine may ask for JavaScript, a consent or a CAPTCHA).");
            EXPECT_EQ(lists, 0u);
        } else {
            EXPECT_TRUE(complete.starts_with("Complete 0 ")) << complete;
            EXPECT_GT(complete.size(), std::string("Complete 0 ").size()) << "no description";
            EXPECT_NE(complete, "Complete 0 Not Found") << "the fault was never reached";
            EXPECT_EQ(lists, 0u);
        }
    }
}

TEST_F(HostileJob, AResultsPageOfFiftyMegabytesIsReadWhole) {
    transfers_->timeout = std::chrono::seconds(60);
    RunToTheEnd(HostileTask(server_.HugeSearchURL(), false));
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
    const auto lists = recorder_->Starting("ResultList ");
    ASSERT_EQ(lists.size(), 1u);
    const std::string base = "http://127.0.0.1:" + std::to_string(server_.Port());
    EXPECT_EQ(lists[0], "ResultList " + base + "/ok/1\r\n" + base + "/ok/2\r\n");
}

}  // namespace
