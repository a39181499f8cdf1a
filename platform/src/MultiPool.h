#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>

#include "CurlHandles.h"

namespace platform {

// Idle libcurl multi handles, each with the connections it keeps open and the origin it
// served last. A transfer takes one, preferably one that has served its origin, and gives
// it back once its outcome is known, so the next transfer to that origin finds the
// connection open. Thread-safe.
class MultiPool {
  public:
    struct Lease {
        MultiHandle multi;
        std::string origin;
    };

    // Enough for every slot of a saver plus what its results pages use.
    static constexpr std::size_t kMaxIdle = 8;

    explicit MultiPool(std::size_t maxIdle = kMaxIdle) : maxIdle_(maxIdle) {}

    // An idle handle that served `origin`, else the one given back last, else a new one
    // (empty when libcurl cannot make one).
    Lease Take(const std::string& origin);
    // Keeps at most maxIdle handles; the one idle longest goes first.
    void Give(Lease lease);

    // "scheme://host:port" of a URL, in lower case: what a connection is reused for.
    static std::string OriginOf(const std::string& url);

  private:
    const std::size_t maxIdle_;
    std::mutex mutex_;
    std::deque<Lease> idle_;  // longest idle first
};

}  // namespace platform
