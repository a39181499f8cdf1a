#include "CurlTransfer.h"

#include "tessel/Text.h"

#ifndef KES_VERSION
#define KES_VERSION "0"
#endif

namespace platform {
namespace {

constexpr long kMaxRedirects = 10;
constexpr long kReadBufferBytes = 100 * 1024;
// A decoded body past this size may not outgrow its encoded size more than kMaxInflation
// times; real pages compress 3 to 20 times.
constexpr int64_t kInflationFloor = 16LL * 1024 * 1024;
constexpr int64_t kMaxInflation = 100;

[[noreturn]] void Unavailable(const char* what) {
    throw tessel::ComError(httperr::kUnavailable,
                           std::string("The HTTP client could not ") + what + ". ");
}

[[noreturn]] void Invalid(std::string description) {
    throw tessel::ComError(httperr::kInvalidArgument, std::move(description));
}

bool IsHttpUrl(const std::string& url) {
    const auto lower = tessel::LowerAscii(url.substr(0, 8));
    return lower.starts_with("http://") || lower.starts_with("https://");
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// A line "Name: value" or "Name;" whose name is a single token.
bool IsValidHeaderLine(const std::string& line) {
    const auto end = line.find_first_of(":;");
    return end != 0 && end != std::string::npos && !HasLineBreakOrNul(line) &&
           line.find_first_of(" \t") > end;
}

// Addresses cut out of pages may hold blanks, which libcurl refuses; send them escaped,
// as browsers do.
std::string EscapeBlanks(const std::string& url) {
    std::string escaped;
    escaped.reserve(url.size());
    for (char c : url) {
        if (c == ' ') {
            escaped += "%20";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

int64_t BodyLimit(const TransferRequest& request) {
    if (request.maxBodyBytes > 0) return request.maxBodyBytes;
    return request.spoolFolder ? TransferRequest::kMaxSpooledBodyBytes
                               : TransferRequest::kMaxBodyBytes;
}

std::string InfoText(CURL* easy, CURLINFO info) {
    const char* text = nullptr;
    return curl_easy_getinfo(easy, info, &text) == CURLE_OK && text ? text : "";
}

}  // namespace

CurlTransfer::CurlTransfer(const TransferRequest& request, CURLSH* share)
    : response_(BodyLimit(request), request.spoolFolder, request.hashBody), tap_(request.tap) {
    if (!IsHttpUrl(request.url) || HasLineBreakOrNul(request.url)) {
        Invalid("URL '" + request.url + "' is not an http or https URL. ");
    }
    for (const auto& line : request.headerLines) {
        // Named, not shown: a header's value may be a key.
        if (!IsValidHeaderLine(line))
            Invalid("Header '" + line.substr(0, line.find_first_of(":;\r\n")) +
                    "' is not a valid request header. ");
        auto* list = curl_slist_append(headers_.get(), line.c_str());
        if (!list) Unavailable("store a request header");
        (void)headers_.release();  // now owned through the new list head
        headers_.reset(list);
    }
    easy_.reset(curl_easy_init());
    if (!easy_) Unavailable("create a transfer");
    Configure(EscapeBlanks(request.url), share, request.followRedirects);
}

void CurlTransfer::Configure(const std::string& url, CURLSH* share, bool followRedirects) {
    CURL* e = easy_.get();
    bool ok = curl_easy_setopt(e, CURLOPT_URL, url.c_str()) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_PRIVATE, this) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorBuffer_) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_HTTPGET, 1L) == CURLE_OK;
    // http and https only, including where a redirect points.
    ok &= curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, followRedirects ? 1L : 0L) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "") == CURLE_OK;
    // A typical page in one read, as curl's own tool does: each read costs a poll and a recv.
    ok &= curl_easy_setopt(e, CURLOPT_BUFFERSIZE, kReadBufferBytes) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_USERAGENT, "Kestrova/" KES_VERSION) == CURLE_OK;
    // A proxy tunnel's own answer must not pass for the server's.
    ok &= curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers_.get()) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_SHARE, share) == CURLE_OK;
    // Refuses a declared oversize body before it arrives; OnBody catches the rest.
    ok &= curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE,
                           static_cast<curl_off_t>(response_.MaxBodyBytes())) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &CurlTransfer::OnHeader) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_HEADERDATA, this) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &CurlTransfer::OnBody) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_WRITEDATA, this) == CURLE_OK;
    if (tap_) {
        // The trace is libcurl's only view of the bytes as they pass on the wire.
        ok &= curl_easy_setopt(e, CURLOPT_DEBUGFUNCTION, &CurlTransfer::OnTrace) == CURLE_OK;
        ok &= curl_easy_setopt(e, CURLOPT_DEBUGDATA, this) == CURLE_OK;
        ok &= curl_easy_setopt(e, CURLOPT_VERBOSE, 1L) == CURLE_OK;
    }
    if (!ok) Unavailable("be configured");
}

