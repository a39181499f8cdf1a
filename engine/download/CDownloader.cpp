#include "download/CDownloader.h"

#include "download/DownloadErrors.h"
#include "download/DownloadVerdict.h"
#include "tessel/Text.h"
#include "tessel/Toolbox.h"

namespace fetchcore {

using tessel::ComError;
using tessel::Variant;
using tessel::VariantArray;

namespace {

// Most downloads started and not yet reported: the wait lets the eleventh in.
constexpr int kMaxWaitingEntries = 10;
// The message a finished transfer sends its downloader: cookie, report, URL.
constexpr int32_t kTransferEnded = 0;

// A transfer's result on its way from the loop's thread to the downloader's; its body is
// moved along, never copied.
class TransferReport final : public tessel::Object {
  public:
    TransferReport(platform::TransferResult result, std::shared_ptr<ExchangeRecorder> recorder)
        : result(std::move(result)), recorder(std::move(recorder)) {}
    platform::TransferResult result;
    std::shared_ptr<ExchangeRecorder> recorder;  // what the transfer's tap kept, if it had one
};

std::string Format(const char* templ, const std::string& url) {
    return tessel::Toolbox::FormatMessage(templ, {url});
}

bool IsGoogleURL(const std::string& url) {
    return url.find("google") != std::string::npos;
}

}  // namespace

CDownloader::CDownloader(std::shared_ptr<const DownloadService> service)
    : service_(std::move(service)) {
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
        OpenCancelEvent();
        moDownloads_.Add(Variant(trimmed), cookie);
        events_.Raise(&CDownloaderEvents::StartDownload, cookie, trimmed);
        Submit(trimmed, SizeB, cookie);
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

void CDownloader::Submit(const std::string& url, int32_t SizeB, const std::string& Cookie) {
    if (!moMessanger_ || !service_) {
        throw ComError(tessel::err::kObjectRequired, "Object required");
    }
    platform::TransferRequest request;
    request.url = url;
    request.headerLines.push_back("GET: " + url);
    // Results pages are always fetched whole.
    if (!IsGoogleURL(url) && SizeB > 0) {
        request.headerLines.push_back("Range: bytes=0-" + std::to_string(SizeB - 1));
    }
    request.headerLines.insert(request.headerLines.end(), RequestHeaders.begin(),
                               RequestHeaders.end());
    request.followRedirects = RequestHeaders.empty();
    request.delay = QueueDelay;
    request.maxBodyBytes = BodyLimitB;
    if (!SpoolFolder.empty()) request.spoolFolder = SpoolFolder;
    request.timeout = service_->Timeout();
    request.cancelEventName = CancelEventName;
    request.hashBody = HashBody;
    std::shared_ptr<ExchangeRecorder> recorder;
    if (Archive) request.tap = recorder = Archive->NewRecorder();
    service_->Transfers().Submit(std::move(request), [messanger = moMessanger_, Cookie, url,
                                                      recorder = std::move(recorder)](
                                                         platform::TransferResult r) {
        messanger->Send(
            kTransferEnded,
            VariantArray{Cookie, std::make_shared<TransferReport>(std::move(r), recorder), url});
    });
}

void CDownloader::OpenCancelEvent() {
    // Opened before the old handle goes, so an event that only this downloader held
    // stays the same object.
    cancelEvent_ = platform::CreateEventA(true, false, CancelEventName);
}

ComError CDownloader::StartFailure(const ComError& error, const std::string& url,
                                   const std::string& Cookie) {
    // A download that never started never reports; its entry must not hold a place forever.
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

void CDownloader::LogFailure(const DownloadResult& result) const {
    if (!log_) return;
    log_->Write(result.ErrNumber, result.URL + ". " + result.ErrDescription,
                tessel::level::kEngineError, "CDLoadWorker.Run");
}

void CDownloader::RaiseComplete(const DownloadResult& result) {
    reporting_.push_back(result.Cookie);
    struct Reporting {
        std::vector<std::string>& stack;
        ~Reporting() { stack.pop_back(); }
    } reporting{reporting_};
    events_.Raise(&CDownloaderEvents::Complete, result);
}

void CDownloader::MsgArrived(int32_t Msg, const VariantArray& Data, const std::string&,
                             const std::string&) {
    if (Msg != kTransferEnded) return;
    std::string cookie;
    bool raised = false;
    const auto failure = tessel::Trap([&] {
        cookie = Data(1).ToString();
        const auto report = Data(2).As<TransferReport>();
        // Written before the page is told of: a saved page's records are in the file.
        if (report->recorder && Archive) Archive->Keep(*report->recorder);
        const auto result =
            Verdict(std::move(report->result), cookie, Data(3).ToString(), *service_);
        if (!result.IsSuccess) LogFailure(result);
        raised = true;
        RaiseComplete(result);
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
