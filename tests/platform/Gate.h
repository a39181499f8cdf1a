#pragma once

#include <condition_variable>
#include <mutex>

namespace kestest {

// A one-way signal between a test and a server handler. Waits are bounded so a faulty
// test fails instead of hanging.
class Gate {
  public:
    void Open();
    bool IsOpen();
    // True once open; false when the generous deadline passed first.
    bool Wait();

  private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

}  // namespace kestest
