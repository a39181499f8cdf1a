#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "source/ResultsSource.h"

namespace fetchcore {

// Results from a SearXNG instance's JSON API. The instance decides how many results a page
// holds, so results are numbered by their position across pages ("pageno" 1, 2, ...).
class SearxngSource : public ResultsSource {
  public:
    static constexpr int kMaxPages = 50;
    static constexpr int64_t kPageLimitB = 4 * 1024 * 1024;

    explicit SearxngSource(JobContext& job) : job_(job) {}

    PageFetch Fetch() const override { return PageFetch{0, kPageLimitB}; }
    std::optional<std::string> FirstPage() override;
    std::optional<std::string> TakePage(const std::string& url, const std::string& page) override;
    tessel::ComError DownloadFailure(const DownloadResult& result) const override;

  private:
    std::string PageURL() const;
    void WarnOfEngines(const std::string& url, const std::string& engines);

    JobContext& job_;
    int pageNo_ = 1;
    int64_t nextPosition_ = 1;        // the position of the next page's first result
    std::set<std::string> warnedOf_;  // the lists of dead engines the user has heard of
};

}  // namespace fetchcore
