#pragma once

#include <condition_variable>
#include <mutex>

namespace kestest {

// A count that server handlers raise and lower and a test waits on; it remembers its
// highest value. Waits are bounded so a faulty client fails the test instead of hanging it.
class Tally {
  public:
    int Up();  // the new value
    void Down();
    // True once the count has reached `value`; false when the generous deadline passed first.
    bool WaitFor(int value);
    int Max();

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int count_ = 0;
    int max_ = 0;
};

}  // namespace kestest
