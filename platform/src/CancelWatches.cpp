#include "CancelWatches.h"

namespace platform {
namespace {

bool IsSignalled(const Handle& event) {
    return event && WaitForSingleObject(event, 0) == WaitResult::Signalled;
}

}  // namespace

bool CancelWatches::Add(const std::string& name) {
    auto watch = watches_.find(name);
    if (watch == watches_.end()) {
        Handle event = CreateEventA(true, false, name);
        if (IsSignalled(event)) return false;
        const int descriptor = EventDescriptor(event);
        watch = watches_.emplace(name, Watch{std::move(event), descriptor, 0}).first;
        std::lock_guard lock(namesLock_);
        names_.insert(name);
    }
    ++watch->second.users;
    return true;
}

void CancelWatches::Release(const std::string& name) {
    const auto watch = watches_.find(name);
    if (watch == watches_.end() || --watch->second.users > 0) return;
    watches_.erase(watch);
    std::lock_guard lock(namesLock_);
    names_.erase(name);
}

bool CancelWatches::IsSet(const std::string& name) const {
    const auto watch = watches_.find(name);
    return watch != watches_.end() && IsSignalled(watch->second.event);
}

bool CancelWatches::Watches(const std::string& name) const {
    std::lock_guard lock(namesLock_);
    return names_.contains(name);
}

std::vector<curl_waitfd> CancelWatches::Descriptors() const {
    std::vector<curl_waitfd> descriptors;
    for (const auto& [name, watch] : watches_) {
        if (watch.descriptor >= 0) descriptors.push_back({watch.descriptor, CURL_WAIT_POLLIN, 0});
    }
    return descriptors;
}

std::vector<std::string> CancelWatches::Fired(const std::vector<curl_waitfd>& polled) const {
    std::vector<std::string> fired;
    for (const auto& [name, watch] : watches_) {
        for (const auto& descriptor : polled) {
            // Set and reset again before the loop looked: nothing to cancel.
            if (descriptor.fd == watch.descriptor && (descriptor.revents & CURL_WAIT_POLLIN) &&
                IsSignalled(watch.event)) {
                fired.push_back(name);
            }
        }
    }
    return fired;
}

}  // namespace platform
