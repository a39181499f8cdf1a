#include "platform/HttpRequest.h"

#include <algorithm>
#include <atomic>

#include "CurlTransfer.h"
#include "HttpSession.h"
#include "ReasonPhrase.h"
#include "tessel/Text.h"

namespace platform {
namespace {

std::atomic<int64_t> gMaxBodyBytes{0};  // 0: the defaults

[[noreturn]] void Throw(int32_t number, std::string description) {
    throw tessel::ComError(number, std::move(description), "HttpRequest");
}

bool IsHttpUrl(const std::string& url) {
    const auto lower = tessel::LowerAscii(url.substr(0, 8));
    return lower.starts_with("http://") || lower.starts_with("https://");
}

bool HasLineBreakOrNul(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
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

bool IsValidHeaderName(const std::string& name) {
    return !name.empty() && !HasLineBreakOrNul(name) &&
           name.find_first_of(": \t") == std::string::npos;
}

}  // namespace

struct HttpRequest::Impl {
    explicit Impl(std::shared_ptr<HttpSession> s) : session(std::move(s)) {}

    std::shared_ptr<HttpSession> session;
    int state = 0;
    bool async = true;
    bool sent = false;
    std::string url;
    std::vector<std::string> headerLines;
    int64_t maxBodyBytes = 0;  // 0: the process-wide limit
    std::optional<std::string> spoolFolder;
    std::unique_ptr<CurlTransfer> transfer;
    int32_t errorNumber = 0;
    std::string errorDescription;

    void Clear() { *this = Impl(std::move(session)); }

    int StateOfResponse() const {
        const auto& response = transfer->Response();
        return response.BodyStarted() ? 3 : response.HeadersComplete() ? 2 : 1;
    }

    void Follow(std::optional<CURLcode> result) {
        if (result) {
            Complete(*result);
        } else {
            state = StateOfResponse();
        }
    }

    void Complete(CURLcode code) {
        auto& response = transfer->Response();
        state = 4;
        if (code == CURLE_OK) {
            response.OnCompleted();
            return;
        }
        if (!response.StoreFailure().empty()) {
            errorNumber = tessel::err::kFileError;
            errorDescription = response.StoreFailure();
        } else if (response.BodyTooLarge() || code == CURLE_FILESIZE_EXCEEDED) {
            errorNumber = httperr::kBodyTooLarge;
            errorDescription = "The response body is larger than " +
                               std::to_string(response.MaxBodyBytes()) + " bytes. ";
        } else {
            errorNumber = httperr::kTransferFailed;
            errorDescription = transfer->ErrorText(code);
        }
        response.Discard();
    }

    int64_t BodyLimit() const {
        if (maxBodyBytes > 0) return maxBodyBytes;
        if (const int64_t limit = gMaxBodyBytes.load(); limit > 0) return limit;
        return spoolFolder ? kMaxSpooledBodyBytes : kMaxBodyBytes;
    }

    void RequireHeaders() const {
        if (errorNumber != 0) {
            Throw(errorNumber, errorDescription);
        }
        if (state < 2) {
            Throw(httperr::kInvalidState,
                  "The data necessary to complete this operation is not yet available. ");
        }
    }
};

HttpRequest::HttpRequest(std::shared_ptr<HttpSession> session) {
    // Nobody else could take its connection up: it closes once the outcome is known.
    if (!session) session = NewHttpSession(0);
    impl_ = std::make_unique<Impl>(std::move(session));
}

HttpRequest::~HttpRequest() = default;

void HttpRequest::open(const std::string& method, const std::string& url, bool async) {
    if (!tessel::EqualsNoCase(method, "get")) {
        Throw(httperr::kInvalidArgument, "Method '" + method + "' is not supported. ");
    }
    if (!IsHttpUrl(url) || HasLineBreakOrNul(url)) {
        Throw(httperr::kInvalidArgument, "URL '" + url + "' is not an http or https URL. ");
    }
    impl_->Clear();
    impl_->url = EscapeBlanks(url);
    impl_->async = async;
    impl_->state = 1;
}

void HttpRequest::setRequestHeader(const std::string& name, const std::string& value) {
    if (impl_->state != 1 || impl_->sent) {
        Throw(httperr::kInvalidState, "Request headers can only be set between open and send. ");
    }
    if (!IsValidHeaderName(name) || HasLineBreakOrNul(value)) {
        Throw(httperr::kInvalidArgument, "Header '" + name + "' is not a valid request header. ");
    }
    // libcurl drops a header given as "Name:"; "Name;" sends it with an empty value.
    impl_->headerLines.push_back(value.empty() ? name + ";" : name + ": " + value);
}

void HttpRequest::setMaxBodyBytes(int64_t bytes) {
    if (impl_->state != 1 || impl_->sent) {
        Throw(httperr::kInvalidState, "The body limit can only be set between open and send. ");
    }
    impl_->maxBodyBytes = bytes;
}

void HttpRequest::setSpoolFolder(const std::string& folder) {
    if (impl_->state != 1 || impl_->sent) {
        Throw(httperr::kInvalidState, "The spool folder can only be set between open and send. ");
    }
    impl_->spoolFolder = folder;
}

void HttpRequest::send() {
    if (impl_->state != 1 || impl_->sent) {
        Throw(httperr::kInvalidState, "The request must be opened before it is sent. ");
    }
    impl_->transfer = std::make_unique<CurlTransfer>(
        impl_->url, impl_->headerLines, impl_->BodyLimit(), impl_->spoolFolder, impl_->session);
    impl_->sent = true;
    if (impl_->async) {
        impl_->Follow(impl_->transfer->Advance());
    } else {
        impl_->Complete(impl_->transfer->RunToEnd());
    }
}

int HttpRequest::readyState() {
    if (impl_->sent && impl_->state < 4) {
        impl_->Follow(impl_->transfer->Advance());
    }
    return impl_->state;
}

void HttpRequest::waitForActivity(int milliseconds, int wakeDescriptor) {
    if (impl_->sent && impl_->state < 4 && impl_->transfer) {
        impl_->transfer->WaitForActivity(milliseconds, wakeDescriptor);
    }
}

void HttpRequest::abort() {
    impl_->Clear();
}

int HttpRequest::status() const {
    impl_->RequireHeaders();
    return impl_->transfer->Response().Status();
}

std::string HttpRequest::statusText() const {
    impl_->RequireHeaders();
    const auto& response = impl_->transfer->Response();
    if (!response.Reason().empty()) {
        return response.Reason();
    }
    return std::string(StandardReasonPhrase(response.Status()));
}

const std::string& HttpRequest::responseBody() const {
    static const std::string kNone;
    return impl_->transfer ? impl_->transfer->Response().Body().Bytes() : kNone;
}

ResponseBody HttpRequest::takeResponseBody() {
    return impl_->transfer ? impl_->transfer->Response().TakeBody() : ResponseBody();
}

bool HttpRequest::Failed() const {
    return impl_->errorNumber != 0;
}

int32_t HttpRequest::ErrorNumber() const {
    return impl_->errorNumber;
}

const std::string& HttpRequest::ErrorDescription() const {
    return impl_->errorDescription;
}

void HttpRequest::SetMaxBodyBytesForTesting(int64_t bytes) {
    gMaxBodyBytes.store(bytes > 0 ? bytes : 0);
}

}  // namespace platform
