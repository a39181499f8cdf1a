#include "MultiPool.h"

#include <algorithm>
#include <cctype>

namespace platform {

MultiPool::Lease MultiPool::Take(const std::string& origin) {
    {
        std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            auto match = std::find_if(idle_.rbegin(), idle_.rend(),
                                      [&](const Lease& l) { return l.origin == origin; });
            auto chosen = match != idle_.rend() ? std::prev(match.base()) : std::prev(idle_.end());
            Lease lease = std::move(*chosen);
            idle_.erase(chosen);
            lease.origin = origin;
            return lease;
        }
    }
    return Lease{MultiHandle(curl_multi_init()), origin};
}

void MultiPool::Give(Lease lease) {
    if (!lease.multi) return;
    Lease dropped;
    {
        std::lock_guard lock(mutex_);
        idle_.push_back(std::move(lease));
        if (idle_.size() > maxIdle_) {
            dropped = std::move(idle_.front());
            idle_.pop_front();
        }
    }
    // `dropped` closes its connections here, outside the lock.
}

std::string MultiPool::OriginOf(const std::string& url) {
    const auto scheme = url.find("://");
    const auto start = scheme == std::string::npos ? 0 : scheme + 3;
    std::string origin = url.substr(0, url.find_first_of("/?#", start));
    std::transform(origin.begin(), origin.end(), origin.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return origin;
}

}  // namespace platform
