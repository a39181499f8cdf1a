#pragma once

#include <functional>
#include <memory>
#include <string>

#include "tessel/Object.h"
#include "tessel/Variant.h"

namespace tessel {

// An object that WorkerThread can create by ProgID and call a method of.
class Worker : public Object {
  public:
    virtual bool HasMethod(const std::string& name) const = 0;
    // Runs `name` with `argument` on the worker's thread. An exception escaping it is
    // logged to standard error and ends the thread, never the process.
    virtual void Call(const std::string& name, const Variant& argument) = 0;
};

using WorkerFactory = std::function<std::shared_ptr<Worker>()>;

// ProgID -> factory. Registering a ProgID again replaces the factory (tests use this
// to swap in workers of their own). Thread-safe.
class WorkerRegistry {
  public:
    static void Register(const std::string& progId, WorkerFactory factory);
    // Registers only when the ProgID has no factory yet (the components' defaults).
    static void RegisterDefault(const std::string& progId, WorkerFactory factory);
    static void Unregister(const std::string& progId);
    static WorkerFactory Find(const std::string& progId);  // empty when unknown
};

// Starts a method of a new object, created by ProgID, on a new thread.
class WorkerThread : public Object {
  public:
    // Creates the object on a new thread, checks the method, calls it there and returns
    // without waiting for it. Throws ComError (err::kCannotCreateObject) for an unknown
    // ProgID or a factory that fails, and err::kMethodNotSupported for an unknown method;
    // no call is made then. The returned object is not used by the callers.
    std::shared_ptr<Object> Start(const std::string& progId, const std::string& methodName,
                                  Variant argument);

    // Waits for every worker thread started so far in this process (for shutdown).
    static void JoinAll();
    // The number of worker threads still running.
    static int RunningCount();
    // Calls `observer` (on the ending thread) each time a worker thread ends with no other
    // left running, until the returned token is released: a waiter that must notice a
    // job's thread ending silently sleeps until then instead of polling RunningCount.
    [[nodiscard]] static std::shared_ptr<void> ObserveIdle(std::function<void()> observer);
};

}  // namespace tessel
