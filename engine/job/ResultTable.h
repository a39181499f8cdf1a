#pragma once

#include <cstdint>
#include <string>

#include "tessel/KeyedCollection.h"
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

    int Count() const { return results_.Count(); }
    int32_t NumberOf(const std::string& url) const { return positions_.Item(url).ToLong(); }
    // Every URL followed by CR LF.
    std::string ListText() const;

    // Calls f(url, number) for every result in order.
    template <class F>
    void ForEach(F&& f) const {
        for (const auto& entry : results_) f(entry.key, NumberOf(entry.key));
    }

  private:
    tessel::KeyedCollection results_;    // URL -> URL
    tessel::KeyedCollection positions_;  // URL -> result number
};

}  // namespace fetchcore
