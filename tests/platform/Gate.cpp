#include "Gate.h"

#include <chrono>

namespace kestest {

void Gate::Open() {
    {
        std::lock_guard lock(mutex_);
        open_ = true;
    }
    opened_.notify_all();
}

bool Gate::IsOpen() {
    std::lock_guard lock(mutex_);
    return open_;
}

bool Gate::Wait() {
    std::unique_lock lock(mutex_);
    return opened_.wait_for(lock, std::chrono::seconds(20), [this] { return open_; });
}

}  // namespace kestest
