#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tessel {

// The threads behind WorkerThread. A task runs on an idle thread of the pool, or on a new
// one when none is idle; a thread that has run its task waits for the next, so a job of a
// thousand downloads starts a handful of threads, not a thousand. A thread idle for kIdleFor,
// or beyond kMaxIdle, ends: between jobs the process holds no more threads than before.
// Every thread is joined before the pool is destroyed.
class ThreadPool {
  public:
    static constexpr std::size_t kMaxIdle = 32;
    static constexpr std::chrono::milliseconds kIdleFor{1000};

    ThreadPool() = default;
    ~ThreadPool();
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    // Runs `task` on a thread of the pool; the task is destroyed there after it ran.
    void Run(std::function<void()> task);
    // Waits until no task is running, also those started meanwhile.
    void WaitIdle();
    // Tasks started and not yet ended.
    int RunningCount();
    // See WorkerThread::ObserveIdle.
    std::shared_ptr<void> ObserveIdle(std::function<void()> observer);

  private:
    using Observer = std::shared_ptr<std::function<void()>>;

    void Loop();
    // True with a task to run; false when the thread is to end.
    bool NextTask(std::function<void()>& task);
    void TaskEnded();
    std::vector<Observer> LiveObserversLocked();
    void ReapLocked();

    std::mutex lock_;
    std::condition_variable work_;
    std::condition_variable quiet_;  // no task running
    std::deque<std::function<void()>> queued_;
    std::list<std::thread> threads_;
    std::vector<std::thread::id> exited_;  // ended and not joined yet
    std::vector<std::weak_ptr<std::function<void()>>> observers_;
    int running_ = 0;       // tasks queued or running
    int ending_ = 0;        // of those, tasks that returned and are telling the observers
    std::size_t idle_ = 0;  // threads not running a task
    bool stopping_ = false;
};

}  // namespace tessel
