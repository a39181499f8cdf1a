#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "serpdouble/Fault.h"
#include "serpdouble/Links.h"
#include "serpdouble/PageContent.h"
#include "serpdouble/Stats.h"

namespace serpdouble {

// A stand-in for the search engine on 127.0.0.1. It serves results pages for any query at
// /google/search (keys "q", "start", "num"), SearXNG JSON answers at /search (keys "q",
// "pageno", "format=json"), the Brave Search API at /res/v1/web/search (keys "q", "count",
// "offset", the key in "X-Subscription-Token"), result pages at /page/<i>..., and shows configured
// faults. It serves on threads of its own; all members are thread-safe.
class SerpDouble {
  public:
    struct Options {
        std::uint16_t port = 0;  // 0 picks a free port
        int totalResults = 50;
        bool omittedNotice = false;  // the omitted-entries notice on the last results page
        std::size_t pageSize = 4096;
        std::map<int, std::size_t> pageSizes;  // per result number, overrides pageSize
        PageContent content = PageContent::Text;
        bool honourRange = true;  // answer "Range: bytes=A-B" with 206 and the slice
        // Result pages sent chunked, and compressed when their type allows and the client
        // accepts it, as most servers send HTML; else whole with their length.
        bool chunkedPages = false;
        std::chrono::milliseconds latency{0};     // before every answer
        LinkKinds links;                          // per result number; Plain when missing
        std::map<int, Fault> resultFaults;        // per result number, on its page
        std::map<std::string, Fault> pathFaults;  // per exact path, on any request
        std::map<int, Fault> resultsPageFaults;   // per results page number, from 1
        std::set<int> emptyResultsPages;          // results pages served without links
        int searxngPageSize = 10;                 // results of one SearXNG answer
        // Named as not answering in every SearXNG answer: engine name and reason.
        std::vector<std::pair<std::string, std::string>> unresponsiveEngines;
        // The Brave Search API's route takes this key and refuses any other (or none) with
        // this status: 401, 403, or 422 with the code SUBSCRIPTION_TOKEN_INVALID.
        std::string braveKey = "double-key";
        int braveKeyRefusal = 422;
        // The first `times` requests for each results page (the same address) are refused
        // with `status`, and with Retry-After and X-RateLimit-Reset where they are given.
        struct RateLimit {
            int times = 0;
            int status = 429;
            std::string retryAfter;
            std::string rateLimitReset;
        };
        RateLimit rateLimit;
        int threads = 16;  // connections served at once
        // Many requests per connection, as real servers answer; off, every answer closes
        // its connection (an idle connection holds one of the threads for up to a second).
        bool keepAlive = false;
    };

    SerpDouble();
    explicit SerpDouble(Options options);
    ~SerpDouble();
    SerpDouble(const SerpDouble&) = delete;
    SerpDouble& operator=(const SerpDouble&) = delete;

    // Binds 127.0.0.1 and starts serving; throws std::runtime_error when the port is taken.
    void Start();
    // Releases every stalled or delayed answer, closes the port and waits for the threads.
    void Stop();
    bool Running() const;

    std::uint16_t Port() const;   // 0 until started
    std::string BaseURL() const;  // "http://127.0.0.1:PORT"
    std::string SearchURL(const std::string& keyword) const;
    std::string SearxngURL(const std::string& keyword) const;  // BaseURL()/search?q=...&format=json
    std::string BraveURL(const std::string& keyword) const;    // BaseURL()/res/v1/web/search?q=...
    std::string PageURL(int result) const;                     // the Plain link of a result
    // The link a correct reader takes from the results page for this result, if any.
    std::optional<std::string> ResultLink(int result) const;
    std::string ExpectedBody(int result) const;  // the whole body of a result page
    const Options& Settings() const;

    Stats Snapshot() const;
    std::vector<RequestRecord> Requests() const;  // in arrival order, the latest 4096
    // Waits until `ready` holds for the counters; false when `timeout` passed first.
    bool WaitFor(const std::function<bool(const Stats&)>& ready,
                 std::chrono::milliseconds timeout) const;
    void ResetStats();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace serpdouble
