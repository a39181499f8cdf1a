#pragma once

#include <string>
#include <string_view>

namespace fetchcore {

// The name of a header line ("Name: value"), or nothing when it has no colon.
std::string_view HeaderName(std::string_view line);

// A request head as a WARC file keeps it: the values of Authorization, Proxy-Authorization
// and X-Subscription-Token withheld, the user and password of every address dropped (in the
// request line and in headers such as "GET"), and an HTTP/2 request line in HTTP/1.1 syntax
// (`http2` is then set).
std::string SafeRequestHead(std::string_view head, bool& http2);

}  // namespace fetchcore
