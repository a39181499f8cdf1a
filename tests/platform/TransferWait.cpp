#include "TransferWait.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kestest {

struct Results::State {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<std::pair<int, platform::TransferResult>> results;
    std::size_t taken = 0;
};

Results::Results() : state_(std::make_shared<State>()) {}

platform::TransferDone Results::For(int tag) {
    return [state = state_, tag](platform::TransferResult result) {
        {
            std::lock_guard lock(state->mutex);
            state->results.emplace_back(tag, std::move(result));
        }
        state->arrived.notify_all();
    };
}

::testing::AssertionResult Results::WaitFor(std::size_t count) {
    std::unique_lock lock(state_->mutex);
    const bool came = state_->arrived.wait_for(lock, std::chrono::seconds(30), [&] {
        return state_->taken + state_->results.size() >= count;
    });
    if (came) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << state_->taken + state_->results.size() << " of " << count << " transfers ended";
}

std::vector<std::pair<int, platform::TransferResult>> Results::Take() {
    std::lock_guard lock(state_->mutex);
    state_->taken += state_->results.size();
    return std::exchange(state_->results, {});
}

platform::TransferResult Fetch(platform::TransferQueue& queue, platform::TransferRequest request) {
    Results results;
    queue.Submit(std::move(request), results.For(0));
    if (!results.WaitFor(1)) {
        ADD_FAILURE() << "the transfer never ended";
        return {};
    }
    return std::move(results.Take().front().second);
}

}  // namespace kestest
