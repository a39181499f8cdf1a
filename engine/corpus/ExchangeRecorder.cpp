#include "corpus/ExchangeRecorder.h"

#include <charconv>

#include "corpus/SafeRequest.h"
#include "corpus/WarcRecord.h"
#include "platform/ReasonPhrase.h"
#include "tessel/Text.h"

namespace fetchcore {
namespace {

using platform::TransferEnd;

int StatusCode(std::string_view statusLine) {
    const auto blank = statusLine.find(' ');
    if (blank == std::string_view::npos) return 0;
    const auto code = statusLine.substr(blank + 1);
    int status = 0;
    std::from_chars(code.data(), code.data() + code.size(), status);
    return status;
}

std::string TruncationReason(TransferEnd end, int32_t errorNumber) {
    switch (end) {
        case TransferEnd::TimedOut:
            return "time";
        case TransferEnd::Failed:
            if (errorNumber == platform::httperr::kBodyTooLarge ||
                errorNumber == platform::httperr::kBodyInflates) {
                return "length";
            }
            return "disconnect";
        default:
            return "unspecified";  // cancelled
    }
}

}  // namespace

template <class Step>
void ExchangeRecorder::Guarded(Step&& step) {
    try {
        step();
    } catch (const std::exception& e) {
        if (failure_.empty()) failure_ = e.what();
        if (!exchanges_.empty() && !exchanges_.back().truncated) {
            exchanges_.back().truncated = "unspecified";
        }
    }
}

void ExchangeRecorder::RequestSent(std::string_view url, std::string_view head,
                                   std::string_view ip) {
    Guarded([&] {
        if (!exchanges_.empty()) EndExchange();
        TappedExchange exchange;
        exchange.url = WithoutUserInfo(url);
        exchange.ip = ip;
        exchange.sentAt = std::chrono::system_clock::now();
        exchange.body = platform::ResponseBody(spoolFolder_);
        exchange.request = SafeRequestHead(head, exchange.http2);
        exchanges_.push_back(std::move(exchange));
    });
}

void ExchangeRecorder::HeadBytes(std::string_view bytes) {
    Guarded([&] {
        if (exchanges_.empty()) return;
        line_ += bytes;
        for (auto end = line_.find('\n'); end != std::string::npos; end = line_.find('\n')) {
            const std::string line = line_.substr(0, end + 1);
            line_.erase(0, end + 1);
            HeadLine(line);
        }
    });
}

void ExchangeRecorder::HeadLine(std::string_view line) {
    TappedExchange& exchange = exchanges_.back();
    // A status line begins a head, also where libcurl left out the end of an interim one.
    if (line.starts_with("HTTP/")) return StartHead(line);
    if (!inHead_) return;  // trailers after the body
    exchange.head += line;
    if (line == "\r\n" || line == "\n") return EndHead();
    if (tessel::EqualsNoCase(HeaderName(line), "transfer-encoding")) {
        chunked_ = tessel::LowerAscii(line).find("chunked") != std::string::npos;
    }
}

void ExchangeRecorder::StartHead(std::string_view statusLine) {
    TappedExchange& exchange = exchanges_.back();
    inHead_ = true;
    chunked_ = false;
    exchange.headWhole = false;
    const int status = StatusCode(statusLine);
    interim_ = status >= 100 && status < 200;
    if (statusLine.starts_with("HTTP/2")) {
        // HTTP/2 has no reason phrase; the status line gets the standard one.
        exchange.http2 = true;
        exchange.head = "HTTP/1.1 " + std::to_string(status) + " " +
                        std::string(platform::StandardReasonPhrase(status)) + "\r\n";
    } else {
        exchange.head = std::string(statusLine);
    }
}

void ExchangeRecorder::EndHead() {
    TappedExchange& exchange = exchanges_.back();
    inHead_ = false;
    if (interim_) {
        exchange.head.clear();
        return;
    }
    exchange.headWhole = true;
    block_.emplace(tessel::Digest::Algorithm::Sha1);
    block_->Update(exchange.head);
    payload_.emplace(tessel::Digest::Algorithm::Sha1);
    if (chunked_) {
        dechunked_.emplace([this](std::string_view data) { payload_->Update(data); });
    } else {
        dechunked_.reset();
    }
}

void ExchangeRecorder::BodyBytes(std::string_view bytes) {
    Guarded([&] {
        if (exchanges_.empty() || !exchanges_.back().headWhole) return;
        TappedExchange& exchange = exchanges_.back();
        if (exchange.truncated) return;  // its spool failed: what follows has no place
        if (!exchange.body.Append(bytes)) {
            if (failure_.empty()) failure_ = exchange.body.Failure();
            exchange.truncated = "unspecified";
            return;
        }
        block_->Update(bytes);
        if (dechunked_) {
            dechunked_->Feed(bytes);
        } else {
            payload_->Update(bytes);
        }
    });
}

void ExchangeRecorder::Ended(TransferEnd end, int32_t errorNumber) {
    Guarded([&] {
        if (exchanges_.empty()) return;
        TappedExchange& exchange = exchanges_.back();
        if (end != TransferEnd::Completed && !exchange.truncated) {
            exchange.truncated = TruncationReason(end, errorNumber);
        }
        EndExchange();
    });
}

void ExchangeRecorder::EndExchange() {
    TappedExchange& exchange = exchanges_.back();
    if (exchange.headWhole && block_ && payload_) {
        exchange.blockDigest = block_->Value();
        exchange.payloadDigest = payload_->Value();
    }
    line_.clear();
    inHead_ = interim_ = chunked_ = false;
    block_.reset();
    payload_.reset();
    dechunked_.reset();
}

}  // namespace fetchcore
