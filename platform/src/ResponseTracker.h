#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/ResponseBody.h"

namespace platform {

// Follows the header blocks and body of one transfer, as libcurl hands them over, and
// keeps what belongs to the final response: interim (1xx) responses and redirects that
// libcurl goes on to follow are passed over.
class ResponseTracker {
  public:
    // With a spool folder, a large body waits on disk (see ResponseBody).
    ResponseTracker(int64_t maxBodyBytes, const std::optional<std::string>& spoolFolder)
        : maxBodyBytes_(maxBodyBytes),
          body_(spoolFolder ? ResponseBody(*spoolFolder) : ResponseBody()) {}

    void OnHeaderLine(std::string_view line);
    // False (and nothing kept) when the body would pass the limit or could not be stored.
    bool OnBody(const char* data, std::size_t size);
    // Once the transfer succeeded, the last response is the final one whatever it was.
    void OnCompleted();
    void Discard();  // frees the body after a failure

    bool HeadersComplete() const { return final_; }
    bool BodyStarted() const { return final_ && body_.Size() > 0; }
    bool BodyTooLarge() const { return tooLarge_; }
    int Status() const { return status_; }
    const std::string& Reason() const { return reason_; }
    // Why the body could not be stored (the system's description); empty when it was.
    const std::string& StoreFailure() const { return body_.Failure(); }
    const ResponseBody& Body() const { return body_; }
    ResponseBody TakeBody() { return std::exchange(body_, ResponseBody()); }
    int64_t MaxBodyBytes() const { return maxBodyBytes_; }

  private:
    void StartResponse(std::string_view statusLine);
    void EndHeaderBlock();

    const int64_t maxBodyBytes_;
    int status_ = 0;
    std::string reason_;
    ResponseBody body_;
    bool hasLocation_ = false;
    bool inHeaders_ = false;
    bool final_ = false;
    bool tooLarge_ = false;
};

}  // namespace platform
