#pragma once

#include <curl/curl.h>

#include <array>
#include <mutex>

#include "CurlHandles.h"

namespace platform {

// A libcurl share of DNS answers and TLS sessions, locked per kind of data so that
// transfers on many threads use it at once. Connections are not shared through it: libcurl
// does not support that across threads (MultiPool keeps them instead).
class CurlShare {
  public:
    CurlShare();  // throws httperr::kUnavailable
    CurlShare(const CurlShare&) = delete;
    CurlShare& operator=(const CurlShare&) = delete;

    CURLSH* get() const { return handle_.get(); }

  private:
    static void Lock(CURL* easy, curl_lock_data data, curl_lock_access access, void* self);
    static void Unlock(CURL* easy, curl_lock_data data, void* self);

    std::array<std::mutex, CURL_LOCK_DATA_LAST> locks_;
    ShareHandle handle_;  // after the locks: cleaned up while they still exist
};

}  // namespace platform
