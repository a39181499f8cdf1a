#include "job/CSaveWorker.h"

#include <chrono>

#include "fetchcore/CSaver.h"
#include "job/PageFolder.h"
#include "job/Trap.h"
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

std::shared_ptr<tessel::Log> OpenOwnLog(const KeyedCollection& data) {
    auto log = std::make_shared<tessel::Log>();
    log->Open(data.Item("Log").As<tessel::Log>()->FileName());
    return log;
}

}  // namespace

void CSaveWorker::Call(const std::string& /*name*/, const Variant& argument) {
    Run(argument);
}

void CSaveWorker::Run(const Variant& Data) {
    const auto failure = Trap([&] {
        Start(*Data.As<KeyedCollection>());
        WaitUntilFinished();
    });
    if (failure) ReportRunFailure(Data, *failure);
    Release();
}

void CSaveWorker::Start(const KeyedCollection& data) {
    job_ = std::make_unique<JobContext>();
    job_->log = OpenOwnLog(data);
    auto messanger = data.Item("Messanger").As<tessel::Messanger>();
    job_->semaphoreName = data.Item("ConcurrentDownloadSemaphoreName").ToString();
    job_->cancelEventName = data.Item("CancelEventName").ToString();
    pages_ = std::make_unique<PagesPhase>(*job_);
    results_ = std::make_unique<ResultsPhase>(*job_, *pages_);
    job_->report.emplace(std::move(messanger), data.Item("Cookie").ToString());
    job_->task = data.Item("Task").As<CTask>();
    if (job_->task->DownloadResultPages()) PrepareFolder();
    job_->skipNonHTML = job_->task->SkipNonHTMLFiles();
    results_->Begin();
}

void CSaveWorker::PrepareFolder() {
    EnsureFolderSeparator(*job_->task);
    tessel::FileTools::CreateFolder(PageFolder(*job_->task));
}

void CSaveWorker::WaitUntilFinished() {
    // Every further step of the job runs in the downloaders' Complete handlers, which
    // the pump delivers here.
    while (!job_->Finished()) tessel::Toolbox::PumpMessagesFor(std::chrono::milliseconds(1));
}

void CSaveWorker::ReportRunFailure(const Variant& Data, const tessel::ComError& error) {
    if (job_) job_->LogError(error, "Run");
    if (job_ && job_->report) {
        job_->report->Complete(false, error.Number(), error.Description());
        return;
    }
    // Failed before the job could report: still end it, so the saver does not keep a job
    // that will never complete. What cannot be read is left out.
    std::shared_ptr<tessel::Messanger> messanger;
    std::string jobId;
    Trap([&] {
        const auto& data = *Data.As<KeyedCollection>();
        messanger = data.Item("Messanger").As<tessel::Messanger>();
        jobId = data.Item("Cookie").ToString();
    });
    JobReporter(std::move(messanger), jobId).Complete(false, error.Number(), error.Description());
}

void CSaveWorker::Release() {
    // Downloaders belong to this thread: they go here, not wherever the worker ends.
    results_.reset();
    pages_.reset();
    job_.reset();
}

}  // namespace fetchcore
