#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace hostile {

// Set once when the server stops; answers that stall wait on it instead of sleeping.
class StopSignal {
  public:
    void Raise() {
        {
            std::lock_guard lock(mutex_);
            raised_ = true;
        }
        changed_.notify_all();
    }
    bool Raised() const {
        std::lock_guard lock(mutex_);
        return raised_;
    }
    // Waits `time`; false when the signal was raised first.
    bool Pause(std::chrono::milliseconds time) const {
        std::unique_lock lock(mutex_);
        return !changed_.wait_for(lock, time, [this] { return raised_; });
    }

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool raised_ = false;
};

}  // namespace hostile
