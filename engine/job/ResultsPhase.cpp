#include "job/ResultsPhase.h"

#include "job/ResultsPaging.h"
#include "parser/CGP.h"
#include "tessel/Error.h"

namespace fetchcore {

ResultsPhase::ResultsPhase(JobContext& job, PagesPhase& pages) : job_(job), pages_(pages) {
    moSERDownloader_.Init(job.log);
    moSERDownloader_.ConcurrentDownloadSemaphoreName = job.semaphoreName;
    moSERDownloader_.CancelEventName = job.cancelEventName;
    connection_ = moSERDownloader_.Connect(*this);
}

void ResultsPhase::Begin() {
    currentStart_ = job_.task->ResultsFrom();
    RequestPage();
}

void ResultsPhase::RequestPage() {
    const CTask& task = *job_.task;
    currentURL_ = MakeResultsPageURL(task.SearchURL(), task.ResultsPerPage(), currentStart_);
    moSERDownloader_.Download(currentURL_, kResultsPageSizeB);
}

void ResultsPhase::Complete(const std::string& /*Cookie*/, const std::string& Page, bool IsSuccess,
                            int32_t ErrNumber, const std::string& ErrDescription) {
    if (job_.Finished()) return;
    if (!IsSuccess) {
        // Results of earlier pages are dropped: a partial list would pass for a whole one.
        job_.report->Complete(false, ErrNumber, ErrDescription);
        return;
    }
    if (const auto failure = tessel::Trap([&] { TakePage(Page); })) {
        job_.LogError(*failure, "moSERDownloader_Complete");
        job_.report->Complete(false, failure->Number(), failure->Description());
    }
}

void ResultsPhase::TakePage(const std::string& page) {
    const auto record = CGP().ParsePage(page);
    const bool last = IsLastPage(*record);
    job_.results.Number(*record, currentStart_);
    if (last) return EndOfResults();
    currentStart_ += job_.task->ResultsPerPage();
    RequestPage();
}

bool ResultsPhase::IsLastPage(const tessel::RecordNode& record) const {
    const bool noMorePages = record.Fields().Item("NoMorePages").Values().Item(1).ToBool();
    return noMorePages || record.Children().Count() == 0 ||
           CoversLastWanted(currentStart_, job_.task->ResultsPerPage(), job_.task->ResultsTo());
}

void ResultsPhase::EndOfResults() {
    const bool savePages = job_.task->DownloadResultPages();
    if (!savePages) {
        job_.results.ForEach(
            [this](const std::string& url, int32_t n) { job_.report->PageSkipped(n, url); });
    }
    job_.report->ResultList(job_.results.ListText());
    if (savePages && job_.results.Count() > 0) return pages_.Run();
    job_.report->Complete(true, 0, "");
}

}  // namespace fetchcore
