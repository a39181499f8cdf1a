// Result pages past the size kept in memory: they wait on disk while they arrive, are saved
// byte for byte, and leave nothing behind when they do not arrive whole.
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "JobHarness.h"
#include "platform/ResponseBody.h"
#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

using jobtest::JobTest;
using jobtest::UnnamedFilesIn;
using serpdouble::Fault;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kLarge = 3 * platform::ResponseBody::kSpoolThreshold + 5;

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

class LargePages : public JobTest {
  protected:
    // A small page and one of kLarge bytes that sends two thirds of itself, then stalls. The
    // first is small, so the only unnamed file is the second's (a spooled file that has been
    // named still shows as unnamed in /proc until it is closed).
    void StartWithAStalledLargePage() {
        auto options = Results(2);
        options.pageSizes = {{1, 1000}, {2, kLarge}};
        options.content = serpdouble::PageContent::Binary;
        options.resultFaults = {{2, Fault::PartialThenStallAfter(2 * kLarge / 3)}};
        StartDouble(options);
        saver_.Save(PagesTask("big", 1, 10, 10));
        ASSERT_TRUE(
            PumpUntil([&] { return recorder_->Starting("SavingPageComplete").size() == 1; }));
        ASSERT_TRUE(PumpUntilSpooled(Folder(), 1))
            << "the stalled page is not spooled beside its folder";
    }
    // Lets every thread end, then checks that only the first page is there.
    void ExpectOnlyTheWholePage() {
        ASSERT_TRUE(PumpUntil([&] { return recorder_->completes == 1; }));
        tessel::WorkerThread::JoinAll();
        EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
        EXPECT_EQ(FilesIn(Folder()),
                  std::vector<std::string>{SavedPage("big", 1, Url(1)).filename().string()});
        EXPECT_EQ(ReadFile(SavedPage("big", 1, Url(1))), double_->ExpectedBody(1));
        EXPECT_EQ(UnnamedFilesIn(Folder()), 0) << "the spooled part was not freed";
    }
    fs::path Folder() const { return fs::path(Out()) / "big"; }
};

TEST_F(LargePages, PagesOnBothSidesOfTheMemoryThresholdAreSavedByteForByte) {
    auto options = Results(4);
    const std::size_t threshold = platform::ResponseBody::kSpoolThreshold;
    options.pageSizes = {{1, threshold}, {2, threshold + 1}, {3, kLarge}, {4, 10}};
    options.content = serpdouble::PageContent::Binary;
    StartDouble(options);
    ASSERT_TRUE(RunJob(PagesTask("big", 1, 10, 10)));
    EXPECT_EQ(recorder_->events.back(), "Complete 1 ");
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(ReadFile(SavedPage("big", n, Url(n))), double_->ExpectedBody(n));
    }
    EXPECT_EQ(FilesIn(Folder()).size(), 4u) << "a temporary file was left";
}

TEST_F(LargePages, ACancelInTheMiddleOfALargePageLeavesNoFile) {
    StartWithAStalledLargePage();
    saver_.CancelAll();
    ExpectOnlyTheWholePage();
    EXPECT_EQ(recorder_->Starting("SavingPageComplete " + Url(2)),
              std::vector<std::string>{"SavingPageComplete " + Url(2) + " 0 Cancelled"});
}

TEST_F(LargePages, AConnectionBrokenInTheMiddleOfALargePageFailsItAndLeavesNoFile) {
    StartWithAStalledLargePage();
    double_->Stop();
    ExpectOnlyTheWholePage();
    const auto rows = recorder_->Starting("SavingPageComplete " + Url(2) + " 0 ");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_GT(rows[0].size(), ("SavingPageComplete " + Url(2) + " 0 ").size()) << "no description";
}

}  // namespace
