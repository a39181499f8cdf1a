#include <gtest/gtest.h>

#include "taskcore/KeywordSequence.h"

namespace kestrova {
namespace {

using Step = KeywordSequence::Step;
using std::chrono::milliseconds;

TEST(KeywordSequence, EveryKeywordRunsInTurnWithThePauseBetweenAndAFailureDoesNotStopTheRun) {
    KeywordSequence run({"kites", "owls", "hawks"}, milliseconds(1500));
    EXPECT_EQ(run.Start(), Step::Run);
    EXPECT_EQ(run.Label(), "kites (1/3)");
    EXPECT_EQ(run.JobEnded(false), Step::Pause);
    EXPECT_EQ(run.PauseLength(), milliseconds(1500));
    EXPECT_EQ(run.PauseOver(), Step::Run);
    EXPECT_EQ(run.Label(), "owls (2/3)");
    EXPECT_EQ(run.JobEnded(true), Step::Pause);
    EXPECT_EQ(run.PauseOver(), Step::Run);
    EXPECT_EQ(run.Keyword(), "hawks");
    EXPECT_TRUE(run.Running());
    // No pause after the last job.
    EXPECT_EQ(run.JobEnded(true), Step::Done);
    EXPECT_FALSE(run.Running());
    EXPECT_FALSE(run.Cancelled());
    EXPECT_EQ(run.Failed(), 1u);
    // A late report changes nothing.
    EXPECT_EQ(run.JobEnded(false), Step::Done);
    EXPECT_EQ(run.Failed(), 1u);
}

TEST(KeywordSequence, WithoutAPauseTheNextJobFollowsAtOnceAndAnEmptyListRunsNothing) {
    KeywordSequence run({"a", "b"}, milliseconds(0));
    EXPECT_EQ(run.Start(), Step::Run);
    EXPECT_EQ(run.JobEnded(true), Step::Run);
    EXPECT_EQ(run.Label(), "b (2/2)");
    EXPECT_EQ(run.JobEnded(true), Step::Done);
    KeywordSequence empty({}, milliseconds(10));
    EXPECT_EQ(empty.Start(), Step::Done);
    EXPECT_FALSE(empty.Running());
}

TEST(KeywordSequence, ACancelDuringAJobOrAPauseStartsNoOtherJob) {
    KeywordSequence duringJob({"a", "b", "c"}, milliseconds(5));
    duringJob.Start();
    duringJob.Cancel();
    EXPECT_TRUE(duringJob.Running());  // until its job has ended
    EXPECT_EQ(duringJob.JobEnded(false), Step::Done);
    EXPECT_TRUE(duringJob.Cancelled());
    EXPECT_EQ(duringJob.Label(), "a (1/3)");

    KeywordSequence duringPause({"a", "b", "c"}, milliseconds(5));
    duringPause.Start();
    EXPECT_EQ(duringPause.JobEnded(true), Step::Pause);
    duringPause.Cancel();
    EXPECT_EQ(duringPause.PauseOver(), Step::Done);
    EXPECT_FALSE(duringPause.Running());
    // A new start runs the list again from the first keyword.
    EXPECT_EQ(duringPause.Start(), Step::Run);
    EXPECT_FALSE(duringPause.Cancelled());
    EXPECT_EQ(duringPause.Label(), "a (1/3)");
}

}  // namespace
}  // namespace kestrova
