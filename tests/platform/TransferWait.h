#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "platform/Transfer.h"

namespace kestest {

// Collects the results of transfers, each under the tag it was submitted with. Waits are
// bounded, so a transfer that never ends fails the test instead of hanging it. The results
// live as long as any callback, so a queue may still end a transfer after the test gave up.
class Results {
  public:
    Results();

    platform::TransferDone For(int tag);
    // Sleeps until `count` results have come.
    ::testing::AssertionResult WaitFor(std::size_t count);
    // The results so far, in the order they came; later ones are collected anew.
    std::vector<std::pair<int, platform::TransferResult>> Take();

  private:
    struct State;
    std::shared_ptr<State> state_;
};

// Submits the request and waits for its result.
platform::TransferResult Fetch(platform::TransferQueue& queue, platform::TransferRequest request);

}  // namespace kestest
