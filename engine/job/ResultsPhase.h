#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "download/CDownloader.h"
#include "job/JobContext.h"
#include "job/PagesPhase.h"
#include "source/ResultsSource.h"

namespace fetchcore {

// The first phase of a save job: fetches the results pages one after another, numbers
// their links, and when paging ends reports the list and hands over to the pages phase. A
// page refused for a while (429 or 503, a wait of at most a minute) is asked for again after
// the wait, at most three times.
class ResultsPhase : private CDownloaderEvents {
  public:
    ResultsPhase(JobContext& job, PagesPhase& pages);
    ResultsPhase(const ResultsPhase&) = delete;
    ResultsPhase& operator=(const ResultsPhase&) = delete;
    ~ResultsPhase() = default;

    // Requests the first results page; throws when the download cannot start.
    void Begin();

  private:
    // moSERDownloader_Complete
    void Complete(const DownloadResult& Result) override;
    void Fail(const tessel::ComError& failure, const std::string& logPrefix);
    void RequestPage(std::string url);
    // Requests the refused page again after `wait`, as its server asked.
    void AskAgain(std::chrono::seconds wait, const DownloadResult& refused);
    void EndOfResults();

    JobContext& job_;
    PagesPhase& pages_;
    CDownloader moSERDownloader_;
    tessel::EventSource<CDownloaderEvents>::Connection connection_;
    std::unique_ptr<ResultsSource> source_;
    std::string currentURL_;
    int askedAgain_ = 0;  // how often the current page was requested again
};

}  // namespace fetchcore
