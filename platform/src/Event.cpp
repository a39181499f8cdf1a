#include "Event.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include "WaitFor.h"

namespace platform {

Event::Event(std::string name, bool manualReset, bool initialState)
    : KernelObject(std::move(name)), manualReset_(manualReset), state_(initialState) {}

Event::~Event() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

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
    if (descriptor_ < 0) {
        descriptor_ = eventfd(state_ ? 1 : 0, EFD_NONBLOCK | EFD_CLOEXEC);
    }
    return descriptor_;
}

// The counter holds 1 while the event is set and 0 otherwise; only edges touch it.
void Event::MirrorLocked(bool wasSet) {
    if (descriptor_ < 0 || wasSet == state_) return;
    eventfd_t value = 0;
    if (state_) {
        eventfd_write(descriptor_, 1);
    } else {
        eventfd_read(descriptor_, &value);
    }
}

}  // namespace platform
