#pragma once

#include <cstdint>
#include <string>

namespace fetchcore {

// Results pages are fetched whole: the search engine's pages are never cut short.
inline constexpr int32_t kResultsPageSizeB = 102400;
// The search engine's own page size, for which no "&num=" is sent.
inline constexpr int32_t kDefaultPerPage = 10;

// The address of the results page whose first result has the number `Start` (from 1).
// The parameters are always joined with "&": the search address already carries a query.
std::string MakeResultsPageURL(const std::string& SearchURL, int32_t PerPage, int32_t Start);

// True when the page beginning at `start` reaches `resultsTo`, or when paging could not
// move on (a page size below 1 would request the same page for ever).
bool CoversLastWanted(int32_t start, int32_t perPage, int32_t resultsTo);

}  // namespace fetchcore
