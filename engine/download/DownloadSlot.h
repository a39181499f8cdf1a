#pragma once

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
    // Sleeps on the semaphore until a slot is free and takes it. No time-out and no cancel:
    // a holder gives its slot back within its own time-out.
    void Take();
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
