#pragma once

#include <httplib.h>

#include <regex>
#include <string>
#include <vector>

#include "serpdouble/SerpDouble.h"

namespace serpdouble::test {

struct Reply {
    httplib::Error error = httplib::Error::Unknown;
    int status = 0;
    std::string body;
    httplib::Headers headers;

    std::string Header(const std::string& name) const {
        const auto found = headers.find(name);
        return found == headers.end() ? std::string() : found->second;
    }
};

inline Reply Fetch(const SerpDouble& server, const std::string& target,
                   const httplib::Headers& headers = {}) {
    httplib::Client client("127.0.0.1", server.Port());
    client.set_read_timeout(30, 0);
    client.set_url_encode(false);  // the targets are encoded already
    auto result = client.Get(target.c_str(), headers);
    Reply reply;
    reply.error = result.error();
    if (result) {
        reply.status = result->status;
        reply.body = result->body;
        reply.headers = result->headers;
    }
    return reply;
}

// httplib's client builds its tables on first use, behind guards ThreadSanitizer cannot see
// in the uninstrumented library. One request from the test's own thread, before it starts
// client threads, orders those threads after it.
inline void PrimeClient(const SerpDouble& server) {
    Fetch(server, "/prime");
}

// Path and query of the double's search address for `keyword`, plus `extra`.
inline std::string SearchTarget(const SerpDouble& server, const std::string& keyword,
                                const std::string& extra = "") {
    return server.SearchURL(keyword).substr(server.BaseURL().size()) + extra;
}

// The links of the entries of a results page, in page order.
inline std::vector<std::string> EntryLinks(const std::string& page) {
    static const std::regex kEntry(R"re(<h3 class=r><a href="([^"]*)")re");
    std::vector<std::string> links;
    for (std::sregex_iterator it(page.begin(), page.end(), kEntry), end; it != end; ++it) {
        links.push_back((*it)[1]);
    }
    return links;
}

inline bool HasNavigationBar(const std::string& page) {
    return page.find("<div id=navcnt>") != std::string::npos;
}

inline bool HasOmittedNotice(const std::string& page) {
    return page.find(
               "In order to show you the most relevant results, we have omitted some "
               "entries very similar to the") != std::string::npos;
}

}  // namespace serpdouble::test
