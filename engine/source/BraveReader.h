#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "source/FoundResult.h"

namespace fetchcore {

// What one answer of the Brave Search API's web search brings for the job.
struct BravePage {
    // Every entry of "web"."results" whose "url" is an http or https address, in order, with
    // its "title" and "description" as title and snippet. A search without results has no
    // "web" at all.
    std::vector<FoundResult> results;
    // "query"."more_results_available"; true when the answer does not say.
    bool moreResults = true;
};

// Reads a search answer. Throws ComError(CGP::kErrCannotParsePage) when it is not a JSON
// object of type "search".
BravePage ReadBravePage(std::string_view text);

// The "error" of the API's {"type": "ErrorResponse", "error": {...}} answer.
struct BraveError {
    std::string code;    // "SUBSCRIPTION_TOKEN_INVALID", "VALIDATION", ...
    std::string detail;  // as the API words it
};

// The error an answer carries, or nothing when it is no such answer.
std::optional<BraveError> ReadBraveError(std::string_view text);

}  // namespace fetchcore
