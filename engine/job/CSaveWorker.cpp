#include "job/CSaveWorker.h"

#include "boundary/JobData.h"
#include "fetchcore/CSaver.h"
#include "job/PageFolder.h"
#include "tessel/Error.h"
#include "tessel/MessageQueue.h"
#include "tessel/Messanger.h"
#include "tessel/Toolbox.h"

namespace fetchcore {

using tessel::KeyedCollection;
using tessel::Variant;

namespace {

[[maybe_unused]] const bool kRegistered = [] {
    tessel::WorkerRegistry::RegisterDefault(kSaveWorkerProgID,
                                            [] { return std::make_shared<CSaveWorker>(); });
    return true;
}();

std::shared_ptr<tessel::Log> OpenOwnLog(const std::shared_ptr<tessel::Log>& ownerLog) {
    if (!ownerLog) return nullptr;
    auto log = std::make_shared<tessel::Log>();
    log->Open(ownerLog->FileName());
    return log;
}

}  // namespace

void CSaveWorker::Call(const std::string& /*name*/, const Variant& argument) {
    Run(argument);
}

void CSaveWorker::Run(const Variant& Data) {
    // The job's reports come in bursts (a page ends, the next starts): its saver's thread
    // wakes once for each burst, when the job waits again.
    const tessel::MessageQueue::BatchedWakeups batched;
    JobData data;
    const auto failure = tessel::Trap([&] {
        data.ReadFrom(*Data.As<KeyedCollection>());
        Start(data);
        WaitUntilFinished();
    });
    if (failure) ReportRunFailure(data, *failure);
    Release();
}

void CSaveWorker::Start(const JobData& data) {
    job_ = std::make_unique<JobContext>();
    job_->log = OpenOwnLog(data.log);
    job_->semaphoreName = data.semaphoreName;
    job_->cancelEventName = data.cancelEventName;
    job_->downloads = data.downloads;
    pages_ = std::make_unique<PagesPhase>(*job_);
    results_ = std::make_unique<ResultsPhase>(*job_, *pages_);
    job_->report.emplace(data.messanger, data.jobId);
    job_->task = data.task;
    if (job_->task->DownloadResultPages()) PrepareFolder();
    job_->skipNonHTML = job_->task->SkipNonHTMLFiles();
    if (const std::string warc = job_->task->WarcFile(); !warc.empty()) {
        job_->archive = std::make_shared<JobArchive>(
            warc, JobDescription{job_->task->KW(), job_->task->SearchURL()});
    }
    results_->Begin();
}

void CSaveWorker::PrepareFolder() {
    EnsureFolderSeparator(*job_->task);
    const std::string folder = PageFolder(*job_->task);
    tessel::FileTools::CreateFolder(folder);
    // A killed run's half-written files have names no page has; they go with their run.
    if (const int removed = tessel::FileTools::RemoveLeftoverTempFiles(folder); removed > 0) {
        if (job_->log) {
            job_->log->Write(0,
                             "Removed " + std::to_string(removed) + " leftover files in " + folder,
                             tessel::level::kInfo, "CSaveWorker.PrepareFolder");
        }
    }
    if (job_->task->Manifest()) {
        job_->manifest.emplace(folder);
        if (job_->task->Resume()) job_->manifest->ReadEarlier();
    }
}

void CSaveWorker::WaitUntilFinished() {
    // Every further step of the job runs in the downloaders' Complete handlers, which
    // the pump delivers here.
    while (!job_->Finished()) tessel::Toolbox::WaitAndPumpMessages();
}

void CSaveWorker::ReportRunFailure(const JobData& data, const tessel::ComError& error) {
    // Failed before the job could report: still end it, with what of the job data could be
    // read, so the saver does not keep a job that will never complete.
    if (!job_) {
        job_ = std::make_unique<JobContext>();
        job_->log = OpenOwnLog(data.log);
    }
    if (!job_->report) job_->report.emplace(data.messanger, data.jobId);
    job_->LogError(error, "Run");
    job_->report->Complete(false, error.Number(), error.Description());
}

void CSaveWorker::Release() {
    // Downloaders belong to this thread: they go here, not wherever the worker ends.
    results_.reset();
    pages_.reset();
    job_.reset();
}

}  // namespace fetchcore
