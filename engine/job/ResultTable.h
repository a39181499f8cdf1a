#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "source/FoundResult.h"
#include "tessel/RecordNode.h"

namespace fetchcore {

// A listed result: its address and number, and the title and snippet its source gave (empty
// where it gave none, as the 2010 layout's pages do).
struct ListedResult {
    std::string url;
    int32_t number = 0;
    std::string title;
    std::string snippet;
};

// The results a job has collected: each distinct URL once, in the order found, with its
// result number.
class ResultTable {
  public:
    // Numbers the parsed page's links from `start` in page order. A URL seen before keeps
    // its first number but still uses one up, so the numbers follow the search engine's
    // positions.
    void Number(const tessel::RecordNode& page, int32_t start);
    // Numbers `found` from position `start`; positions before `listFrom` are remembered but
    // not listed. Returns how many addresses were not seen before.
    int Number(const std::vector<FoundResult>& found, int64_t start, int32_t listFrom);

    int Count() const { return static_cast<int>(results_.size()); }
    // Throws tessel::ComError for a URL that is not in the table.
    int32_t NumberOf(const std::string& url) const;
    // Every URL followed by CR LF.
    std::string ListText() const;

    // Calls f(url, number) for every result in order.
    template <class F>
    void ForEach(F&& f) const {
        for (const auto& result : results_) f(result.url, result.number);
    }
    // Every listed result in order, with what its source told of it.
    const std::vector<ListedResult>& Results() const { return results_; }

  private:
    std::vector<ListedResult> results_;                // in the order found
    std::unordered_map<std::string, std::size_t> at_;  // URL -> its index in results_
    std::unordered_set<std::string> unlisted_;         // seen before the first wanted position
};

}  // namespace fetchcore
