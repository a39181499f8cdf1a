#pragma once

#include <cstdint>

#include "tessel/Error.h"

// Failures of the results sources, beside the parser's "Cannot parse page. ".
namespace fetchcore::srcerr {

// Follows "Cannot parse page. " when an answer carries nothing of a results page.
inline constexpr const char* kNotAResultsPage =
    "The answer is not a results page (the search engine may ask for JavaScript, a consent or "
    "a CAPTCHA).";
// Follows "Cannot parse page. " when a SearXNG answer is not its JSON results object.
inline constexpr const char* kNotSearxngJson = "The answer is not a SearXNG JSON results object.";

inline constexpr const char* kSearxngForbidden =
    "The SearXNG instance does not serve JSON (HTTP 403): add json to search.formats in its "
    "settings.";
inline constexpr const char* kSearxngTooManyRequests =
    "The SearXNG instance limits requests (HTTP 429): wait before searching again, or ask its "
    "administrator to allow more (its limiter or botdetection settings).";

// Follows "Cannot parse page. " when an answer of the Brave Search API is not its search answer.
inline constexpr const char* kNotBraveJson = "The answer is not a Brave Search API search answer.";

// The Brave Search API's key is missing, cannot be sent, or was refused.
inline constexpr int32_t kApiKey = tessel::UserError(0x291);
inline constexpr const char* kBraveTooManyRequests =
    "The Brave Search API limits requests (HTTP 429): the plan's requests per second or per "
    "month are used up; wait, or see the limits in the API dashboard.";

// The first page came back empty because the instance's engines failed.
inline constexpr int32_t kUnresponsiveEngines = tessel::UserError(0x290);
inline constexpr const char* kUnresponsiveEnginesText =
    "The SearXNG instance found no results because its search engines did not answer: ";

}  // namespace fetchcore::srcerr
