#include "CurlTransfer.h"

#include <cstdio>

#include "platform/HttpRequest.h"

#ifndef KES_VERSION
#define KES_VERSION "0"
#endif

namespace platform {
namespace {

constexpr long kMaxRedirects = 10;

[[noreturn]] void Unavailable(const char* what) {
    throw tessel::ComError(httperr::kUnavailable,
                           std::string("The HTTP client could not ") + what + ". ");
}

}  // namespace

CurlTransfer::CurlTransfer(const std::string& url, const std::vector<std::string>& headerLines,
                           int64_t maxBodyBytes, const std::optional<std::string>& spoolFolder,
                           std::shared_ptr<HttpSession> session)
    : session_(std::move(session)),
      response_(maxBodyBytes, spoolFolder),
      easy_(curl_easy_init()),
      multi_(session_->Connections().Take(MultiPool::OriginOf(url))) {
    if (!easy_ || !multi_.multi) {
        Unavailable("create a transfer");
    }
    for (const auto& line : headerLines) {
        auto* list = curl_slist_append(headers_.get(), line.c_str());
        if (!list) {
            Unavailable("store a request header");
        }
        (void)headers_.release();  // now owned through the new list head
        headers_.reset(list);
    }
    Configure(url);
    if (curl_multi_add_handle(multi_.multi.get(), easy_.get()) != CURLM_OK) {
        Unavailable("start a transfer");
    }
    attached_ = true;
}

CurlTransfer::~CurlTransfer() {
    Release();
}

void CurlTransfer::Configure(const std::string& url) {
    CURL* e = easy_.get();
    bool ok = curl_easy_setopt(e, CURLOPT_URL, url.c_str()) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorBuffer_) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_HTTPGET, 1L) == CURLE_OK;
    // http and https only, including where a redirect points.
    ok &= curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "") == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_USERAGENT, "Kestrova/" KES_VERSION) == CURLE_OK;
    // A proxy tunnel's own answer must not pass for the server's.
    ok &= curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers_.get()) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_SHARE, session_->Share()) == CURLE_OK;
    // Refuses a declared oversize body before it arrives; OnBody catches the rest.
    ok &= curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE,
                           static_cast<curl_off_t>(response_.MaxBodyBytes())) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &CurlTransfer::OnHeader) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_HEADERDATA, this) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &CurlTransfer::OnBody) == CURLE_OK;
    ok &= curl_easy_setopt(e, CURLOPT_WRITEDATA, this) == CURLE_OK;
    if (!ok) {
        Unavailable("be configured");
    }
}

std::optional<CURLcode> CurlTransfer::Advance() {
    if (result_) {
        return result_;
    }
    int running = 0;
    const CURLMcode multiCode = curl_multi_perform(multi_.multi.get(), &running);
    if (multiCode != CURLM_OK) {
        std::snprintf(errorBuffer_, sizeof errorBuffer_, "%s", curl_multi_strerror(multiCode));
        result_ = CURLE_FAILED_INIT;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_.multi.get(), &queued)) {
        if (message->msg == CURLMSG_DONE && !result_) {
            result_ = message->data.result;
        }
    }
    if (result_) {
        Release();
    }
    return result_;
}

CURLcode CurlTransfer::RunToEnd() {
    constexpr int kPollMs = 1000;
    while (!Advance()) {
        WaitForActivity(kPollMs, -1);
    }
    return *result_;
}

void CurlTransfer::WaitForActivity(int milliseconds, int wakeDescriptor) {
    if (result_ || !multi_.multi) return;
    curl_waitfd wake{wakeDescriptor, CURL_WAIT_POLLIN, 0};
    const unsigned count = wakeDescriptor >= 0 ? 1 : 0;
    curl_multi_poll(multi_.multi.get(), count ? &wake : nullptr, count, milliseconds, nullptr);
}

std::string CurlTransfer::ErrorText(CURLcode code) const {
    return errorBuffer_[0] != '\0' ? std::string(errorBuffer_) : curl_easy_strerror(code);
}

void CurlTransfer::Release() {
    if (attached_) {
        curl_multi_remove_handle(multi_.multi.get(), easy_.get());
        attached_ = false;
    }
    easy_.reset();
    headers_.reset();
    session_->Connections().Give(std::move(multi_));
    multi_ = {};
}

size_t CurlTransfer::OnHeader(char* data, size_t size, size_t count, void* self) {
    static_cast<CurlTransfer*>(self)->response_.OnHeaderLine({data, size * count});
    return size * count;
}

size_t CurlTransfer::OnBody(char* data, size_t size, size_t count, void* self) {
    // Any count other than the one offered makes libcurl abort the transfer.
    return static_cast<CurlTransfer*>(self)->response_.OnBody(data, size * count) ? size * count
                                                                                  : 0;
}

}  // namespace platform
