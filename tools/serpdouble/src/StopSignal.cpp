#include "StopSignal.h"

namespace serpdouble {

void StopSignal::Raise() {
    {
        std::lock_guard lock(mutex_);
        raised_ = true;
    }
    raised_cv_.notify_all();
}

void StopSignal::Clear() {
    std::lock_guard lock(mutex_);
    raised_ = false;
}

bool StopSignal::Raised() const {
    std::lock_guard lock(mutex_);
    return raised_;
}

bool StopSignal::SleepFor(std::chrono::milliseconds duration) const {
    std::unique_lock lock(mutex_);
    return raised_cv_.wait_for(lock, duration, [this] { return raised_; });
}

void StopSignal::WaitRaised() const {
    std::unique_lock lock(mutex_);
    raised_cv_.wait(lock, [this] { return raised_; });
}

}  // namespace serpdouble
