#include "download/CDownloader.h"

#include "boundary/DownloadParams.h"
#include "boundary/DownloadResult.h"
#include "download/DownloadErrors.h"
#include "tessel/Text.h"
#include "tessel/Toolbox.h"
#include "tessel/WorkerThread.h"

namespace fetchcore {

using tessel::ComError;
using tessel::Variant;
using tessel::VariantArray;

namespace {

// Most downloads started and not yet reported: the wait lets the eleventh in.
constexpr int kMaxWaitingEntries = 10;

std::string Format(const char* templ, const std::string& url) {
    return tessel::Toolbox::FormatMessage(templ, {url});
}

}  // namespace

CDownloader::CDownloader() {
    // Creation never fails visibly; a missing messenger shows up as failed downloads.
    try {
        moMessanger_ = std::make_shared<tessel::Messanger>();
        messangerConnection_ = moMessanger_->Connect(*this);
    } catch (...) {
        // Nothing to log to before Init; the missing messenger fails each download, logged there.
    }
}

CDownloader::~CDownloader() = default;

tessel::Variant CDownloader::Init(std::shared_ptr<tessel::Log> log) {
    log_ = std::move(log);
    return {};
}

std::string CDownloader::Download(const std::string& url, int32_t SizeB) {
    std::string trimmed = url;
    std::string cookie;
    try {
        trimmed = tessel::TrimBlanks(url);
        cookie = tessel::Toolbox::NewID();
        if (moDownloads_.Exists(cookie)) {
            cookie.clear();  // the entry belongs to the download already running
            throw ComError(dlerr::kAlreadyDownloading,
                           Format("URL '%1' is already downloading. ", trimmed));
        }
        WaitForRoom();
        auto bag = MakeBag(trimmed, SizeB, cookie);
        OpenCancelEvent();
        auto worker = std::make_shared<tessel::WorkerThread>();
        moDownloads_.Add(Variant(worker), cookie);
        events_.Raise(&CDownloaderEvents::StartDownload, cookie, trimmed);
        worker->Start(kDownloadWorkerProgID, "Run", Variant(std::move(bag)));
        return cookie;
    } catch (const std::exception& e) {
        throw StartFailure(tessel::ToComError(e), trimmed, cookie);
    }
}

void CDownloader::WaitForRoom() {
    // Results arrive as messages, so waiting means processing them: Complete handlers (and
    // downloads they start) run in here.
    while (UnreportedCount() > kMaxWaitingEntries) tessel::Toolbox::WaitAndPumpMessages();
}

int CDownloader::UnreportedCount() const {
    // A handler that downloads again would otherwise wait for its own entry to leave,
    // which only happens once it returns: with every entry's handler doing so, forever.
    int reported = 0;
    for (const auto& cookie : reporting_) {
        if (moDownloads_.Exists(cookie)) ++reported;
    }
    return moDownloads_.Count() - reported;
}

std::shared_ptr<tessel::KeyedCollection> CDownloader::MakeBag(const std::string& url, int32_t SizeB,
                                                              const std::string& Cookie) const {
    return DownloadParams{url,
                          SizeB,
                          log_,
                          moMessanger_,
                          Cookie,
                          ConcurrentDownloadSemaphoreName,
                          CancelEventName,
                          BodyLimitB,
                          SpoolFolder}
        .ToBag();
}

void CDownloader::OpenCancelEvent() {
    // Opened before the old handle goes, so an event that only this downloader held
    // stays the same object.
    cancelEvent_ = platform::CreateEventA(true, false, CancelEventName);
}

ComError CDownloader::StartFailure(const ComError& error, const std::string& url,
                                   const std::string& Cookie) {
    // A worker that never started never reports; its entry must not hold a place forever.
    if (!Cookie.empty() && moDownloads_.Exists(Cookie)) moDownloads_.Remove(Cookie);
    if (log_) {
        log_->Write(error.Number(), error.Description(), tessel::level::kEngineError,
                    "CDownloader.Download");
    }
    const int32_t number =
        error.Number() == dlerr::kPassThrough ? dlerr::kPassThrough : dlerr::kStartFailed;
    return ComError(number,
                    Format("Failed to start download URL '%1'. ", url) + error.Description(),
                    "CDownloader");
}

void CDownloader::Cancel(const std::string& /*Cookie*/) {
    // Downloads are cancelled all at once, through the shared event.
}

bool CDownloader::IsDownloadingNow() const {
    return moDownloads_.Count() > 0;
}

void CDownloader::CancelAll() {
    platform::SetEvent(cancelEvent_);
    if (cancelEvent_) cancelledEvent_ = std::move(cancelEvent_);
    platform::CloseHandle(cancelEvent_);
    while (moDownloads_.Count() > 0) moDownloads_.Remove(1);
}

void CDownloader::RaiseComplete(const std::string& Cookie, const platform::ResponseBody& Page,
                                bool IsSuccess, int32_t ErrNumber,
                                const std::string& ErrDescription) {
    reporting_.push_back(Cookie);
    struct Reporting {
        std::vector<std::string>& stack;
        ~Reporting() { stack.pop_back(); }
    } reporting{reporting_};
    events_.Raise(&CDownloaderEvents::Complete, Cookie, Page, IsSuccess, ErrNumber, ErrDescription);
}

void CDownloader::MsgArrived(int32_t Msg, const VariantArray& Data, const std::string&,
                             const std::string&) {
    if (Msg != DownloadResult::kMsg) return;
    std::string cookie;
    bool raised = false;
    const auto failure = tessel::Trap([&] {
        const auto result = DownloadResult::FromData(Data);
        cookie = result.cookie;
        raised = true;
        RaiseComplete(cookie, result.Body(), result.isSuccess, result.errNumber,
                      result.errDescription);
    });
    if (failure && log_) {
        log_->Write(failure->Number(), failure->Description(), tessel::level::kError,
                    "CDownloader.moMessanger_MsgArrived");
    }
    // Once reported, the download leaves the table even when a handler failed; otherwise
    // its entry would count against the limit for good. Gone already after CancelAll.
    if (raised && moDownloads_.Exists(cookie)) moDownloads_.Remove(cookie);
}

}  // namespace fetchcore
