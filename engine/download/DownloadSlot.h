#pragma once

#include <cstdint>

#include <string>

#include "platform/KernelObjects.h"

namespace fetchcore {

// One slot of the named semaphore that limits concurrent fetches. The slot, once taken,
// goes back exactly once: on Give or, on any path that forgets it, on destruction.
class DownloadSlot {
  public:
    static constexpr int kSlots = 5;

    DownloadSlot() = default;
    ~DownloadSlot() { Give(); }
    DownloadSlot(const DownloadSlot&) = delete;
    DownloadSlot& operator=(const DownloadSlot&) = delete;

    // Opens (or creates with kSlots free) the semaphore; throws ComError when the name
    // belongs to an object that is no semaphore.
    void Open(const std::string& name);
    // One poll: takes a slot when one is free or frees within `waitMs`.
    bool TryTake(uint32_t waitMs = 0);
    // Returns the slot, if taken, and closes the semaphore handle.
    void Give();
    bool Held() const { return held_; }

  private:
    platform::Handle semaphore_;
    bool held_ = false;
};

// True when a zero-time-out wait succeeds (for a semaphore that takes a slot); false for
// an empty handle.
bool IsSignalled(const platform::Handle& handle);

}  // namespace fetchcore
