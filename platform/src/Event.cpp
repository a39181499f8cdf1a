#include "Event.h"

#include "WaitFor.h"

namespace platform {

Event::Event(std::string name, bool manualReset, bool initialState)
    : KernelObject(std::move(name)), manualReset_(manualReset), state_(initialState) {}

WaitResult Event::Wait(uint32_t timeoutMs) {
    std::unique_lock lock(mutex_);
    if (!WaitFor(signalled_, lock, timeoutMs, [this] { return state_; })) {
        return WaitResult::Timeout;
    }
    if (!manualReset_) {
        state_ = false;
    }
    return WaitResult::Signalled;
}

void Event::Set() {
    {
        std::lock_guard lock(mutex_);
        state_ = true;
    }
    signalled_.notify_all();
}

void Event::Reset() {
    std::lock_guard lock(mutex_);
    state_ = false;
}

}  // namespace platform
