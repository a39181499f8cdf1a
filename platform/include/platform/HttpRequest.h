#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/HttpSession.h"
#include "platform/ResponseBody.h"
#include "tessel/Error.h"

namespace platform {

// Error numbers of the request object (the user range 0x80040300-0x800403FF).
namespace httperr {
// The transfer failed (connection refused, a refused protocol on a redirect, too many
// redirects, TLS failure, ...); the description is libcurl's error text.
inline constexpr int32_t kTransferFailed = tessel::UserError(0x3E0);
// The response body passed the size limit and the transfer was aborted.
inline constexpr int32_t kBodyTooLarge = tessel::UserError(0x3E1);
// A member was called in a state that does not allow it (status before the headers,
// send before open, setRequestHeader after send, ...).
inline constexpr int32_t kInvalidState = tessel::UserError(0x3E2);
// open with a method other than GET or a URL that is not http or https; a header name or
// value that would break the request.
inline constexpr int32_t kInvalidArgument = tessel::UserError(0x3E3);
// libcurl could not be initialised.
inline constexpr int32_t kUnavailable = tessel::UserError(0x3E4);
}  // namespace httperr

// Whether libcurl initialised (once per process); the start-up check asks this.
bool HttpAvailable();

// An asynchronous HTTP request in the manner of the XMLHTTP object, driven by libcurl's
// multi interface. Every call to readyState() advances the transfer without blocking;
// waitForActivity() sleeps until there is something to advance. One object, one request at
// a time; owned and used by one thread. Requests on one session share its connections.
// Redirects are followed (at most 10, http and https only) and the states describe the
// final response.
//
// readyState: 0 not opened (or aborted), 1 opened or sent with nothing of the final
// response received, 2 its header block complete, 3 part of its body received, 4 complete
// (also after a transport failure: Failed() is then true and status() throws).
class HttpRequest {
  public:
    // Without a session the request's connection closes as soon as its outcome is known.
    // Throws httperr::kUnavailable when libcurl is unusable.
    explicit HttpRequest(std::shared_ptr<HttpSession> session = nullptr);
    ~HttpRequest();
    HttpRequest(const HttpRequest&) = delete;
    HttpRequest& operator=(const HttpRequest&) = delete;

    // Only GET over http and https; throws tessel::ComError (kInvalidArgument) for anything
    // else. Blanks in the URL are sent as %20. Opening again drops the previous request.
    // With async false, send() blocks until the transfer is complete.
    void open(const std::string& method, const std::string& url, bool async = true);
    // Between open and send; names and values with CR, LF or NUL (or a name with a colon
    // or blank) are refused with kInvalidArgument.
    void setRequestHeader(const std::string& name, const std::string& value);
    // Between open and send: the body limit of this request (0 or less: the process-wide
    // one); a longer body fails the transfer with kBodyTooLarge.
    void setMaxBodyBytes(int64_t bytes);
    // Between open and send: a body past ResponseBody::kSpoolThreshold waits in an unnamed
    // file on `folder`'s file system (else the temporary folder's) instead of in memory, and
    // the default body limit becomes kMaxSpooledBodyBytes. A body that cannot be stored
    // fails the transfer with tessel::err::kFileError and the system's description.
    void setSpoolFolder(const std::string& folder);
    void send();  // returns at once
    int readyState();
    // Sleeps until the transfer has work, `wakeDescriptor` (when not -1) is readable, or
    // `milliseconds` have passed; returns at once when there is nothing left to wait for.
    void waitForActivity(int milliseconds, int wakeDescriptor = -1);
    void abort();  // back to state 0
    // From state 2. Throws kInvalidState before, and the transfer's own error (ErrorNumber,
    // ErrorDescription) when it failed.
    int status() const;
    std::string statusText() const;  // the reason phrase, or the standard one
    // The bytes as received (decoded if compressed), while the body is in memory.
    const std::string& responseBody() const;
    // Hands the whole body over, in memory or spooled; the request keeps none of it.
    ResponseBody takeResponseBody();

    // Set when the transfer failed (connection refused, refused redirect, oversize body,
    // ...): the number and a description; readyState is then 4 and the body empty.
    bool Failed() const;
    int32_t ErrorNumber() const;
    const std::string& ErrorDescription() const;

    // The default body limits: memory bounds the one, the file size the other.
    static constexpr int64_t kMaxBodyBytes = 256LL * 1024 * 1024;
    static constexpr int64_t kMaxSpooledBodyBytes = 4LL * 1024 * 1024 * 1024;
    // Sets the default body limit of every request sent afterwards in this process, spooled
    // or not; 0 (or a negative value) restores the two defaults.
    static void SetMaxBodyBytesForTesting(int64_t bytes);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
