// Worker threads are reused from run to run, never at the cost of runs at once, and each run
// starts as on a thread of its own: nothing of an earlier run on the thread reaches it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <latch>
#include <set>

#include "tessel/Log.h"
#include "tessel/MessageQueue.h"
#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

namespace {

struct FunctionWorker : tessel::Worker {
    std::function<void()> body;
    bool HasMethod(const std::string& name) const override { return name == "Run"; }
    void Call(const std::string&, const tessel::Variant&) override { body(); }
};

void Start(const std::function<void()>& body) {
    tessel::WorkerRegistry::Register("test.function", [body] {
        auto worker = std::make_shared<FunctionWorker>();
        worker->body = body;
        return worker;
    });
    tessel::WorkerThread().Start("test.function", "Run", {});
}

}  // namespace

TEST(WorkerThreadReuse, AsManyRunsGoAtOnceAsAreStarted) {
    constexpr int kRuns = 40;  // more than the threads kept idle afterwards
    std::latch started(kRuns);
    std::promise<void> open;
    const auto gate = open.get_future().share();
    for (int i = 0; i < kRuns; ++i) Start([&] { started.count_down(), gate.wait(); });
    started.wait();  // never returns when a run waits for another to end
    EXPECT_EQ(tessel::WorkerThread::RunningCount(), kRuns);
    open.set_value();
    tessel::WorkerThread::JoinAll();
    EXPECT_EQ(tessel::WorkerThread::RunningCount(), 0);
}

TEST(WorkerThreadReuse, ARunOnAReusedThreadStartsAfresh) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("kes-reuse-" + std::to_string(::getpid()) + ".log");
    std::filesystem::remove(file);
    constexpr int kRuns = 100;  // more than the pool keeps idle: some thread runs twice
    std::set<pid_t> threads;
    bool leaked = false;
    for (int i = 0; i < kRuns; ++i) {
        std::shared_ptr<tessel::MessageQueue> queue;
        Start([&] {
            tessel::Toolbox::PumpMessages();  // what was posted to an earlier run's queue
            threads.insert(::gettid());
            queue = tessel::MessageQueue::Current();
            tessel::Log log;
            log.Open(file.string());
            log.Write(0, "run", tessel::level::kInfo, "test");
        });
        tessel::WorkerThread::JoinAll();
        EXPECT_FALSE(queue->Post([&] { leaked = true; })) << "closed with its run";
    }
    EXPECT_LT(threads.size(), static_cast<std::size_t>(kRuns));
    EXPECT_FALSE(leaked);
    std::ifstream in(file);
    std::set<std::string> numbers;
    for (std::string line; std::getline(in, line);) {
        const auto field = line.find("\tT");  // the thread number, up to the level
        numbers.insert(line.substr(field, line.find("\tL") - field));
    }
    EXPECT_EQ(numbers.size(), static_cast<std::size_t>(kRuns)) << "a log thread number per run";
    std::filesystem::remove(file);
    tessel::WorkerRegistry::Unregister("test.function");
}
