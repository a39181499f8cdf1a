#pragma once

#include <curl/curl.h>

#include "CurlHandles.h"

namespace platform {

// A libcurl share of DNS answers and TLS sessions among the transfers of one thread (so
// without locks). Connections need none: the multi handle keeps them for all its transfers.
class CurlShare {
  public:
    CurlShare();  // throws httperr::kUnavailable
    CurlShare(const CurlShare&) = delete;
    CurlShare& operator=(const CurlShare&) = delete;

    CURLSH* get() const { return handle_.get(); }

  private:
    ShareHandle handle_;
};

}  // namespace platform
