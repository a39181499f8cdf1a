#include "HttpSession.h"

#include <map>
#include <mutex>

#include "platform/HttpRequest.h"

namespace platform {

std::shared_ptr<HttpSession> NewHttpSession(std::size_t maxIdle) {
    if (!HttpAvailable()) {
        throw tessel::ComError(httperr::kUnavailable,
                               "The HTTP client library could not be initialised. ");
    }
    return std::make_shared<HttpSession>(maxIdle);
}

std::shared_ptr<HttpSession> OpenHttpSession(const std::string& name) {
    if (name.empty()) return NewHttpSession(MultiPool::kMaxIdle);
    // Holds no session: one ends when its last holder lets go, and its entry goes later.
    static std::map<std::string, std::weak_ptr<HttpSession>> table;
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    std::erase_if(table, [](const auto& entry) { return entry.second.expired(); });
    auto& slot = table[name];
    auto session = slot.lock();
    if (!session) {
        session = NewHttpSession(MultiPool::kMaxIdle);
        slot = session;
    }
    return session;
}

}  // namespace platform
