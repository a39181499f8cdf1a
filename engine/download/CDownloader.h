#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "boundary/DownloadResult.h"
#include "corpus/JobArchive.h"
#include "download/DownloadService.h"
#include "platform/KernelObjects.h"
#include "tessel/Error.h"
#include "tessel/EventSource.h"
#include "tessel/KeyedCollection.h"
#include "tessel/Log.h"
#include "tessel/Messanger.h"
#include "tessel/Variant.h"

namespace fetchcore {

// Events of a downloader, raised on its owner's thread. Override what you need.
class CDownloaderEvents {
  public:
    virtual void StartDownload(const std::string& /*Cookie*/, const std::string& /*url*/) {}
    // Result.Page is empty on failure. Its bytes are in memory unless it was spooled (see
    // CDownloader::SpoolFolder).
    virtual void Complete(const DownloadResult& /*Result*/) {}

  protected:
    ~CDownloaderEvents() = default;
};

// Fetches URLs through its saver's transfer loop and reports each result as a Complete
// event on the owner's thread (which must pump its messages). Private to the engine.
class CDownloader : private tessel::MessangerEvents {
  public:
    // Set by the owner before the first download. The cancel event ends this downloader's
    // transfers, queued or running; the semaphore's name is kept for its callers, the limit
    // of fetches at once being the transfer loop's.
    std::string ConcurrentDownloadSemaphoreName;
    std::string CancelEventName;
    // The most a fetched body may weigh, for downloads started afterwards; 0 leaves the
    // transfer's own limit.
    int64_t BodyLimitB = 0;
    // Where bodies past a megabyte wait on disk until they are saved (best on the file system
    // they are saved to), for downloads started afterwards; empty keeps every body in memory.
    std::string SpoolFolder;
    // Extra request headers ("Name: value") for downloads started afterwards. Those downloads
    // follow no redirect, so the headers (a key among them) reach no other address.
    std::vector<std::string> RequestHeaders;
    // How long downloads started afterwards wait in the transfer queue before they start (a
    // server asked for the pause); the cancel event ends the wait at once.
    std::chrono::milliseconds QueueDelay{0};
    // For downloads started afterwards: every exchange goes into this WARC file as its
    // transfer ends (before Complete is raised); none when empty.
    std::shared_ptr<JobArchive> Archive;
    // For downloads started afterwards: the page's SHA-256 is computed as it arrives
    // (DownloadResult::Page.Sha256()).
    bool HashBody = false;

    explicit CDownloader(std::shared_ptr<const DownloadService> service);
    ~CDownloader();
    CDownloader(const CDownloader&) = delete;
    CDownloader& operator=(const CDownloader&) = delete;

    tessel::Variant Init(std::shared_ptr<tessel::Log> log);
    // Starts one download and returns its cookie; throws tessel::ComError when it cannot.
    std::string Download(const std::string& url, int32_t SizeB);
    void Cancel(const std::string& Cookie);  // per-download cancel does not exist
    bool IsDownloadingNow() const;
    void CancelAll();

    tessel::EventSource<CDownloaderEvents>::Connection Connect(CDownloaderEvents& sink) {
        return events_.Connect(sink);
    }

  private:
    void MsgArrived(int32_t Msg, const tessel::VariantArray& Data, const std::string& Sender,
                    const std::string& Receiver) override;
    void WaitForRoom();
    int UnreportedCount() const;
    void Submit(const std::string& url, int32_t SizeB, const std::string& Cookie);
    void LogFailure(const DownloadResult& result) const;
    void RaiseComplete(const DownloadResult& result);
    void OpenCancelEvent();
    tessel::ComError StartFailure(const tessel::ComError& error, const std::string& url,
                                  const std::string& Cookie);

    std::shared_ptr<const DownloadService> service_;
    std::shared_ptr<tessel::Log> log_;
    std::shared_ptr<tessel::Messanger> moMessanger_;
    tessel::EventSource<tessel::MessangerEvents>::Connection messangerConnection_;
    tessel::KeyedCollection moDownloads_;  // cookie -> URL of every download not yet reported
    platform::Handle cancelEvent_;
    // Keeps a cancelled event alive: a later download must find it signalled, not a fresh one.
    platform::Handle cancelledEvent_;
    // Cookies whose Complete handlers are running (nested handlers stack up). Their entries
    // stay in the table but have reported, so they no longer hold a place in the limit.
    std::vector<std::string> reporting_;
    tessel::EventSource<CDownloaderEvents> events_;
};

}  // namespace fetchcore