TransferResult CurlTransfer::Finished(CURLcode code) {
    if (code != CURLE_OK) {
        auto result = Exchange(TransferEnd::Failed);
        Fail(result, code);
        return Told(std::move(result));
    }
    response_.OnCompleted();
    auto result = Exchange(TransferEnd::Completed);
    result.readyState = 4;
    result.body = response_.TakeBody();
    return Told(std::move(result));
}

TransferResult CurlTransfer::Stopped(TransferEnd end) {
    return Told(Exchange(end));
}

TransferResult CurlTransfer::Told(TransferResult result) {
    if (tap_) tap_->Ended(result.end, result.errorNumber);
    return result;
}

TransferResult CurlTransfer::Exchange(TransferEnd end) {
    TransferResult result;
    result.end = end;
    result.readyState = response_.ReadyState();
    result.status = response_.Status();
    result.reason = response_.Reason();
    result.finalUrl = InfoText(easy_.get(), CURLINFO_EFFECTIVE_URL);
    result.contentType = InfoText(easy_.get(), CURLINFO_CONTENT_TYPE);
    result.hops = std::move(response_.Heads());
    result.receivedAt = response_.LastHeadAt();
    return result;
}

void CurlTransfer::Fail(TransferResult& result, CURLcode code) const {
    if (!response_.StoreFailure().empty()) {
        result.errorNumber = tessel::err::kFileError;
        result.errorDescription = response_.StoreFailure();
    } else if (inflates_) {
        result.errorNumber = httperr::kBodyInflates;
        result.errorDescription = "The response body grows more than " +
                                  std::to_string(kMaxInflation) +
                                  " times when decompressed (a decompression bomb?). ";
    } else if (response_.BodyTooLarge() || code == CURLE_FILESIZE_EXCEEDED) {
        result.errorNumber = httperr::kBodyTooLarge;
        result.errorDescription = "The response body is larger than " +
                                  std::to_string(response_.MaxBodyBytes()) + " bytes. ";
    } else {
        result.errorNumber = httperr::kTransferFailed;
        result.errorDescription =
            errorBuffer_[0] != '\0' ? std::string(errorBuffer_) : curl_easy_strerror(code);
    }
}

bool CurlTransfer::Inflates() const {
    const int64_t decoded = response_.Body().Size();
    if (decoded <= kInflationFloor) return false;
    curl_off_t encoded = 0;  // what came over the wire, before decoding
    curl_easy_getinfo(easy_.get(), CURLINFO_SIZE_DOWNLOAD_T, &encoded);
    return decoded > kMaxInflation * static_cast<int64_t>(encoded);
}

size_t CurlTransfer::OnHeader(char* data, size_t size, size_t count, void* self) {
    auto& transfer = *static_cast<CurlTransfer*>(self);
    transfer.response_.OnHeaderLine({data, size * count});
    if (transfer.response_.HeadJustEnded()) {
        transfer.response_.Heads().back().ip = InfoText(transfer.easy_.get(), CURLINFO_PRIMARY_IP);
    }
    return size * count;
}

size_t CurlTransfer::OnBody(char* data, size_t size, size_t count, void* self) {
    // Any count other than the one offered makes libcurl abort the transfer.
    auto& transfer = *static_cast<CurlTransfer*>(self);
    if (transfer.response_.Body().Size() == 0) {
        // The first bytes: room for the whole body at once, rather than growing in steps.
        curl_off_t declared = -1;
        curl_easy_getinfo(transfer.easy_.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &declared);
        transfer.response_.ExpectBody(declared);
    }
    if (!transfer.response_.OnBody(data, size * count)) return 0;
    transfer.inflates_ = transfer.Inflates();
    return transfer.inflates_ ? 0 : size * count;
}

int CurlTransfer::OnTrace(CURL*, curl_infotype type, char* data, size_t size, void* self) {
    static_cast<CurlTransfer*>(self)->Trace(type, {data, size});
    return 0;
}

void CurlTransfer::Trace(curl_infotype type, std::string_view data) {
    switch (type) {
        case CURLINFO_HEADER_OUT:
            // A head may go out in pieces; it is whole at its blank line.
            sentHead_ += data;
            if (!sentHead_.ends_with("\r\n\r\n")) return;
            tunnelled_ = sentHead_.starts_with("CONNECT ");
            if (!tunnelled_) {
                tap_->RequestSent(InfoText(easy_.get(), CURLINFO_EFFECTIVE_URL), sentHead_,
                                  InfoText(easy_.get(), CURLINFO_PRIMARY_IP));
            }
            sentHead_.clear();
            return;
        case CURLINFO_HEADER_IN:
            if (!tunnelled_) tap_->HeadBytes(data);
            return;
        case CURLINFO_DATA_IN:
            if (!tunnelled_) tap_->BodyBytes(data);
            return;
        default:
            return;  // libcurl's own remarks, TLS records and sent bodies
    }
}

}  // namespace platform
