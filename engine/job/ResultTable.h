#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include <unordered_map>
#include <vector>

#include "tessel/RecordNode.h"

namespace fetchcore {

// The results a job has collected: each distinct URL once, in the order found, with its
// result number.
class ResultTable {
  public:
    // Numbers the parsed page's links from `start` in page order. A URL seen before keeps
    // its first number but still uses one up, so the numbers follow the search engine's
    // positions.
    void Number(const tessel::RecordNode& page, int32_t start);
    // Numbers `links` from position `start`; positions before `listFrom` are remembered but
    // not listed. Returns how many addresses were not seen before.
    int Number(const std::vector<std::string>& links, int64_t start, int32_t listFrom);

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

  private:
    struct Result {
        std::string url;
        int32_t number;
    };

    std::vector<Result> results_;                      // in the order found
    std::unordered_map<std::string, std::size_t> at_;  // URL -> its index in results_
    std::unordered_set<std::string> unlisted_;         // seen before the first wanted position
};

}  // namespace fetchcore
