#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ResponseBody.h"
#include "tessel/Error.h"

namespace platform {

class ExchangeTap;

// Error numbers of a transfer (the user range 0x80040300-0x800403FF).
namespace httperr {
// The transfer failed (connection refused, a refused protocol on a redirect, too many
// redirects, TLS failure, ...); the description is libcurl's error text.
inline constexpr int32_t kTransferFailed = tessel::UserError(0x3E0);
// The response body passed the size limit and the transfer was aborted.
inline constexpr int32_t kBodyTooLarge = tessel::UserError(0x3E1);
// The request's address is no http or https URL, or a header would break the request.
inline constexpr int32_t kInvalidArgument = tessel::UserError(0x3E3);
// libcurl could not be initialised or could not make a handle.
inline constexpr int32_t kUnavailable = tessel::UserError(0x3E4);
// A compressed body grew past any real page's ratio: a decompression bomb.
inline constexpr int32_t kBodyInflates = tessel::UserError(0x3E5);
}  // namespace httperr

// Whether libcurl initialised (once per process); the start-up check asks this.
bool HttpAvailable();

// One answer a transfer received: a redirect it followed, or the final response.
struct ResponseHead {
    std::string statusLine;                // as sent: "HTTP/1.1 200 OK", "HTTP/2 200"
    int status = 0;                        // 0 when the line carries no number
    std::vector<std::string> headerLines;  // "Name: value" as sent, without the line ends
    std::string ip;                        // the address of the peer that answered

    // The value of the first header of that name (case-blind), without its padding.
    std::optional<std::string_view> Header(std::string_view name) const;
};

// A GET over http or https. Redirects are followed (at most 10, http and https only) unless
// the request says otherwise, and compressed bodies decoded. Every member has a default, so a
// request names only what it sets:
// {.url = address, .timeout = 5s}.
struct TransferRequest {
    // Default body limits: memory bounds the one, the file size the other.
    static constexpr int64_t kMaxBodyBytes = 256LL * 1024 * 1024;
    static constexpr int64_t kMaxSpooledBodyBytes = 4LL * 1024 * 1024 * 1024;

    std::string url{};                       // blanks are sent as %20
    std::vector<std::string> headerLines{};  // "Name: value"; "Name;" sends an empty value
    int64_t maxBodyBytes = 0;                // 0: the default of the body's kind
    // A body past ResponseBody::kSpoolThreshold waits in an unnamed file on this folder's file
    // system instead of in memory.
    std::optional<std::string> spoolFolder{};
    // Counted from when the transfer takes its slot, not from when it was submitted.
    std::chrono::milliseconds timeout{60'000};
    // How long it waits in the queue before it may take a slot (a server asked for the
    // pause); others pass it meanwhile, and a cancel ends the wait.
    std::chrono::milliseconds delay{0};
    // A manual-reset event that cancels the transfer, queued or running; "" for none.
    std::string cancelEventName{};
    // Off, a redirect is the answer itself: the request's headers (a key among them) reach
    // no address but its own.
    bool followRedirects = true;
    // The decoded body's SHA-256 is computed as it arrives (ResponseBody::Sha256).
    bool hashBody = false;
    // Shown the transfer's exchanges as they pass (see ExchangeTap); without one, libcurl
    // writes no trace and nothing is spent on it.
    std::shared_ptr<ExchangeTap> tap{};
};

enum class TransferEnd {
    Completed,  // an answer came whole, whatever its status
    Failed,     // errorNumber and errorDescription say why
    TimedOut,   // readyState says how far the answer came
    Cancelled,  // by the request's cancel event, or because the loop ended
};

struct TransferResult {
    TransferEnd end = TransferEnd::Cancelled;
    // How far the final answer came: 1 nothing yet, 2 its headers, 3 part of its body, 4 all.
    int readyState = 1;
    int32_t errorNumber = 0;
    std::string errorDescription;
    int status = 0;      // of the last answer; 0 when none came
    std::string reason;  // its reason phrase as sent (none in HTTP/2)
    ResponseBody body;   // decoded; only when Completed
    std::string finalUrl;
    std::string contentType;
    std::vector<ResponseHead> hops;  // every answer in order, interim (1xx) ones left out
    std::chrono::system_clock::time_point receivedAt;  // when the last answer's head came

    // The reason phrase as sent, or the standard one for the status.
    std::string StatusText() const;
};

using TransferDone = std::function<void(TransferResult)>;

// Where transfers are sent. The transfer loop is the real one; tests may give an owner
// another.
class TransferQueue {
  public:
    virtual ~TransferQueue() = default;
    // Queues the request and returns at once. `done` runs exactly once, on the queue's own
    // thread, so it must be quick (post the result on, do not work on it). A request that
    // cannot be sent ends Failed; throws only when the queue itself cannot take it.
    virtual void Submit(TransferRequest request, TransferDone done) = 0;
};

}  // namespace platform
