#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace serpdouble {

// Raised by Stop; every wait of a serving thread ends on it, so no answer outlives Stop.
class StopSignal {
  public:
    void Raise();
    void Clear();
    bool Raised() const;
    // Waits `duration` unless raised meanwhile; true when raised.
    bool SleepFor(std::chrono::milliseconds duration) const;
    void WaitRaised() const;

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable raised_cv_;
    bool raised_ = false;
};

}  // namespace serpdouble
