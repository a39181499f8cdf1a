#include "Tally.h"

#include <algorithm>
#include <chrono>

namespace kestest {

int Tally::Up() {
    int now = 0;
    {
        std::lock_guard lock(mutex_);
        now = ++count_;
        max_ = std::max(max_, count_);
    }
    changed_.notify_all();
    return now;
}

void Tally::Down() {
    {
        std::lock_guard lock(mutex_);
        --count_;
    }
    changed_.notify_all();
}

bool Tally::WaitFor(int value) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), [&] { return count_ >= value; });
}

int Tally::Max() {
    std::lock_guard lock(mutex_);
    return max_;
}

}  // namespace kestest
