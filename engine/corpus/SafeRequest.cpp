#include "corpus/SafeRequest.h"

#include <array>

#include "corpus/WarcRecord.h"
#include "tessel/Text.h"

namespace fetchcore {
namespace {

// What stands in a WARC file for the value of a header that carries a credential.
constexpr std::string_view kWithheld = "(withheld)";
constexpr std::array<std::string_view, 3> kCredentialHeaders = {
    "authorization", "proxy-authorization", "x-subscription-token"};

bool CarriesCredential(std::string_view line) {
    const auto name = HeaderName(line);
    for (const auto secret : kCredentialHeaders) {
        if (tessel::EqualsNoCase(name, secret)) return true;
    }
    return false;
}

bool IsHttpAddress(std::string_view text) {
    return tessel::StartsWithNoCase(text, "http://") || tessel::StartsWithNoCase(text, "https://");
}

// "GET http://user:pw@host/ HTTP/2" as "GET http://host/ HTTP/1.1": no credential of an
// absolute address, and HTTP/2's version as HTTP/1.1's, as the rest of the head reads.
std::string SafeRequestLine(std::string_view line, bool& http2) {
    const auto first = line.find(' ');
    const auto last = line.rfind(' ');
    if (first == std::string_view::npos || last <= first) return std::string(line);
    const auto target = line.substr(first + 1, last - first - 1);
    auto version = line.substr(last);  // " HTTP/1.1\r\n"
    if (version == " HTTP/2\r\n") {
        http2 = true;
        version = " HTTP/1.1\r\n";
    }
    std::string safe(line.substr(0, first + 1));
    safe += IsHttpAddress(target) ? WithoutUserInfo(target) : std::string(target);
    return safe.append(version);
}

// A header line with a credential's value withheld, and an address's user and password
// dropped (the "GET" header repeats the address).
std::string SafeHeaderLine(std::string_view line) {
    const auto name = HeaderName(line);
    if (CarriesCredential(line)) return std::string(name) + ": " + std::string(kWithheld) + "\r\n";
    if (name.empty()) return std::string(line);
    const auto value = tessel::TrimBlanks(line.substr(name.size() + 1), " \t\r\n");
    if (!IsHttpAddress(value)) return std::string(line);
    return std::string(name) + ": " + WithoutUserInfo(value) + "\r\n";
}

}  // namespace

std::string_view HeaderName(std::string_view line) {
    const auto colon = line.find(':');
    return colon == std::string_view::npos ? std::string_view() : line.substr(0, colon);
}

std::string SafeRequestHead(std::string_view head, bool& http2) {
    std::string safe;
    safe.reserve(head.size());
    bool first = true;
    while (!head.empty()) {
        const auto end = head.find('\n');
        auto line = head.substr(0, end == std::string_view::npos ? head.size() : end + 1);
        head.remove_prefix(line.size());
        safe += first ? SafeRequestLine(line, http2) : SafeHeaderLine(line);
        first = false;
    }
    return safe;
}

}  // namespace fetchcore
