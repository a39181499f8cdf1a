#include "job/ResultTable.h"

#include <algorithm>
#include <limits>

#include "tessel/Error.h"

namespace fetchcore {

namespace {

std::string UrlOf(const tessel::RecordNode& link) {
    return link.Fields().Item("URL").Values().Item(1).ToString();
}

}  // namespace

void ResultTable::Number(const tessel::RecordNode& page, int32_t start) {
    constexpr int64_t kTop = std::numeric_limits<int32_t>::max();
    int64_t i = start;
    for (const tessel::RecordNode& link : page.Children()) {
        std::string url = UrlOf(link);
        if (at_.emplace(url, results_.size()).second) {
            results_.push_back({std::move(url), static_cast<int32_t>(std::min(i, kTop)), {}, {}});
        }
        ++i;
    }
}

int32_t ResultTable::NumberOf(const std::string& url) const {
    const auto found = at_.find(url);
    if (found == at_.end())
        throw tessel::ComError(tessel::err::kInvalidArgument, "Invalid procedure call or argument");
    return results_[found->second].number;
}

int ResultTable::Number(const std::vector<FoundResult>& found, int64_t start, int32_t listFrom) {
    constexpr int64_t kTop = std::numeric_limits<int32_t>::max();
    int added = 0;
    int64_t i = start;
    for (const FoundResult& result : found) {
        const std::string& url = result.url;
        if (!at_.contains(url) && !unlisted_.contains(url)) {
            ++added;
            if (i < listFrom) {
                unlisted_.insert(url);
            } else {
                at_.emplace(url, results_.size());
                results_.push_back(
                    {url, static_cast<int32_t>(std::min(i, kTop)), result.title, result.snippet});
            }
        }
        ++i;
    }
    return added;
}

std::string ResultTable::ListText() const {
    std::string list;
    for (const auto& result : results_) list += result.url + "\r\n";
    return list;
}

}  // namespace fetchcore
