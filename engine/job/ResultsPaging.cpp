#include "job/ResultsPaging.h"

namespace fetchcore {

std::string MakeResultsPageURL(const std::string& SearchURL, int32_t PerPage, int32_t Start) {
    std::string url = SearchURL;
    if (Start != 1) url += "&start=" + std::to_string(int64_t{Start} - 1);
    if (PerPage != kDefaultPerPage) url += "&num=" + std::to_string(PerPage);
    return url;
}

bool CoversLastWanted(int32_t start, int32_t perPage, int32_t resultsTo) {
    if (perPage < 1) return true;
    // In 64 bits: a start near the top of the range must not wrap round.
    return int64_t{start} + perPage - 1 >= resultsTo;
}

}  // namespace fetchcore
