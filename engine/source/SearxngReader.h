#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fetchcore {

// What one SearXNG JSON answer brings for the job.
struct SearxngPage {
    // The "url" of every entry of "results" that is an http or https address, in order.
    std::vector<std::string> links;
    // "unresponsive_engines": engine name and reason.
    std::vector<std::pair<std::string, std::string>> unresponsive;
};

// Reads a SearXNG answer. Throws ComError(CGP::kErrCannotParsePage) when it is not a JSON
// object with a "results" list.
SearxngPage ReadSearxngPage(std::string_view text);

// "name (reason), name (reason)".
std::string DescribeEngines(const std::vector<std::pair<std::string, std::string>>& engines);

}  // namespace fetchcore
