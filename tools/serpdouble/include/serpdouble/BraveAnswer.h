#pragma once

#include <string>
#include <vector>

namespace serpdouble {

// One answer of the Brave Search API's web search, as its documentation shows it.
struct BraveAnswer {
    std::string query;
    std::vector<std::string> urls;  // the "url" of each entry of "web"."results", in order
    int firstPosition = 1;          // the position of the first entry across pages
    bool moreResultsAvailable = false;
};

// The search answer; without results it has no "web" at all, as the API's has none.
std::string RenderBraveAnswer(const BraveAnswer& answer);

// {"type": "ErrorResponse", "error": {...}}, as the API refuses a request.
std::string RenderBraveError(int status, const std::string& code, const std::string& detail);

}  // namespace serpdouble
