#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ResponseBody.h"
#include "platform/Transfer.h"

namespace platform {

// Follows the header blocks and body of one transfer, as libcurl hands them over, and
// keeps what belongs to the final response: interim (1xx) responses and redirects that
// libcurl goes on to follow are passed over, though every answer's head is kept.
class ResponseTracker {
  public:
    // With a spool folder, a large body waits on disk (see ResponseBody); `hashBody` keeps
    // its SHA-256.
    ResponseTracker(int64_t maxBodyBytes, const std::optional<std::string>& spoolFolder,
                    bool hashBody = false)
        : maxBodyBytes_(maxBodyBytes),
          body_(spoolFolder ? ResponseBody(*spoolFolder) : ResponseBody()) {
        if (hashBody) body_.DigestSha256();
    }

    void OnHeaderLine(std::string_view line);
    // False (and nothing kept) when the body would pass the limit or could not be stored.
    bool OnBody(const char* data, std::size_t size);
    // Once the transfer succeeded, the last response is the final one whatever it was.
    void OnCompleted();
    void Discard();  // frees the body after a failure
    // The answer announced a body of this many bytes (as sent: it may be compressed).
    void ExpectBody(int64_t bytes) { body_.Reserve(std::min(bytes, maxBodyBytes_)); }

    // True once, right after the header line that ended an answer's head.
    bool HeadJustEnded() { return std::exchange(headJustEnded_, false); }
    bool HeadersComplete() const { return final_; }
    bool BodyStarted() const { return final_ && body_.Size() > 0; }
    // 1 nothing of the final answer yet, 2 its head, 3 part of its body.
    int ReadyState() const { return BodyStarted() ? 3 : HeadersComplete() ? 2 : 1; }
    bool BodyTooLarge() const { return tooLarge_; }
    int Status() const { return status_; }
    const std::string& Reason() const { return reason_; }
    // Why the body could not be stored (the system's description); empty when it was.
    const std::string& StoreFailure() const { return body_.Failure(); }
    const ResponseBody& Body() const { return body_; }
    ResponseBody TakeBody() { return std::exchange(body_, ResponseBody()); }
    int64_t MaxBodyBytes() const { return maxBodyBytes_; }
    // The heads of the answers so far; the last one may still be arriving.
    std::vector<ResponseHead>& Heads() { return heads_; }
    std::chrono::system_clock::time_point LastHeadAt() const { return lastHeadAt_; }

  private:
    void StartResponse(std::string_view statusLine);
    void EndHeaderBlock();

    const int64_t maxBodyBytes_;
    int status_ = 0;
    std::string reason_;
    ResponseBody body_;
    std::vector<ResponseHead> heads_;
    std::chrono::system_clock::time_point lastHeadAt_;
    bool hasLocation_ = false;
    bool inHeaders_ = false;
    bool final_ = false;
    bool tooLarge_ = false;
    bool headJustEnded_ = false;
};

}  // namespace platform
