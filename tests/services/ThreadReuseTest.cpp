// Worker threads are reused from run to run, and each run still starts as on a thread of its
// own: nothing of an earlier run on the same thread reaches it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <latch>
#include <regex>
#include <set>

#include "tessel/Log.h"
#include "tessel/MessageQueue.h"
#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

using tessel::Variant;
using tessel::WorkerRegistry;
using tessel::WorkerThread;

namespace {

class FunctionWorker : public tessel::Worker {
  public:
    explicit FunctionWorker(std::function<void()> body) : body_(std::move(body)) {}
    bool HasMethod(const std::string& name) const override { return name == "Run"; }
    void Call(const std::string&, const Variant&) override { body_(); }

  private:
    std::function<void()> body_;
};

void Start(const std::function<void()>& body) {
    WorkerRegistry::Register("test.function",
                             [body] { return std::make_shared<FunctionWorker>(body); });
    WorkerThread().Start("test.function", "Run", {});
}

void RunAndWait(const std::function<void()>& body) {
    Start(body);
    WorkerThread::JoinAll();
}

// The "T" field of each line.
std::vector<int> ThreadNumbers(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<int> numbers;
    const std::regex field(R"(\tT(\d+)\t)");
    std::smatch match;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_search(line, match, field)) numbers.push_back(std::stoi(match[1]));
    }
    return numbers;
}

}  // namespace

TEST(WorkerThreadReuse, RunsOneAfterAnotherShareThreads) {
    constexpr int kRuns = 50;
    std::set<pid_t> threads;
    for (int i = 0; i < kRuns; ++i) RunAndWait([&] { threads.insert(::gettid()); });
    // A new thread per run would give one kernel thread id per run.
    EXPECT_LT(threads.size(), static_cast<std::size_t>(kRuns));
    WorkerRegistry::Unregister("test.function");
}

TEST(WorkerThreadReuse, AsManyRunsGoAtOnceAsAreStarted) {
    constexpr int kRuns = 40;  // more than the threads kept idle afterwards
    std::latch started(kRuns);
    std::promise<void> open;
    const auto gate = open.get_future().share();
    for (int i = 0; i < kRuns; ++i) {
        Start([&] {
            started.count_down();
            gate.wait();
        });
    }
    started.wait();  // never returns when a run waits for another to end
    EXPECT_EQ(WorkerThread::RunningCount(), kRuns);
    open.set_value();
    WorkerThread::JoinAll();
    EXPECT_EQ(WorkerThread::RunningCount(), 0);
    RunAndWait([] {});  // the surplus threads have gone; the pool still runs
    WorkerRegistry::Unregister("test.function");
}

TEST(WorkerThreadReuse, ARunOnAReusedThreadStartsAfresh) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("kes-reuse-" + std::to_string(::getpid()) + ".log");
    bool reused = false;
    for (int attempt = 0; attempt < 200 && !reused; ++attempt) {
        std::filesystem::remove(file);
        pid_t first = 0, second = 0;
        std::shared_ptr<tessel::MessageQueue> firstQueue;
        const auto runLogging = [&](pid_t& tid) {
            tid = ::gettid();
            tessel::Log log;
            log.Open(file.string());
            log.Write(0, "run", tessel::level::kInfo, "test");
        };
        RunAndWait([&] {
            runLogging(first);
            firstQueue = tessel::MessageQueue::Current();
        });
        bool leaked = false;
        const bool posted = firstQueue->Post([&] { leaked = true; });
        RunAndWait([&] {
            runLogging(second);
            tessel::Toolbox::PumpMessages();
        });
        reused = first == second;
        if (!reused) continue;
        EXPECT_FALSE(posted) << "the first run's queue closed with the run";
        EXPECT_FALSE(leaked);
        const auto numbers = ThreadNumbers(file);
        ASSERT_EQ(numbers.size(), 2u);
        EXPECT_NE(numbers[0], numbers[1]) << "each run has a log thread number of its own";
    }
    EXPECT_TRUE(reused) << "no run came after another on its thread";
    std::filesystem::remove(file);
    WorkerRegistry::Unregister("test.function");
}
