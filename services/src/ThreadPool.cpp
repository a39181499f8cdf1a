#include "ThreadPool.h"

#include <algorithm>

namespace tessel {

ThreadPool::~ThreadPool() {
    WaitIdle();
    std::list<std::thread> threads;
    {
        std::lock_guard guard(lock_);
        stopping_ = true;
        threads.swap(threads_);
    }
    work_.notify_all();
    for (auto& thread : threads) thread.join();
}

void ThreadPool::Run(std::function<void()> task) {
    std::lock_guard guard(lock_);
    ReapLocked();
    queued_.push_back(std::move(task));
    ++running_;
    // An idle thread already promised to an earlier queued task does not count.
    if (idle_ >= queued_.size()) {
        work_.notify_one();
    } else {
        ++idle_;  // until it takes a task
        threads_.emplace_back([this] { Loop(); });
    }
}

void ThreadPool::Loop() {
    std::function<void()> task;
    while (NextTask(task)) {
        task();
        task = nullptr;  // what the task holds goes before it counts as ended
        TaskEnded();
    }
}

bool ThreadPool::NextTask(std::function<void()>& task) {
    std::unique_lock guard(lock_);
    work_.wait_for(guard, kIdleFor,
                   [this] { return stopping_ || !queued_.empty() || idle_ > kMaxIdle; });
    --idle_;
    if (queued_.empty()) {
        // Told to stop, one idle thread too many, or idle too long: the next Run (or the
        // pool) joins it.
        if (!stopping_) exited_.push_back(std::this_thread::get_id());
        return false;
    }
    task = std::move(queued_.front());
    queued_.pop_front();
    return true;
}

void ThreadPool::TaskEnded() {
    std::vector<Observer> observers;
    {
        std::lock_guard guard(lock_);
        // A task telling the observers has ended already: the idle moment is the last
        // task's end, and only that task tells them.
        ++ending_;
        if (ending_ == running_) observers = LiveObserversLocked();
    }
    for (const auto& observer : observers) (*observer)();
    // Let go before counting as ended: a token released after WaitIdle must silence them.
    observers.clear();
    {
        std::lock_guard guard(lock_);
        --ending_;
        --running_;
        // Idle from here on: a task started once this one counts as ended finds it.
        ++idle_;
    }
    quiet_.notify_all();
}

void ThreadPool::WaitIdle() {
    std::unique_lock guard(lock_);
    quiet_.wait(guard, [this] { return running_ == 0; });
    ReapLocked();
}

int ThreadPool::RunningCount() {
    std::lock_guard guard(lock_);
    return running_ - ending_;
}

std::shared_ptr<void> ThreadPool::ObserveIdle(std::function<void()> observer) {
    auto token = std::make_shared<std::function<void()>>(std::move(observer));
    std::lock_guard guard(lock_);
    observers_.push_back(token);
    return token;
}

std::vector<ThreadPool::Observer> ThreadPool::LiveObserversLocked() {
    std::erase_if(observers_, [](const auto& o) { return o.expired(); });
    std::vector<Observer> live;
    for (const auto& o : observers_) {
        if (auto strong = o.lock()) live.push_back(std::move(strong));
    }
    return live;
}

void ThreadPool::ReapLocked() {
    for (const auto id : exited_) {
        const auto it = std::find_if(threads_.begin(), threads_.end(),
                                     [id](const std::thread& t) { return t.get_id() == id; });
        // It has left its loop; joining waits only for its last instructions.
        if (it != threads_.end()) {
            it->join();
            threads_.erase(it);
        }
    }
    exited_.clear();
}

}  // namespace tessel
