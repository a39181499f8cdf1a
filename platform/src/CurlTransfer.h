#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>
#include <string_view>

#include "CurlHandles.h"
#include "ResponseTracker.h"
#include "platform/ExchangeTap.h"
#include "platform/Transfer.h"

namespace platform {

// One GET as a libcurl easy handle, to be driven by a multi handle: its options, the
// answers it receives and the result they make. Stays at one address (libcurl keeps
// pointers to it), so it is neither copied nor moved.
class CurlTransfer {
  public:
    // Throws tessel::ComError: httperr::kInvalidArgument for an address that is no http or
    // https URL or a header that would break the request, httperr::kUnavailable when
    // libcurl cannot make or configure the handle.
    CurlTransfer(const TransferRequest& request, CURLSH* share);
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    CURL* Easy() const { return easy_.get(); }
    // The result of a transfer that libcurl ended with `code`.
    TransferResult Finished(CURLcode code);
    // The result of a transfer stopped before it ended, with how far the answer came.
    TransferResult Stopped(TransferEnd end);

  private:
    void Configure(const std::string& url, CURLSH* share, bool followRedirects);
    TransferResult Exchange(TransferEnd end);
    TransferResult Told(TransferResult result);
    void Fail(TransferResult& result, CURLcode code) const;
    bool Inflates() const;
    static size_t OnHeader(char* data, size_t size, size_t count, void* self);
    static size_t OnBody(char* data, size_t size, size_t count, void* self);
    static int OnTrace(CURL* easy, curl_infotype type, char* data, size_t size, void* self);
    void Trace(curl_infotype type, std::string_view data);

    ResponseTracker response_;
    HeaderList headers_;
    EasyHandle easy_;
    bool inflates_ = false;
    std::shared_ptr<ExchangeTap> tap_;
    std::string sentHead_;    // the request head going out, until it is whole
    bool tunnelled_ = false;  // the last request was a proxy's CONNECT, answered by the proxy
    char errorBuffer_[CURL_ERROR_SIZE] = {};
};

}  // namespace platform
