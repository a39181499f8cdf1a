#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "KernelObject.h"

namespace platform {

class Semaphore final : public KernelObject {
  public:
    Semaphore(std::string name, int32_t initialCount, int32_t maximumCount);

    // Takes one slot when one is free within the time-out.
    WaitResult Wait(uint32_t timeoutMs) override;
    // All or nothing: a release that would pass the maximum changes nothing.
    bool Release(int32_t releaseCount);

  private:
    std::mutex mutex_;
    std::condition_variable freed_;
    int32_t count_;
    const int32_t maximum_;
};

}  // namespace platform
