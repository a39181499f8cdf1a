#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "fetchcore/CTask.h"
#include "fetchcore/DownloadSettings.h"
#include "fetchcore/Export.h"
#include "platform/KernelObjects.h"
#include "tessel/EventSource.h"
#include "tessel/KeyedCollection.h"
#include "tessel/Log.h"
#include "tessel/Messanger.h"
#include "tessel/Variant.h"

namespace fetchcore {

// The events of a saver, raised on the thread that created it. Override what you need.
class FETCHCORE_EXPORT CSaverEvents {
  public:
    virtual void StartDownload() {}
    virtual void Complete(bool /*IsSuccess*/, const std::string& /*ErrDescription*/) {}
    virtual void StartSavingPage(int32_t /*N*/, const std::string& /*url*/) {}
    virtual void PageSkipped(int32_t /*N*/, const std::string& /*url*/) {}
    virtual void SavingPageComplete(const std::string& /*url*/, bool /*IsSuccess*/,
                                    const std::string& /*ErrDescription*/) {}
    virtual void ResultList(const std::string& /*ResultList*/) {}
    // The job waits `Seconds` before it asks for a results page again, as the server asked;
    // `Reason` says why. A cancel ends the wait.
    virtual void Waiting(int32_t /*Seconds*/, const std::string& /*Reason*/) {}
    // Something the user should know of a job that goes on; the job's log has it too.
    virtual void Warning(const std::string& /*Text*/) {}

  protected:
    ~CSaverEvents() = default;
};

// Numbers of the messages a save job sends to its saver.
namespace msg {
inline constexpr int32_t kPageSkipped = 0;
inline constexpr int32_t kStartSavingPage = 1;
inline constexpr int32_t kSavingPageComplete = 2;
inline constexpr int32_t kResultList = 3;
inline constexpr int32_t kJobComplete = 4;
inline constexpr int32_t kWaiting = 5;
inline constexpr int32_t kWarning = 6;
}  // namespace msg

inline constexpr const char* kSaveWorkerProgID = "fetchcore.csaveworker";

// Starts, watches and cancels save jobs. Lives on the thread that created it, which must
// keep pumping its messages while jobs run.
class DownloadService;

class FETCHCORE_EXPORT CSaver : private tessel::MessangerEvents {
  public:
    // The downloads of every job run with `settings`; the defaults are the program's.
    explicit CSaver(DownloadSettings settings = {});
    ~CSaver();
    CSaver(const CSaver&) = delete;
    CSaver& operator=(const CSaver&) = delete;

    tessel::Variant Init(std::shared_ptr<tessel::Log> log);
    std::string Save(std::shared_ptr<CTask> Task);
    bool IsDownloadingNow() const;
    void CancelAll();
    std::string URL2FileName(int32_t PageNumber, const std::string& url) const;
    std::string FileNameEncode(const std::string& FileName) const;

    tessel::EventSource<CSaverEvents>::Connection Connect(CSaverEvents& sink) {
        return events_.Connect(sink);
    }

    // Inside an event handler: the ID of the job the event is about (as Save returned it),
    // for a sink that follows several jobs. Empty outside the events and for a message that
    // names no job.
    const std::string& EventJob() const { return eventJob_; }

    // The names of the shared kernel objects (given to every job).
    const std::string& SemaphoreName() const { return semaphoreName_; }
    const std::string& CancelEventName() const { return cancelEventName_; }

    // "Fetchcore.dll 1.0.0": the version line Init writes.
    static std::string VersionLine();

  private:
    void MsgArrived(int32_t Msg, const tessel::VariantArray& Data, const std::string& Sender,
                    const std::string& Receiver) override;
    void Dispatch(int32_t Msg, const tessel::VariantArray& Data);
    std::shared_ptr<tessel::KeyedCollection> MakeJobData(std::shared_ptr<CTask> task,
                                                         const std::string& jobId) const;
    void ReportStartFailure(const std::string& jobId, const tessel::ComError& error);
    void LogError(const tessel::ComError& error, int level, const char* procedure) const;

    std::shared_ptr<tessel::Messanger> moMessanger_;
    tessel::EventSource<tessel::MessangerEvents>::Connection messangerConnection_;
    tessel::KeyedCollection jobs_;
    std::shared_ptr<tessel::Log> log_;
    std::string semaphoreName_;
    std::string cancelEventName_;
    platform::Handle cancelEvent_;
    DownloadSettings settings_;
    // Made by Init: the transfer loop every job's downloads go through, so the limit of
    // fetches at once and the open connections hold across jobs.
    std::shared_ptr<const DownloadService> downloads_;
    tessel::EventSource<CSaverEvents> events_;
    std::string eventJob_;
};

}  // namespace fetchcore
