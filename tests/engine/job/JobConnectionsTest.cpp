// A job reuses its connections to a host, as curl does.
#include "JobHarness.h"

namespace jobtest {
namespace {

TEST_F(JobTest, AHundredPageJobAgainstOneHostOpensAtMostTenConnections) {
    auto options = Results(100);
    options.keepAlive = true;
    StartDouble(options);
    ASSERT_TRUE(RunJob(PagesTask("reuse", 1, 100, 10)));
    const auto ended = recorder_->Starting("SavingPageComplete");
    ASSERT_EQ(ended.size(), 100u);
    for (const auto& e : ended) EXPECT_TRUE(e.ends_with(" 1 ")) << e;
    const auto stats = double_->Snapshot();
    EXPECT_EQ(stats.searchRequests, 10);
    EXPECT_EQ(stats.pageRequests, 100);
    EXPECT_GE(stats.connections, 1);
    EXPECT_LE(stats.connections, 10);
}

TEST_F(JobTest, ASecondJobOfTheSaverFindsTheConnectionsOpen) {
    auto options = Results(20);
    options.keepAlive = true;
    StartDouble(options);
    ASSERT_TRUE(RunJob(PagesTask("first", 1, 20, 10)));
    const int afterFirst = double_->Snapshot().connections;
    ASSERT_TRUE(RunJob(Task("second", 1, 10, 10)));
    EXPECT_EQ(double_->Snapshot().Requests(), 2 + 20 + 1);
    EXPECT_EQ(double_->Snapshot().connections, afterFirst);
}

}  // namespace
}  // namespace jobtest
