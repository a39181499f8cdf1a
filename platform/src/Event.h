#pragma once

#include <condition_variable>
#include <mutex>

#include "KernelObject.h"
#include "tessel/FileDescriptor.h"

namespace platform {

class Event final : public KernelObject {
  public:
    Event(std::string name, bool manualReset, bool initialState);

    // An auto-reset event lets exactly one successful waiter through per Set.
    WaitResult Wait(uint32_t timeoutMs) override;
    void Set();
    void Reset();
    // An eventfd that polls readable exactly while the event is set, made on first use, so
    // a thread can sleep on the event together with sockets; -1 when none can be made.
    int Descriptor();

  private:
    void MirrorLocked(bool wasSet);

    std::mutex mutex_;
    std::condition_variable signalled_;
    const bool manualReset_;
    bool state_;
    tessel::FileDescriptor descriptor_;
};

}  // namespace platform
