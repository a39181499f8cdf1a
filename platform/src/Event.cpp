#include "Event.h"

#include <sys/eventfd.h>

#include <cstdint>

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
        MirrorLocked(true);
    }
    return WaitResult::Signalled;
}

void Event::Set() {
    {
        std::lock_guard lock(mutex_);
        const bool wasSet = state_;
        state_ = true;
        MirrorLocked(wasSet);
    }
    signalled_.notify_all();
}

void Event::Reset() {
    std::lock_guard lock(mutex_);
    const bool wasSet = state_;
    state_ = false;
    MirrorLocked(wasSet);
}

int Event::Descriptor() {
    std::lock_guard lock(mutex_);
    if (!descriptor_) {
        descriptor_ = tessel::FileDescriptor(eventfd(state_ ? 1 : 0, EFD_NONBLOCK | EFD_CLOEXEC));
    }
    return descriptor_.Get();
}

// The counter holds 1 while the event is set and 0 otherwise; only edges touch it.
void Event::MirrorLocked(bool wasSet) {
    if (!descriptor_ || wasSet == state_) return;
    // Neither can fail here: the counter only ever moves between 0 and 1.
    uint64_t value = 1;
    if (state_) {
        tessel::WriteAll(descriptor_.Get(), {reinterpret_cast<const char*>(&value), sizeof value});
    } else {
        tessel::ReadSome(descriptor_.Get(), &value, sizeof value);
    }
}

}  // namespace platform
