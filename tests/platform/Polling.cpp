#include "Polling.h"

#include <chrono>

#include "platform/KernelObjects.h"

namespace kestest {

::testing::AssertionResult PollUntil(platform::HttpRequest& request, int state) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int now = request.readyState();
    while (now < state) {
        if (std::chrono::steady_clock::now() > deadline) {
            return ::testing::AssertionFailure()
                   << "readyState stuck at " << now << ", waiting for " << state;
        }
        platform::Sleep(1);
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
