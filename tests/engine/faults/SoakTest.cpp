// Many jobs through one saver in one process: nothing is left behind after each, and jobs
// at once share the saver's five download slots.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "soak/SoakRun.h"
#include "tessel/Toolbox.h"

namespace {

namespace fs = std::filesystem;
using soak::Gauge;
using soak::SoakRun;

class Soak : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kes-soak-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    static int FilesIn(const fs::path& folder) {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(folder)) count += entry.is_regular_file();
        return count;
    }

    fs::path dir_;
};

TEST_F(Soak, JobsOneAfterAnotherGiveBackTheirDescriptorsAndThreads) {
    constexpr int kPages = 100;
    constexpr int kWarmUp = 5;
    SoakRun run(dir_, kPages);
    // The first jobs set up what lives for the whole process: the saver's pool of idle
    // connections grows to the most downloads it has seen at once, then stays.
    Gauge level;
    for (int job = 1; job <= kWarmUp; ++job) {
        ASSERT_TRUE(run.Run(1));
        const Gauge after = run.Settle(soak::Measure());
        level.descriptors = std::max(level.descriptors, after.descriptors);
        level.threads = std::max(level.threads, after.threads);
    }
    for (int job = kWarmUp + 1; job <= 2 * kWarmUp; ++job) {
        SCOPED_TRACE("job " + std::to_string(job));
        ASSERT_TRUE(run.Run(1));
        const Gauge after = run.Settle(level);
        EXPECT_LE(after.descriptors, level.descriptors);
        EXPECT_LE(after.threads, level.threads);
    }
    EXPECT_EQ(run.Completes(), 2 * kWarmUp);
    EXPECT_EQ(run.SavedPages(), 2 * kWarmUp * kPages);
    EXPECT_EQ(run.FailedPages(), 0);
}

TEST_F(Soak, FiveJobsAtOnceShareTheFiveSlotsAndEachCompletesOnce) {
    constexpr int kPages = 20;
    // Each answer is held a moment, so that the jobs' downloads overlap at the server.
    SoakRun run(dir_, kPages, std::chrono::milliseconds(20));
    ASSERT_TRUE(run.Run(5));
    tessel::Toolbox::PumpMessagesFor(std::chrono::milliseconds(100));  // room for a late event
    EXPECT_EQ(run.Completes(), 5);
    EXPECT_FALSE(run.Busy());
    EXPECT_EQ(run.SavedPages(), 5 * kPages);
    const auto stats = run.Double().Snapshot();
    EXPECT_LE(stats.maxAnswering, 5);
    EXPECT_GT(stats.maxAnswering, 1) << "the jobs never overlapped";
    for (int i = 0; i < 5; ++i) EXPECT_EQ(FilesIn(dir_ / ("soak " + std::to_string(i))), kPages);
}

}  // namespace
