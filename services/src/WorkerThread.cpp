#include "tessel/WorkerThread.h"

#include <cstdio>
#include <exception>
#include <future>
#include <list>
#include <mutex>
#include <thread>

#include "tessel/Error.h"

namespace tessel {
namespace {

// Every worker thread of the process, so shutdown can wait for them. Threads that
// have ended are joined on the next start.
class ThreadTable {
public:
    ~ThreadTable() { JoinAll(); }

    void Add(std::thread thread) {
        const auto id = thread.get_id();
        std::lock_guard guard(lock_);
        running_.push_back({std::move(thread), id});
        ReapLocked();
    }

    void MarkFinished(std::thread::id id) {
        std::lock_guard guard(lock_);
        finished_.push_back(id);
    }

    void JoinAll() {
        for (;;) {
            std::thread next;
            {
                std::lock_guard guard(lock_);
                if (running_.empty()) return;
                next = std::move(running_.front().thread);
                running_.pop_front();
            }
            if (next.joinable()) next.join();
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
        std::thread::id id;
    };

    void ReapLocked() {
        for (const auto id : finished_) {
            for (auto it = running_.begin(); it != running_.end(); ++it) {
                if (it->id == id) {
                    if (it->thread.joinable()) it->thread.join();  // it has returned already
                    running_.erase(it);
                    break;
                }
            }
        }
        finished_.clear();
    }

    std::mutex lock_;
    std::list<Entry> running_;
    std::vector<std::thread::id> finished_;
};

ThreadTable& Threads() {
    static ThreadTable table;
    return table;
}

std::shared_ptr<Worker> CreateWorker(const std::string& progId, const std::string& methodName) {
    const WorkerFactory factory = WorkerRegistry::Find(progId);
    if (!factory)
        throw ComError(err::kCannotCreateObject, "ActiveX component can't create object: " + progId);
    std::shared_ptr<Worker> worker = factory();
    if (!worker)
        throw ComError(err::kCannotCreateObject, "ActiveX component can't create object: " + progId);
    if (!worker->HasMethod(methodName))
        throw ComError(err::kMethodNotSupported,
                       "Object doesn't support this property or method: " + methodName);
    return worker;
}

void RunWorker(Worker& worker, const std::string& methodName, const Variant& argument) {
    try {
        worker.Call(methodName, argument);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrova: worker %s ended with an error: %s\n", methodName.c_str(),
                     e.what());
    }
}

}  // namespace

std::shared_ptr<Object> WorkerThread::Start(const std::string& progId,
                                            const std::string& methodName, Variant argument) {
    std::promise<std::shared_ptr<Worker>> created;
    auto ready = created.get_future();
    std::thread thread([created = std::move(created), progId, methodName,
                        argument = std::move(argument)]() mutable {
        std::shared_ptr<Worker> worker;
        try {
            worker = CreateWorker(progId, methodName);
            created.set_value(worker);
        } catch (...) {
            created.set_exception(std::current_exception());
        }
        if (worker) RunWorker(*worker, methodName, argument);
        // Release the worker (and what it holds) before the thread counts as finished.
        worker.reset();
        Threads().MarkFinished(std::this_thread::get_id());
    });
    Threads().Add(std::move(thread));
    return ready.get();  // rethrows a creation failure
}

void WorkerThread::JoinAll() { Threads().JoinAll(); }

int WorkerThread::RunningCount() { return Threads().RunningCount(); }

}  // namespace tessel
