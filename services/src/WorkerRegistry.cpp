#include <map>
#include <mutex>

#include "tessel/WorkerThread.h"

namespace tessel {
namespace {
struct Registry {
    std::mutex lock;
    std::map<std::string, WorkerFactory> factories;
};
Registry& TheRegistry() {
    static Registry registry;
    return registry;
}
}  // namespace

void WorkerRegistry::Register(const std::string& progId, WorkerFactory factory) {
    auto& r = TheRegistry();
    std::lock_guard guard(r.lock);
    r.factories[progId] = std::move(factory);
}

void WorkerRegistry::RegisterDefault(const std::string& progId, WorkerFactory factory) {
    auto& r = TheRegistry();
    std::lock_guard guard(r.lock);
    r.factories.try_emplace(progId, std::move(factory));
}

void WorkerRegistry::Unregister(const std::string& progId) {
    auto& r = TheRegistry();
    std::lock_guard guard(r.lock);
    r.factories.erase(progId);
}

WorkerFactory WorkerRegistry::Find(const std::string& progId) {
    auto& r = TheRegistry();
    std::lock_guard guard(r.lock);
    const auto found = r.factories.find(progId);
    return found == r.factories.end() ? WorkerFactory() : found->second;
}

}  // namespace tessel
