#pragma once

#include <curl/curl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CurlHandles.h"
#include "HttpSession.h"
#include "ResponseTracker.h"

namespace platform {

// One GET on a multi handle of its session's pool, which keeps the connection for the
// next transfer. Stays at one address (libcurl keeps pointers to it), so it is neither
// copied nor moved.
class CurlTransfer {
  public:
    CurlTransfer(const std::string& url, const std::vector<std::string>& headerLines,
                 int64_t maxBodyBytes, const std::optional<std::string>& spoolFolder,
                 std::shared_ptr<HttpSession> session);
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    // Does whatever work is ready without waiting; the result once the transfer ended.
    std::optional<CURLcode> Advance();
    // Waits on the sockets until the transfer ended.
    CURLcode RunToEnd();
    // Waits up to `milliseconds` for the sockets to have work or `wakeDescriptor` (when not
    // -1) to be readable; returns at once when ended.
    void WaitForActivity(int milliseconds, int wakeDescriptor);
    const ResponseTracker& Response() const { return response_; }
    ResponseTracker& Response() { return response_; }
    std::string ErrorText(CURLcode code) const;

  private:
    void Configure(const std::string& url);
    // Once the outcome is known: the connection goes back to the pool (libcurl closes it
    // instead when the transfer did not end cleanly).
    void Release();
    static size_t OnHeader(char* data, size_t size, size_t count, void* self);
    static size_t OnBody(char* data, size_t size, size_t count, void* self);

    std::shared_ptr<HttpSession> session_;  // first: outlives the handles that use its share
    ResponseTracker response_;
    HeaderList headers_;
    EasyHandle easy_;
    MultiPool::Lease multi_;
    bool attached_ = false;
    std::optional<CURLcode> result_;
    char errorBuffer_[CURL_ERROR_SIZE] = {};
};

}  // namespace platform
