#pragma once

#include <curl/curl.h>

#include <optional>
#include <string>
#include <vector>

#include "CurlHandles.h"
#include "ResponseTracker.h"

namespace platform {

// One GET on its own multi handle. Stays at one address (libcurl keeps pointers to it),
// so it is neither copied nor moved.
class CurlTransfer {
  public:
    CurlTransfer(const std::string& url, const std::vector<std::string>& headerLines,
                 int64_t maxBodyBytes);
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    // Does whatever work is ready without waiting; the result once the transfer ended.
    std::optional<CURLcode> Advance();
    // Waits on the sockets until the transfer ended.
    CURLcode RunToEnd();
    // Waits up to `milliseconds` for the sockets to have work; at once when ended.
    void WaitForActivity(int milliseconds);
    const ResponseTracker& Response() const { return response_; }
    ResponseTracker& Response() { return response_; }
    std::string ErrorText(CURLcode code) const;

  private:
    void Configure(const std::string& url);
    void Release();  // closes the connection as soon as the outcome is known
    static size_t OnHeader(char* data, size_t size, size_t count, void* self);
    static size_t OnBody(char* data, size_t size, size_t count, void* self);

    ResponseTracker response_;
    HeaderList headers_;
    EasyHandle easy_;
    MultiHandle multi_;
    bool attached_ = false;
    std::optional<CURLcode> result_;
    char errorBuffer_[CURL_ERROR_SIZE] = {};
};

}  // namespace platform
