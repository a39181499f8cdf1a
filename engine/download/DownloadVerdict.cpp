#include "download/DownloadVerdict.h"

#include "download/DownloadErrors.h"

namespace fetchcore {
namespace {

using platform::TransferEnd;

// A refused answer's body is kept up to this size; past it, it is no API's error object.
constexpr int64_t kRefusedBodyLimitB = 64 * 1024;

bool IsAcceptedStatus(int status) {
    return status == 200 || status == 206 || status == 302 || status == 304;
}

void Fail(DownloadResult& result, int32_t number, std::string description) {
    result.IsSuccess = false;
    result.ErrNumber = number;
    result.ErrDescription = std::move(description);
}

void Judge(DownloadResult& result, const platform::TransferResult& transfer,
           const DownloadService& service) {
    switch (transfer.end) {
        case TransferEnd::Cancelled:
            return Fail(result, dlerr::kCancelled, dlerr::kCancelledText);
        case TransferEnd::TimedOut:
            // States 1 and 2 both mean no body came in time.
            if (transfer.readyState == 3) {
                return Fail(result, dlerr::kInteractive, dlerr::kInteractiveText);
            }
            return Fail(result, dlerr::kTimeout, dlerr::kTimeoutText);
        case TransferEnd::Failed:
            return Fail(result, transfer.errorNumber, transfer.errorDescription);
        case TransferEnd::Completed:
            if (IsAcceptedStatus(transfer.status)) {
                result.IsSuccess = true;
                return;
            }
            if (service.IsOnline()) return Fail(result, dlerr::kStatus, transfer.StatusText());
            return Fail(result, dlerr::kOffline, dlerr::kOfflineText);
    }
}

}  // namespace

DownloadResult Verdict(platform::TransferResult transfer, std::string cookie, std::string url,
                       const DownloadService& service) {
    DownloadResult result;
    Judge(result, transfer, service);
    result.Cookie = std::move(cookie);
    std::string refusedBody;
    if (result.IsSuccess) {
        result.Page = std::move(transfer.body);
    } else if (transfer.end == platform::TransferEnd::Completed && !transfer.body.IsSpooled() &&
               transfer.body.Size() <= kRefusedBodyLimitB) {
        refusedBody = transfer.body.Bytes();
    }
    result.URL = std::move(url);
    result.Exchange = {
        transfer.status,          std::move(transfer.finalUrl), std::move(transfer.contentType),
        std::move(transfer.hops), transfer.receivedAt,          std::move(refusedBody)};
    return result;
}

}  // namespace fetchcore
