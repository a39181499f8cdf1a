#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tessel/Error.h"
#include "tessel/RecordNode.h"

namespace fetchcore {

// Cuts the result links out of one results page of the search engine. Holds no state:
// the save job makes one per page and drops it after ParsePage.
class CGP {
  public:
    static constexpr int32_t kErrCannotParsePage = tessel::UserError(649);  // 0x80040289
    static constexpr const char* kCannotParsePageText = "Cannot parse page. ";

    // A record whose Fields hold "NoMorePages" (Boolean) and whose children, one per
    // accepted link in page order, hold "Pos" (1, 2, ...) and "URL". Throws
    // ComError(kErrCannotParsePage) when the record cannot be built.
    std::shared_ptr<tessel::RecordNode> ParsePage(const std::string& pageText) const;
};

}  // namespace fetchcore
