#include "job/ResultTable.h"

#include <algorithm>
#include <limits>

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
        const std::string url = UrlOf(link);
        if (!results_.Exists(url)) {
            results_.Add(url, url);
            positions_.Add(static_cast<int32_t>(std::min(i, kTop)), url);
        }
        ++i;
    }
}

std::string ResultTable::ListText() const {
    std::string list;
    for (const auto& entry : results_) list += entry.key + "\r\n";
    return list;
}

}  // namespace fetchcore
