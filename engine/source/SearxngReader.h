#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "source/FoundResult.h"

namespace fetchcore {

// What one SearXNG JSON answer brings for the job.
struct SearxngPage {
    // Every entry of "results" whose "url" is an http or https address, in order, with its
    // "title" and "content" as title and snippet.
    std::vector<FoundResult> results;
    // "unresponsive_engines": engine name and reason.
    std::vector<std::pair<std::string, std::string>> unresponsive;
};

// Reads a SearXNG answer. Throws ComError(CGP::kErrCannotParsePage) when it is not a JSON
// object with a "results" list.
SearxngPage ReadSearxngPage(std::string_view text);

// "name (reason), name (reason)".
std::string DescribeEngines(const std::vector<std::pair<std::string, std::string>>& engines);

}  // namespace fetchcore
