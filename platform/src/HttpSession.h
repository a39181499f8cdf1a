#pragma once

#include "CurlShare.h"
#include "MultiPool.h"
#include "platform/HttpSession.h"

namespace platform {

class HttpSession {
  public:
    // Keeps at most `maxIdle` multi handles with their connections open; with 0 every
    // connection closes as soon as its transfer's outcome is known. Throws
    // httperr::kUnavailable.
    explicit HttpSession(std::size_t maxIdle = MultiPool::kMaxIdle) : connections_(maxIdle) {}
    HttpSession(const HttpSession&) = delete;
    HttpSession& operator=(const HttpSession&) = delete;

    CURLSH* Share() const { return share_.get(); }
    MultiPool& Connections() { return connections_; }

  private:
    CurlShare share_;
    MultiPool connections_;  // after the share: its connections close before the share goes
};

// A session of no name; throws httperr::kUnavailable when libcurl is unusable.
std::shared_ptr<HttpSession> NewHttpSession(std::size_t maxIdle);

}  // namespace platform
