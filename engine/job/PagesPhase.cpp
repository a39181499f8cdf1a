#include "job/PagesPhase.h"

#include <filesystem>
#include <system_error>

#include "fetchcore/FileNaming.h"
#include "job/JobEnd.h"
#include "job/LinkTypes.h"
#include "job/PageFolder.h"
#include "tessel/Error.h"
#include "tessel/Toolbox.h"

namespace fetchcore {

namespace {
constexpr const char* kHandler = "moPagesDownloader_Complete";
constexpr const char* kKeepSource = "CSaveWorker.KeepSavedPage";
}  // namespace

PagesPhase::PagesPhase(JobContext& job) : job_(job), moPagesDownloader_(job.downloads) {
    moPagesDownloader_.Init(job.log);
    moPagesDownloader_.ConcurrentDownloadSemaphoreName = job.semaphoreName;
    moPagesDownloader_.CancelEventName = job.cancelEventName;
    connection_ = moPagesDownloader_.Connect(*this);
}

void PagesPhase::Run() {
    // Large pages wait beside their final place, so saving one is only naming it.
    folder_ = PageFolder(*job_.task);
    moPagesDownloader_.SpoolFolder = folder_;
    moPagesDownloader_.Archive = job_.archive;
    moPagesDownloader_.HashBody = job_.manifest.has_value();
    if (job_.manifest) {
        for (const auto& result : job_.results.Results()) {
            job_.manifest->Describe(result.number, result.title, result.snippet);
        }
    }
    job_.results.ForEach([this](const std::string& url, int32_t n) {
        if (job_.Finished()) return;  // the job failed meanwhile: nothing more to report
        if (!job_.skipNonHTML || IsHTMLPage(url)) {
            Issue(url, n);
        } else {
            job_.report->PageSkipped(n, url);
            Note({n, url, "Skipped"});
        }
        tessel::Toolbox::PumpMessages();
    });
    allIssued_ = true;
    // Covers a phase that started nothing and pages that all ended while it ran.
    ApplyCompletionRule();
}

void PagesPhase::Issue(const std::string& url, int32_t n) {
    job_.report->StartSavingPage(n, url);
    tessel::Toolbox::PumpMessages();
    if (KeepSavedPage(url)) return;
    std::string cookie;
    if (const auto failure = tessel::Trap([&] { cookie = moPagesDownloader_.Download(url, 0); })) {
        // The downloader has logged it. The page was announced, so it must also end.
        job_.report->SavingPageComplete(url, false, failure->Description());
        ManifestEntry entry{n, url, "Failed"};
        entry.error = failure->Description();
        Note(std::move(entry));
        return;
    }
    pending_.Add(url, cookie);
}

void PagesPhase::Complete(const DownloadResult& Result) {
    if (job_.Finished() || !pending_.Exists(Result.Cookie)) return;
    if (const auto failure = tessel::Trap([&] { PageEnded(Result); })) {
        job_.LogError(*failure, kHandler);
        if (pending_.Exists(Result.Cookie)) pending_.Remove(Result.Cookie);
        ApplyCompletionRule();
    }
}

void PagesPhase::PageEnded(const DownloadResult& result) {
    const std::string url = pending_.Item(result.Cookie).ToString();
    const int32_t n = job_.results.NumberOf(url);
    std::optional<tessel::ComError> writeFailure;
    if (result.IsSuccess) writeFailure = tessel::Trap([&] { Write(url, result.Page); });
    if (writeFailure) {
        job_.LogError(*writeFailure, kHandler);
        job_.report->SavingPageComplete(url, false, writeFailure->Description());
        Note(FetchedEntry(n, url, result, std::nullopt, writeFailure->Description()));
    } else {
        job_.report->SavingPageComplete(url, result.IsSuccess, result.ErrDescription);
        const auto file = result.IsSuccess ? std::optional(URL2FileName(n, url)) : std::nullopt;
        Note(FetchedEntry(n, url, result, file, result.ErrDescription));
    }
    pending_.Remove(result.Cookie);
    ApplyCompletionRule();
}

// Pages are written under a temporary name and renamed into place, so a file under the
// final name is a whole page; what a killed run left half-written has another name.
bool PagesPhase::KeepSavedPage(const std::string& url) const {
    if (!job_.task->Resume()) return false;
    const std::string path = SavedPath(url);
    std::error_code error;  // a file that cannot be looked at is fetched again
    if (!std::filesystem::is_regular_file(path, error)) return false;
    if (job_.log) job_.log->Write(0, "Kept " + path, tessel::level::kInfo, kKeepSource);
    job_.report->SavingPageComplete(url, true, "");
    if (job_.manifest) {
        const int32_t n = job_.results.NumberOf(url);
        ManifestEntry entry{n, url, "Complete"};
        entry.file = URL2FileName(n, url);
        job_.manifest->AddKept(std::move(entry));
    }
    return true;
}

std::string PagesPhase::SavedPath(const std::string& url) const {
    return folder_ + URL2FileName(job_.results.NumberOf(url), url);
}

void PagesPhase::Write(const std::string& url, const platform::ResponseBody& page) const {
    page.SaveAs(SavedPath(url));
}

void PagesPhase::Note(const ManifestEntry& entry) const {
    if (job_.manifest) job_.manifest->Add(entry);
}

void PagesPhase::ApplyCompletionRule() {
    if (allIssued_ && pending_.Count() == 0) CompleteListedJob(job_);
}

}  // namespace fetchcore
