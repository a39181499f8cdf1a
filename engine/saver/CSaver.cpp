#include "fetchcore/CSaver.h"

#include <utility>

#include "boundary/JobData.h"
#include "boundary/JobMessages.h"
#include "download/DownloadService.h"
#include "fetchcore/FileNaming.h"
#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

namespace fetchcore {

using tessel::ComError;
using tessel::Variant;
using tessel::VariantArray;

namespace {

// Names the job of the events raised while it lives. A handler's nested event loop may raise
// another job's events meanwhile; the outer job is named again once they are done.
class EventJobScope {
  public:
    EventJobScope(std::string& current, std::string job)
        : current_(current), previous_(std::exchange(current, std::move(job))) {}
    ~EventJobScope() { current_ = std::move(previous_); }
    EventJobScope(const EventJobScope&) = delete;
    EventJobScope& operator=(const EventJobScope&) = delete;

  private:
    std::string& current_;
    std::string previous_;
};

}  // namespace

CSaver::CSaver(DownloadSettings settings) : settings_(std::move(settings)) {
    // Creation never fails visibly: a messenger or table that cannot be made shows up
    // later as failed Save calls, which are logged.
    try {
        moMessanger_ = std::make_shared<tessel::Messanger>();
        messangerConnection_ = moMessanger_->Connect(*this);
    } catch (...) {
        // Nothing to log to before Init; the missing messenger fails each Save, logged there.
    }
}

CSaver::~CSaver() = default;

std::string CSaver::VersionLine() {
    return tessel::Toolbox::FormatMessage(
        "%1.dll %2.%3.%4", {"Fetchcore", std::to_string(KES_VERSION_MAJOR),
                            std::to_string(KES_VERSION_MINOR), std::to_string(KES_VERSION_PATCH)});
}

Variant CSaver::Init(std::shared_ptr<tessel::Log> log) {
    log_ = std::move(log);
    if (log_) log_->Write(0, VersionLine(), tessel::level::kInfo, "");
    semaphoreName_ = tessel::Toolbox::NewID();
    cancelEventName_ = tessel::Toolbox::NewID();
    try {
        downloads_ = std::make_shared<DownloadService>(settings_);
    } catch (const std::exception& e) {
        // Each Save then fails, logged with this description too.
        LogError(tessel::ToComError(e), tessel::level::kEngineError, "Init");
    }
    return {};
}

std::shared_ptr<tessel::KeyedCollection> CSaver::MakeJobData(std::shared_ptr<CTask> task,
                                                             const std::string& jobId) const {
    if (!downloads_) {
        throw ComError(tessel::err::kObjectRequired,
                       "The saver has no transfer loop: the HTTP client is unusable. ");
    }
    return JobData{std::move(task),  log_,      moMessanger_, jobId, semaphoreName_,
                   cancelEventName_, downloads_}
        .ToBag();
}

std::string CSaver::Save(std::shared_ptr<CTask> Task) {
    std::string jobId;
    // True only while the job sits in the table without a running worker: a failure then is
    // this job's start failure. Once the worker runs, the job reports its own end, so an
    // error after that (a StartDownload handler's) is only logged.
    bool awaitingStart = false;
    try {
        jobId = tessel::Toolbox::NewID();
        auto jobData = MakeJobData(std::move(Task), jobId);
        platform::CloseHandle(cancelEvent_);
        cancelEvent_ = platform::CreateEventA(true, false, cancelEventName_);
        // Reset only: even a brief set would cancel the downloads of jobs already running
        // that look at the event meanwhile.
        platform::ResetEvent(cancelEvent_);
        auto worker = std::make_shared<tessel::WorkerThread>();
        jobs_.Add(Variant(worker), jobId);
        awaitingStart = true;
        worker->Start(kSaveWorkerProgID, "Run", Variant(std::move(jobData)));
        awaitingStart = false;
        const EventJobScope scope(eventJob_, jobId);
        events_.Raise(&CSaverEvents::StartDownload);
    } catch (const std::exception& e) {
        const ComError error = tessel::ToComError(e);
        LogError(error, tessel::level::kEngineError, "Save");
        if (awaitingStart) ReportStartFailure(jobId, error);
    }
    return jobId;
}

void CSaver::ReportStartFailure(const std::string& jobId, const ComError& error) {
    // A job that never started still ends like every job: with its own Complete,
    // delivered through the messenger so it leaves the table the usual way.
    if (moMessanger_) {
        const JobCompleteMsg complete{jobId, false, error.Number(), error.Description()};
        moMessanger_->Send(JobCompleteMsg::kMsg, complete.ToData());
    }
}

bool CSaver::IsDownloadingNow() const {
    return jobs_.Count() > 0;
}

void CSaver::CancelAll() {
    // The handle stays open until the next Save replaces it: closing the last handle would
    // end the event, and a job whose downloads have not opened it yet would never see
    // the cancel.
    platform::SetEvent(cancelEvent_);
}

std::string CSaver::URL2FileName(int32_t PageNumber, const std::string& url) const {
    return fetchcore::URL2FileName(PageNumber, url);
}

std::string CSaver::FileNameEncode(const std::string& FileName) const {
    return fetchcore::FileNameEncode(FileName);
}

void CSaver::MsgArrived(int32_t Msg, const VariantArray& Data, const std::string&,
                        const std::string&) {
    try {
        // A job names itself in the fifth element of its messages.
        const EventJobScope scope(eventJob_, Data.Count() >= 5 ? Data(5).ToString() : "");
        Dispatch(Msg, Data);
    } catch (const std::exception& e) {
        LogError(tessel::ToComError(e), tessel::level::kError, "moMessanger_MsgArrived");
    }
}

void CSaver::Dispatch(int32_t Msg, const VariantArray& Data) {
    switch (Msg) {
        case PageSkippedMsg::kMsg: {
            const auto m = PageSkippedMsg::FromData(Data);
            events_.Raise(&CSaverEvents::PageSkipped, m.n, m.url);
            break;
        }
        case StartSavingPageMsg::kMsg: {
            const auto m = StartSavingPageMsg::FromData(Data);
            events_.Raise(&CSaverEvents::StartSavingPage, m.n, m.url);
            break;
        }
        case SavingPageCompleteMsg::kMsg: {
            const auto m = SavingPageCompleteMsg::FromData(Data);
            events_.Raise(&CSaverEvents::SavingPageComplete, m.url, m.isSuccess, m.errDescription);
            break;
        }
        case ResultListMsg::kMsg:
            events_.Raise(&CSaverEvents::ResultList, ResultListMsg::FromData(Data).list);
            break;
        case WaitingMsg::kMsg: {
            const auto m = WaitingMsg::FromData(Data);
            events_.Raise(&CSaverEvents::Waiting, m.seconds, m.reason);
            break;
        }
        case WarningMsg::kMsg:
            events_.Raise(&CSaverEvents::Warning, WarningMsg::FromData(Data).text);
            break;
        case JobCompleteMsg::kMsg: {
            const auto m = JobCompleteMsg::FromData(Data);
            const EventJobScope scope(eventJob_, m.jobId);
            events_.Raise(&CSaverEvents::Complete, m.isSuccess, m.errDescription);
            if (jobs_.Exists(m.jobId)) jobs_.Remove(m.jobId);
            break;
        }
        default:
            break;
    }
}

void CSaver::LogError(const ComError& error, int level, const char* procedure) const {
    if (log_)
        log_->Write(error.Number(), error.Description(), level, std::string("CSaver.") + procedure);
}

}  // namespace fetchcore
