#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "boundary/DownloadResult.h"
#include "job/JobContext.h"
#include "tessel/Error.h"

namespace fetchcore {

// How a source's results pages are fetched: `sizeB` as the downloader's byte limit (0 for
// the whole page, without a Range header), `limitB` as the most the page may weigh (0 for
// the transfer's own limit), and the headers its requests carry ("Name: value").
struct PageFetch {
    int32_t sizeB = 0;
    int64_t limitB = 0;
    std::vector<std::string> headers{};
};

// Where a job's results come from: which results pages to fetch, how to read them, and when
// paging ends. The job, its events, numbering, list and page downloads are the same for all.
class ResultsSource {
  public:
    virtual ~ResultsSource() = default;

    virtual PageFetch Fetch() const = 0;
    // The address of the first results page, or nothing when the range lies beyond every
    // page the source can give. Throws ComError.
    virtual std::optional<std::string> FirstPage() = 0;
    // Reads the page fetched from `url` and numbers its results into the job's table.
    // Returns the next page's address, or nothing when paging ends. Throws ComError.
    virtual std::optional<std::string> TakePage(const std::string& url,
                                                const std::string& page) = 0;
    // A failed download of one of the source's pages, as the user should read it.
    virtual tessel::ComError DownloadFailure(const DownloadResult& result) const {
        return tessel::ComError(result.ErrNumber, result.ErrDescription);
    }
};

// The source the task's search address calls for.
std::unique_ptr<ResultsSource> MakeResultsSource(JobContext& job);

}  // namespace fetchcore
