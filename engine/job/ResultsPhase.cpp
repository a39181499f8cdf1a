#include "job/ResultsPhase.h"

#include "job/JobEnd.h"
#include "job/ServerWait.h"
#include "tessel/Error.h"

namespace fetchcore {

namespace {

// A server that asks for longer, or refuses a page this often, is not waited out.
constexpr std::chrono::seconds kLongestWait{60};
constexpr int kMostAskedAgain = 3;

// The host (and port) of an address, without any user name or password before it.
std::string HostOf(const std::string& url) {
    const std::size_t scheme = url.find("://");
    const std::size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    const std::size_t end = url.find_first_of("/?#", start);
    const std::string authority = url.substr(start, end - start);
    return authority.substr(authority.rfind('@') + 1);
}

}  // namespace

ResultsPhase::ResultsPhase(JobContext& job, PagesPhase& pages)
    : job_(job), pages_(pages), moSERDownloader_(job.downloads) {
    moSERDownloader_.Init(job.log);
    moSERDownloader_.ConcurrentDownloadSemaphoreName = job.semaphoreName;
    moSERDownloader_.CancelEventName = job.cancelEventName;
    connection_ = moSERDownloader_.Connect(*this);
}

void ResultsPhase::Begin() {
    source_ = MakeResultsSource(job_);
    PageFetch fetch = source_->Fetch();
    moSERDownloader_.BodyLimitB = fetch.limitB;
    moSERDownloader_.RequestHeaders = std::move(fetch.headers);
    moSERDownloader_.Archive = job_.archive;
    if (auto first = source_->FirstPage()) return RequestPage(std::move(*first));
    EndOfResults();
}

void ResultsPhase::RequestPage(std::string url) {
    currentURL_ = std::move(url);
    askedAgain_ = 0;
    moSERDownloader_.Download(currentURL_, source_->Fetch().sizeB);
}

void ResultsPhase::Complete(const DownloadResult& Result) {
    if (job_.Finished()) return;
    if (!Result.IsSuccess) {
        if (const auto wait = AskedWait(Result);
            wait && *wait <= kLongestWait && askedAgain_ < kMostAskedAgain) {
            return AskAgain(*wait, Result);
        }
        // Results of earlier pages are dropped: a partial list would pass for a whole one.
        const tessel::ComError failure = source_->DownloadFailure(Result);
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

void ResultsPhase::AskAgain(std::chrono::seconds wait, const DownloadResult& refused) {
    ++askedAgain_;
    const int32_t seconds = static_cast<int32_t>(wait.count());
    const std::string reason =
        HostOf(currentURL_) + " answered HTTP " + std::to_string(refused.Exchange.Status) + " (" +
        refused.ErrDescription + "); asking again, " + std::to_string(askedAgain_) + " of " +
        std::to_string(kMostAskedAgain);
    if (job_.log) {
        job_.log->Write(0, currentURL_ + ". Waiting " + std::to_string(seconds) + " s: " + reason,
                        tessel::level::kInfo, "CSaveWorker.moSERDownloader_Complete");
    }
    job_.report->Waiting(seconds, reason);
    // The transfer loop holds the request without a slot; the job's cancel ends the wait.
    moSERDownloader_.QueueDelay = wait;
    const auto failure =
        tessel::Trap([&] { moSERDownloader_.Download(currentURL_, source_->Fetch().sizeB); });
    moSERDownloader_.QueueDelay = {};
    if (failure) Fail(*failure, "");
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
