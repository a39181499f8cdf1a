#include <gtest/gtest.h>

#include <signal.h>
#include <sys/eventfd.h>

#include <atomic>
#include <sstream>

#include "JobRunner.h"
#include "platform/KernelObjects.h"
#include "tessel/FileDescriptor.h"
#include "tessel/WorkerThread.h"

namespace kestrova::cli {
namespace {

using tessel::Variant;
using tessel::VariantArray;

// A stop request as the signal handler makes one: the number, and a descriptor rung once.
class FakeStop {
  public:
    FakeStop() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}
    void Raise(int signal) {
        signal_ = signal;
        eventfd_write(fd_.Get(), 1);
    }
    StopRequest Request() {
        return {[this] {
                    ++asked_;
                    return signal_.load();
                },
                fd_.Get()};
    }
    int Asked() const { return asked_; }

  private:
    tessel::FileDescriptor fd_;
    std::atomic<int> signal_{0};
    int asked_ = 0;
};

FakeStop* gStop = nullptr;  // the running test's, for the scripted job to raise

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
        gStop->Raise(SIGINT);
        auto cancel = platform::CreateEventA(true, false, data->Item("CancelEventName").ToString());
        const bool cancelled =
            platform::WaitForSingleObject(cancel, 20'000) == platform::WaitResult::Signalled;
        m->Send(2, VariantArray{"http://a/", false, cancelled ? "Cancelled" : "Not cancelled",
                                Variant()});
        m->Send(4, VariantArray{data->Item("Cookie"), true, int32_t{0}, Variant()});
    }
};

class JobRunnerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gStop = &stop_;
        tessel::WorkerRegistry::Register(fetchcore::kSaveWorkerProgID,
                                         [] { return std::make_shared<ScriptedJob>(); });
        saver_.Init(nullptr);
    }
    void TearDown() override {
        tessel::WorkerThread::JoinAll();
        tessel::WorkerRegistry::Unregister(fetchcore::kSaveWorkerProgID);
    }
    JobOutcome Run(const std::string& script) {
        auto task = std::make_shared<fetchcore::CTask>();
        task->KW(script);
        return JobRunner(saver_, table_, progress_).Run(task, stop_.Request());
    }

    FakeStop stop_;
    fetchcore::CSaver saver_;
    JobProgress table_{[](int32_t, const std::string&) { return std::string(); }};
    std::ostringstream progressText_;
    Progress progress_{progressText_, Progress::Mode::Lines};
};

TEST_F(JobRunnerTest, AStopRequestWakesTheRunCancelsTheJobOnceAndWaitsForItsEnd) {
    const auto outcome = Run("wait");
    EXPECT_TRUE(outcome.success);
    EXPECT_GE(stop_.Asked(), 1);
    EXPECT_EQ(outcome.stopSignal, SIGINT);
    const auto rows = table_.ListedRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].detail, "Cancelled");
    EXPECT_NE(progressText_.str().find("failed 1 http://a/: Cancelled"), std::string::npos);
}

TEST_F(JobRunnerTest, AJobThatEndsWithoutCompleteDoesNotHangTheRun) {
    const auto outcome = Run("silent");
    EXPECT_FALSE(outcome.success);
    EXPECT_FALSE(outcome.description.empty());
    EXPECT_EQ(outcome.stopSignal, 0);
}

}  // namespace
}  // namespace kestrova::cli
