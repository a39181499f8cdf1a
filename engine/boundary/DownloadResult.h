#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ResponseBody.h"
#include "platform/Transfer.h"

namespace fetchcore {

// What the exchange behind a download showed, whether it succeeded or not.
struct DownloadExchange {
    int Status = 0;        // of the last answer; 0 when none came
    std::string FinalURL;  // after redirects; empty when no request was sent
    std::string ContentType;
    std::vector<platform::ResponseHead> Hops;  // every answer in order: redirects, then the last
    std::chrono::system_clock::time_point ReceivedAt;  // when the last answer's head came
    // The body of an answer whose status was refused, when it was small (an API's error
    // object says more than its status); empty otherwise.
    std::string RefusedBody;
};

// The outcome of one download, as its downloader's Complete event carries it: the six
// values a download reports, then its exchange.
struct DownloadResult {
    std::string Cookie;
    platform::ResponseBody Page;  // the body as it came; empty on failure
    bool IsSuccess = false;
    int32_t ErrNumber = 0;
    std::string ErrDescription;
    std::string URL;  // as requested, trimmed
    DownloadExchange Exchange;
};

}  // namespace fetchcore
