#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/ChunkedBody.h"
#include "platform/ExchangeTap.h"
#include "platform/ResponseBody.h"
#include "tessel/Digest.h"

namespace fetchcore {

// One request and its answer as they passed, ready to be written as WARC records.
struct TappedExchange {
    std::string url;  // the address asked for, without credentials
    std::string ip;
    std::chrono::system_clock::time_point sentAt;
    std::string request;  // the head as sent, credentials withheld
    bool http2 = false;   // both written in HTTP/1.1 message syntax
    // The final answer's head as it came (an HTTP/2 status line as HTTP/1.1's); whole once
    // its blank line came. Interim answers are left out.
    std::string head;
    bool headWhole = false;
    platform::ResponseBody body;  // as it came: chunked and compressed as sent
    // How the answer was cut off (a WARC-Truncated reason); none when it came whole.
    std::optional<std::string> truncated;
    std::string blockDigest;    // SHA-1 of head and body, once the exchange is over
    std::string payloadDigest;  // SHA-1 of the body without its chunked framing
};

// A transfer's tap that keeps every exchange it is shown, its bodies spooled beside the
// WARC file, and digests them as the bytes come. Fed on the transfer loop's thread; read
// once the transfer's result has been handed on. Never throws into the transfer: a failure
// is kept (Failure) and the rest passed over.
class ExchangeRecorder final : public platform::ExchangeTap {
  public:
    explicit ExchangeRecorder(std::string spoolFolder) : spoolFolder_(std::move(spoolFolder)) {}

    void RequestSent(std::string_view url, std::string_view head, std::string_view ip) override;
    void HeadBytes(std::string_view bytes) override;
    void BodyBytes(std::string_view bytes) override;
    void Ended(platform::TransferEnd end, int32_t errorNumber) override;

    const std::vector<TappedExchange>& Exchanges() const { return exchanges_; }
    // Why an exchange could not be kept whole (the system's description); empty when all were.
    const std::string& Failure() const { return failure_; }

  private:
    template <class Step>
    void Guarded(Step&& step);
    void HeadLine(std::string_view line);
    void StartHead(std::string_view statusLine);
    void EndHead();
    void EndExchange();

    std::string spoolFolder_;
    std::vector<TappedExchange> exchanges_;
    std::string failure_;
    // The exchange under way.
    std::string line_;  // a head line not yet whole
    bool inHead_ = false;
    bool interim_ = false;
    bool chunked_ = false;
    std::optional<tessel::Digest> block_;
    std::optional<tessel::Digest> payload_;
    std::optional<ChunkedBody> dechunked_;
};

}  // namespace fetchcore
