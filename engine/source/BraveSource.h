#pragma once

#include <cstdint>
#include <string>

#include "source/ResultsSource.h"

namespace fetchcore {

// Results from the Brave Search API's web search: "count" results a page (the task's page
// size, at most 20) and "offset" the page from 0 to 9, so at most 200 results a search.
// Results are numbered by their position across pages. The key goes in a header of the
// API's own requests only.
class BraveSource : public ResultsSource {
  public:
    static constexpr int kMaxCount = 20;
    static constexpr int kMaxOffset = 9;
    static constexpr int64_t kPageLimitB = 4 * 1024 * 1024;

    explicit BraveSource(JobContext& job) : job_(job), key_(job.task->SearchApiKey()) {}

    PageFetch Fetch() const override;
    std::optional<std::string> FirstPage() override;
    std::optional<std::string> TakePage(const std::string& url, const std::string& page) override;
    tessel::ComError DownloadFailure(const DownloadResult& result) const override;

  private:
    std::string PageURL() const;
    // Said once, when the range runs past the last page the API gives.
    void WarnOfDepth();
    std::string KeyRefused(const DownloadResult& result, const std::string& code) const;

    JobContext& job_;
    std::string key_;
    int count_ = kMaxCount;
    int offset_ = 0;
    bool warnedOfDepth_ = false;
};

}  // namespace fetchcore
