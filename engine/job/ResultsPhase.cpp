#include "job/ResultsPhase.h"

#include "job/JobEnd.h"
#include "tessel/Error.h"

namespace fetchcore {

ResultsPhase::ResultsPhase(JobContext& job, PagesPhase& pages)
    : job_(job), pages_(pages), moSERDownloader_(job.downloads) {
    moSERDownloader_.Init(job.log);
    moSERDownloader_.ConcurrentDownloadSemaphoreName = job.semaphoreName;
    moSERDownloader_.CancelEventName = job.cancelEventName;
    connection_ = moSERDownloader_.Connect(*this);
}

void ResultsPhase::Begin() {
    source_ = MakeResultsSource(job_);
    const PageFetch fetch = source_->Fetch();
    moSERDownloader_.BodyLimitB = fetch.limitB;
    moSERDownloader_.Archive = job_.archive;
    RequestPage(source_->FirstPage());
}

void ResultsPhase::RequestPage(std::string url) {
    currentURL_ = std::move(url);
    moSERDownloader_.Download(currentURL_, source_->Fetch().sizeB);
}

void ResultsPhase::Complete(const DownloadResult& Result) {
    if (job_.Finished()) return;
    if (!Result.IsSuccess) {
        // Results of earlier pages are dropped: a partial list would pass for a whole one.
        const tessel::ComError failure =
            source_->DownloadFailure(Result.ErrNumber, Result.ErrDescription);
        job_.report->Complete(false, failure.Number(), failure.Description());
        return;
    }
    std::optional<std::string> next;
    // A page that cannot be read is logged with its address: the description alone does
    // not say which page it was.
    if (const auto failure =
            tessel::Trap([&] { next = source_->TakePage(currentURL_, Result.Page.Bytes()); })) {
        return Fail(*failure, currentURL_ + ". ");
    }
    if (const auto failure =
            tessel::Trap([&] { next ? RequestPage(std::move(*next)) : EndOfResults(); })) {
        Fail(*failure, "");
    }
}

void ResultsPhase::Fail(const tessel::ComError& failure, const std::string& logPrefix) {
    job_.LogError(tessel::ComError(failure.Number(), logPrefix + failure.Description()),
                  "moSERDownloader_Complete");
    job_.report->Complete(false, failure.Number(), failure.Description());
}

void ResultsPhase::EndOfResults() {
    const bool savePages = job_.task->DownloadResultPages();
    if (!savePages) {
        job_.results.ForEach(
            [this](const std::string& url, int32_t n) { job_.report->PageSkipped(n, url); });
    }
    job_.report->ResultList(job_.results.ListText());
    if (savePages && job_.results.Count() > 0) return pages_.Run();
    CompleteListedJob(job_);
}

}  // namespace fetchcore
