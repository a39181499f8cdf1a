#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Transfer.h"

namespace platform {

// Sees one transfer's exchanges as they pass on the wire, for a transfer that asks for it
// (TransferRequest::tap): every request as sent and every answer as it came, before libcurl
// de-chunks and decodes it. Called on the transfer loop's thread, in order, and must not
// throw. A proxy's answer to CONNECT is not shown.
class ExchangeTap {
  public:
    virtual ~ExchangeTap() = default;

    // A request went out: its head as sent (request line, header lines, blank line), the
    // address it asks for and the peer's address. Each redirect the transfer follows, and
    // each request libcurl sends again on a fresh connection, comes as another call; what
    // came before it belongs to the previous request.
    virtual void RequestSent(std::string_view url, std::string_view head, std::string_view ip) = 0;
    // Part of the answer's head as it came, usually one whole line with its line end; the
    // heads of interim (1xx) answers come too. HTTP/2 heads come as libcurl writes them:
    // "HTTP/2 200 " and lower-case names.
    virtual void HeadBytes(std::string_view bytes) = 0;
    // Bytes of the answer's body as they came: chunked and compressed as they were sent.
    virtual void BodyBytes(std::string_view bytes) = 0;
    // The transfer has ended; `errorNumber` is the result's (httperr) when it failed.
    virtual void Ended(TransferEnd end, int32_t errorNumber) = 0;
};

}  // namespace platform
