#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "source/ResultsSource.h"
#include "tessel/RecordNode.h"

namespace fetchcore {

// The search engine's 2010 results pages: "start" and "num" paging, cut apart by the parser.
class Layout2010Source : public ResultsSource {
  public:
    explicit Layout2010Source(JobContext& job) : job_(job) {}

    PageFetch Fetch() const override;
    std::optional<std::string> FirstPage() override;
    std::optional<std::string> TakePage(const std::string& url, const std::string& page) override;

  private:
    bool IsLastPage(const tessel::RecordNode& record) const;

    JobContext& job_;
    int32_t currentStart_ = 0;
};

// Whether a page carries any landmark of the 2010 results layout. A page without one (a
// JavaScript or consent wall, a CAPTCHA, an empty body) must not pass for a search
// without results.
bool IsResultsPage2010(std::string_view page);

}  // namespace fetchcore
