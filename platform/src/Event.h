#pragma once

#include <condition_variable>
#include <mutex>

#include "KernelObject.h"

namespace platform {

class Event final : public KernelObject {
  public:
    Event(std::string name, bool manualReset, bool initialState);

    // An auto-reset event lets exactly one successful waiter through per Set.
    WaitResult Wait(uint32_t timeoutMs) override;
    void Set();
    void Reset();

  private:
    std::mutex mutex_;
    std::condition_variable signalled_;
    const bool manualReset_;
    bool state_;
};

}  // namespace platform
