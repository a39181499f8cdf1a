// A job run again with Resume on: what an earlier run saved is kept, the rest is fetched.
#include <filesystem>
#include <fstream>

#include "JobHarness.h"

using jobtest::JobTest;
namespace fs = std::filesystem;

TEST_F(JobTest, ResumeKeepsPagesSavedUnderTheirNamesAndFetchesTheRestTemporaryLeftoversToo) {
    EXPECT_FALSE(fetchcore::CTask().Resume());
    StartDouble(Results(3));
    // What a stopped run leaves: page 1 saved, page 2 never reached, page 3 cut off while
    // its temporary file was being written.
    const auto kept = SavedPage("kw", 1, Url(1));
    fs::create_directories(kept.parent_path());
    std::ofstream(kept) << "saved by an earlier run";
    std::ofstream(kept.parent_path() / ".kestrova-Ab12Cd") << "half of page 3";
    auto task = PagesTask("kw", 1, 10, 10);
    task->Resume(true);
    ASSERT_TRUE(RunJob(task));
    EXPECT_EQ(double_->Snapshot().pageRequests, 2) << "none for the page already saved";
    EXPECT_EQ(ReadFile(kept), "saved by an earlier run");
    for (int n = 2; n <= 3; ++n) {
        EXPECT_EQ(ReadFile(SavedPage("kw", n, Url(n))), double_->ExpectedBody(n)) << n;
    }
    // Told as if downloaded, so the views show the kept page Complete.
    EXPECT_EQ(recorder_->Starting("SavingPageComplete " + Url(1)),
              std::vector<std::string>{"SavingPageComplete " + Url(1) + " 1 "});
    EXPECT_EQ(recorder_->Starting("StartSavingPage").size(), 3u);
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
    EXPECT_NE(
        LogText().find("\tCSaveWorker.KeepSavedPage\tKept " + tessel::Log::Escape(kept.string())),
        std::string::npos)
        << LogText();
}
