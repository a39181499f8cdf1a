#include "tessel/WorkerThread.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <future>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

#include "tessel/Error.h"

namespace tessel {
namespace {

// Every worker thread of the process, so shutdown can wait for them. Threads that
// have ended are joined on the next start.
class ThreadTable {
  public:
    ~ThreadTable() { JoinAll(); }

    // Serials, not thread ids: an id is reused once its thread has been joined.
    uint64_t NextSerial() { return ++lastSerial_; }

    void Add(std::thread thread, uint64_t serial) {
        std::lock_guard guard(lock_);
        running_.push_back({std::move(thread), serial});
        ReapLocked();
    }

    void MarkFinished(uint64_t serial) {
        bool idle = false;
        std::vector<std::shared_ptr<std::function<void()>>> observers;
        {
            std::lock_guard guard(lock_);
            finished_.push_back(serial);
            const auto ended = [this](uint64_t serial) {
                return std::find(finished_.begin(), finished_.end(), serial) != finished_.end();
            };
            // A thread being joined has left the table but may not have returned yet.
            idle = std::all_of(running_.begin(), running_.end(),
                               [&](const Entry& e) { return ended(e.serial); }) &&
                   std::all_of(joining_.begin(), joining_.end(), ended);
            if (idle) observers = LiveObserversLocked();
        }
        for (const auto& observer : observers) (*observer)();
    }

    std::shared_ptr<void> ObserveIdle(std::function<void()> observer) {
        auto token = std::make_shared<std::function<void()>>(std::move(observer));
        std::lock_guard guard(lock_);
        observers_.push_back(token);
        return token;
    }

    void JoinAll() {
        for (;;) {
            Entry next;
            {
                std::lock_guard guard(lock_);
                if (running_.empty()) return;
                next = std::move(running_.front());
                running_.pop_front();
                joining_.push_back(next.serial);
            }
            if (next.thread.joinable()) next.thread.join();
            std::lock_guard guard(lock_);
            std::erase(finished_, next.serial);
            std::erase(joining_, next.serial);
        }
    }

    int RunningCount() {
        std::lock_guard guard(lock_);
        ReapLocked();
        return static_cast<int>(running_.size());
    }

  private:
    struct Entry {
        std::thread thread;
        uint64_t serial = 0;
    };

    // Joins the threads that have returned; a serial whose thread is not in the table
    // yet stays until its Add.
    void ReapLocked() {
        std::erase_if(finished_, [this](uint64_t serial) {
            for (auto it = running_.begin(); it != running_.end(); ++it) {
                if (it->serial == serial) {
                    if (it->thread.joinable()) it->thread.join();
                    running_.erase(it);
                    return true;
                }
            }
            return false;
        });
    }

    std::vector<std::shared_ptr<std::function<void()>>> LiveObserversLocked() {
        std::erase_if(observers_, [](const auto& o) { return o.expired(); });
        std::vector<std::shared_ptr<std::function<void()>>> live;
        for (const auto& o : observers_) {
            if (auto strong = o.lock()) live.push_back(std::move(strong));
        }
        return live;
    }

    std::mutex lock_;
    std::vector<std::weak_ptr<std::function<void()>>> observers_;
    std::atomic<uint64_t> lastSerial_{0};
    std::list<Entry> running_;
    std::vector<uint64_t> finished_;
    std::vector<uint64_t> joining_;  // taken out of running_ by JoinAll, not joined yet
};

ThreadTable& Threads() {
    static ThreadTable table;
    return table;
}

std::shared_ptr<Worker> CreateWorker(const std::string& progId, const std::string& methodName) {
    const WorkerFactory factory = WorkerRegistry::Find(progId);
    if (!factory)
        throw ComError(err::kCannotCreateObject,
                       "ActiveX component can't create object: " + progId);
    std::shared_ptr<Worker> worker = factory();
    if (!worker)
        throw ComError(err::kCannotCreateObject,
                       "ActiveX component can't create object: " + progId);
    if (!worker->HasMethod(methodName))
        throw ComError(err::kMethodNotSupported,
                       "Object doesn't support this property or method: " + methodName);
    return worker;
}

void RunWorker(Worker& worker, const std::string& methodName, const Variant& argument) {
    try {
        worker.Call(methodName, argument);
    } catch (const std::exception& e) {
        // Nobody is left to report to: the worker's owner only hears what the worker sent.
        const ComError error = ToComError(e);
        std::fprintf(stderr, "kestrova: worker %s ended with error %d: %s\n", methodName.c_str(),
                     error.Number(), error.Description().c_str());
    }
}

}  // namespace

std::shared_ptr<Object> WorkerThread::Start(const std::string& progId,
                                            const std::string& methodName, Variant argument) {
    // The outcome of creation crosses threads as plain values: an exception object
    // shared between threads is reference counted where sanitizers cannot see it.
    struct Created {
        std::shared_ptr<Worker> worker;
        int32_t number = 0;
        std::string description;
    };
    std::promise<Created> created;
    auto ready = created.get_future();
    const uint64_t serial = Threads().NextSerial();
    std::thread thread([created = std::move(created), serial, progId, methodName,
                        argument = std::move(argument)]() mutable {
        Created outcome;
        try {
            outcome.worker = CreateWorker(progId, methodName);
        } catch (const std::exception& e) {
            const ComError error = ToComError(e, err::kCannotCreateObject);
            outcome.number = error.Number();
            outcome.description = error.Description();
        }
        std::shared_ptr<Worker> worker = outcome.worker;
        created.set_value(std::move(outcome));
        if (worker) RunWorker(*worker, methodName, argument);
        // Release the worker (and what it holds) before the thread counts as finished.
        worker.reset();
        Threads().MarkFinished(serial);
    });
    Threads().Add(std::move(thread), serial);
    Created outcome = ready.get();
    if (!outcome.worker) throw ComError(outcome.number, outcome.description);
    return outcome.worker;
}

void WorkerThread::JoinAll() {
    Threads().JoinAll();
}

int WorkerThread::RunningCount() {
    return Threads().RunningCount();
}

std::shared_ptr<void> WorkerThread::ObserveIdle(std::function<void()> observer) {
    return Threads().ObserveIdle(std::move(observer));
}

}  // namespace tessel
