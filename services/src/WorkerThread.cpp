#include "tessel/WorkerThread.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <future>

#include "ThreadPool.h"
#include "ThreadRun.h"
#include "tessel/Error.h"

namespace tessel {
namespace {

ThreadPool& Threads() {
    static ThreadPool pool;
    return pool;
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
    // Shared: the pool's tasks are copyable functions.
    auto created = std::make_shared<std::promise<Created>>();
    auto ready = created->get_future();
    Threads().Run([created, progId, methodName, argument = std::move(argument)]() mutable {
        Created outcome;
        try {
            outcome.worker = CreateWorker(progId, methodName);
        } catch (const std::exception& e) {
            const ComError error = ToComError(e, err::kCannotCreateObject);
            outcome.number = error.Number();
            outcome.description = error.Description();
        }
        std::shared_ptr<Worker> worker = outcome.worker;
        created->set_value(std::move(outcome));
        if (worker) RunWorker(*worker, methodName, argument);
        // Release the worker (and what it holds) before the thread counts as finished.
        worker.reset();
        argument = {};
        detail::EndThreadRun();
    });
    Created outcome = ready.get();
    if (!outcome.worker) throw ComError(outcome.number, outcome.description);
    return outcome.worker;
}

void WorkerThread::JoinAll() {
    Threads().WaitIdle();
}

int WorkerThread::RunningCount() {
    return Threads().RunningCount();
}

std::shared_ptr<void> WorkerThread::ObserveIdle(std::function<void()> observer) {
    return Threads().ObserveIdle(std::move(observer));
}

}  // namespace tessel
