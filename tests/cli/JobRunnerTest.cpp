#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <sstream>

#include "JobRunner.h"
#include "platform/KernelObjects.h"
#include "tessel/WorkerThread.h"

namespace kestrova::cli {
namespace {

using tessel::Variant;
using tessel::VariantArray;

// Stands in for the save job; the task's keyword names what it does.
class ScriptedJob : public tessel::Worker {
  public:
    bool HasMethod(const std::string& name) const override { return name == "Run"; }
    void Call(const std::string&, const Variant& argument) override {
        auto data = argument.As<tessel::KeyedCollection>();
        if (data->Item("Task").As<fetchcore::CTask>()->KW() == "silent") return;
        auto m = data->Item("Messanger").As<tessel::Messanger>();
        m->Send(3, VariantArray{"http://a/\r\n", Variant(), Variant(), Variant()});
        m->Send(1, VariantArray{int32_t{1}, "http://a/", Variant(), Variant()});
        auto cancel = platform::CreateEventA(true, false, data->Item("CancelEventName").ToString());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (platform::WaitForSingleObject(cancel) != platform::WaitResult::Signalled &&
               std::chrono::steady_clock::now() < deadline) {
            platform::Sleep(1);
        }
        m->Send(2, VariantArray{"http://a/", false, "Cancelled", Variant()});
        m->Send(4, VariantArray{data->Item("Cookie"), true, int32_t{0}, Variant()});
    }
};

class JobRunnerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tessel::WorkerRegistry::Register(fetchcore::kSaveWorkerProgID,
                                         [] { return std::make_shared<ScriptedJob>(); });
        saver_.Init(nullptr);
    }
    void TearDown() override {
        tessel::WorkerThread::JoinAll();
        tessel::WorkerRegistry::Unregister(fetchcore::kSaveWorkerProgID);
    }
    JobOutcome Run(const std::string& script, JobRunner::StopRequest stop) {
        auto task = std::make_shared<fetchcore::CTask>();
        task->KW(script);
        return JobRunner(saver_, table_, progress_).Run(task, stop);
    }

    fetchcore::CSaver saver_;
    ResultTable table_{[](int32_t, const std::string&) { return std::string(); }};
    std::ostringstream progressText_;
    Progress progress_{progressText_, Progress::Mode::Lines};
};

TEST_F(JobRunnerTest, AStopRequestCancelsTheJobOnceAndWaitsForItsEnd) {
    int asked = 0;
    const auto outcome = Run("wait", [&] { return ++asked >= 2 ? SIGINT : 0; });
    EXPECT_TRUE(outcome.success);
    EXPECT_EQ(outcome.stopSignal, SIGINT);
    const auto rows = table_.Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].detail, "Cancelled");
    EXPECT_NE(progressText_.str().find("failed 1 http://a/: Cancelled"), std::string::npos);
}

TEST_F(JobRunnerTest, AJobThatEndsWithoutCompleteDoesNotHangTheRun) {
    const auto outcome = Run("silent", [] { return 0; });
    EXPECT_FALSE(outcome.success);
    EXPECT_FALSE(outcome.description.empty());
    EXPECT_EQ(outcome.stopSignal, 0);
}

}  // namespace
}  // namespace kestrova::cli
