#pragma once

#include <string>
#include <utility>
#include <vector>

namespace serpdouble {

// One answer of SearXNG's JSON API, as an instance sends it for "format=json".
struct SearxngAnswer {
    std::string query;
    std::vector<std::string> urls;  // the "url" of each entry of "results", in order
    int firstPosition = 1;          // the engine position of the first entry
    std::vector<std::pair<std::string, std::string>> unresponsiveEngines;  // name, reason
};

std::string RenderSearxngAnswer(const SearxngAnswer& answer);

}  // namespace serpdouble
