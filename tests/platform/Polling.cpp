#include "Polling.h"

#include <chrono>

namespace kestest {

::testing::AssertionResult PollUntil(platform::HttpRequest& request, int state) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    int now = request.readyState();
    while (now < state) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return ::testing::AssertionFailure()
                   << "readyState stuck at " << now << ", waiting for " << state;
        }
        request.waitForActivity(static_cast<int>(left.count()));
        now = request.readyState();
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Fetch(platform::HttpRequest& request, const std::string& url) {
    request.open("GET", url);
    request.send();
    return PollUntil(request, 4);
}

}  // namespace kestest
