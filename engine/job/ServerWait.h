#pragma once

#include <chrono>
#include <optional>
#include <string_view>

#include "boundary/DownloadResult.h"

namespace fetchcore {

// How long the server asked the job to wait before it asks again: an answer 429 or 503 that
// carries Retry-After (seconds, or an HTTP date) or else X-RateLimit-Reset (its first number is
// seconds, as the Brave Search API gives one per window). Nothing for any other answer.
std::optional<std::chrono::seconds> AskedWait(const DownloadResult& result);

// An HTTP date in any of its three forms ("Sun, 06 Nov 1994 08:49:37 GMT", the RFC 850 and
// the asctime forms); nothing when the text is none of them.
std::optional<std::chrono::system_clock::time_point> ParseHttpDate(std::string_view text);

}  // namespace fetchcore
