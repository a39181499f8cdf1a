#include "Semaphore.h"

#include "WaitFor.h"

namespace platform {

Semaphore::Semaphore(std::string name, int32_t initialCount, int32_t maximumCount)
    : KernelObject(std::move(name)), count_(initialCount), maximum_(maximumCount) {}

WaitResult Semaphore::Wait(uint32_t timeoutMs) {
    std::unique_lock lock(mutex_);
    if (!WaitFor(freed_, lock, timeoutMs, [this] { return count_ > 0; })) {
        return WaitResult::Timeout;
    }
    --count_;
    return WaitResult::Signalled;
}

bool Semaphore::Release(int32_t releaseCount) {
    {
        std::lock_guard lock(mutex_);
        // Compared as a difference so a huge release count cannot overflow.
        if (releaseCount < 1 || releaseCount > maximum_ - count_) {
            return false;
        }
        count_ += releaseCount;
    }
    // One slot wakes one waiter: waking them all would send the rest straight back to
    // sleep, a storm of context switches with every download that ends.
    if (releaseCount == 1) {
        freed_.notify_one();
    } else {
        freed_.notify_all();
    }
    return true;
}

}  // namespace platform
