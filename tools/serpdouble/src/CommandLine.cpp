#include "serpdouble/CommandLine.h"

#include <charconv>
#include <functional>
#include <limits>
#include <map>
#include <stdexcept>

namespace serpdouble {

namespace {

using Options = SerpDouble::Options;

long long Number(const std::string& text, long long low, long long high, const std::string& flag) {
    long long value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size() || value < low ||
        value > high) {
        throw std::invalid_argument(flag + ": '" + text + "' is not a number from " +
                                    std::to_string(low) + " to " + std::to_string(high));
    }
    return value;
}

int Int(const std::string& text, const std::string& flag, int low = 0) {
    return static_cast<int>(Number(text, low, std::numeric_limits<int>::max(), flag));
}

// "N:VALUE", split at the first colon, so VALUE may hold colons of its own.
std::pair<int, std::string> Pair(const std::string& text, const std::string& flag) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) {
        throw std::invalid_argument(flag + ": '" + text + "' is not NUMBER:VALUE");
    }
    return {Int(text.substr(0, colon), flag, 1), text.substr(colon + 1)};
}

template <typename T>
T Named(std::optional<T> value, const std::string& text, const std::string& flag) {
    if (!value) throw std::invalid_argument(flag + ": unknown value '" + text + "'");
    return *value;
}

using Setter = std::function<void(Options&, const std::string& value, const std::string& flag)>;

const std::map<std::string, Setter>& OptionFlags() {
    static const std::map<std::string, Setter> kFlags = {
        {"--port",
         [](Options& o, const std::string& v, const std::string& f) {
             o.port = static_cast<std::uint16_t>(Number(v, 0, 65535, f));
         }},
        {"--results", [](Options& o, const std::string& v,
                         const std::string& f) { o.totalResults = Int(v, f); }},
        {"--page-size",
         [](Options& o, const std::string& v, const std::string& f) {
             o.pageSize = static_cast<std::size_t>(Number(v, 0, 1LL << 32, f));
         }},
        {"--latency",
         [](Options& o, const std::string& v, const std::string& f) {
             o.latency = std::chrono::milliseconds(Int(v, f));
         }},
        {"--threads",
         [](Options& o, const std::string& v, const std::string& f) { o.threads = Int(v, f, 1); }},
        {"--content",
         [](Options& o, const std::string& v, const std::string& f) {
             o.content = Named(PageContentFromName(v), v, f);
         }},
    };
    return kFlags;
}

const std::map<std::string, Setter>& FaultFlags() {
    static const std::map<std::string, Setter> kFlags = {
        {"--link",
         [](Options& o, const std::string& v, const std::string& f) {
             const auto [n, kind] = Pair(v, f);
             o.links[n] = Named(LinkKindFromName(kind), kind, f);
         }},
        {"--fail-result",
         [](Options& o, const std::string& v, const std::string& f) {
             const auto [n, status] = Pair(v, f);
             o.resultFaults[n] = Fault::WithStatus(static_cast<int>(Number(status, 100, 599, f)));
         }},
        {"--redirect-result",
         [](Options& o, const std::string& v, const std::string& f) {
             const auto [n, location] = Pair(v, f);
             o.resultFaults[n] = Fault::RedirectTo(location);
         }},
        {"--delay-result",
         [](Options& o, const std::string& v, const std::string& f) {
             const auto [n, ms] = Pair(v, f);
             o.resultFaults[n] = Fault::DelayBy(std::chrono::milliseconds(Int(ms, f)));
         }},
        {"--stall-result",
         [](Options& o, const std::string& v, const std::string& f) {
             o.resultFaults[Int(v, f, 1)] = Fault::StallForever();
         }},
        {"--partial-result",
         [](Options& o, const std::string& v, const std::string& f) {
             const auto [n, bytes] = Pair(v, f);
             o.resultFaults[n] =
                 Fault::PartialThenStallAfter(static_cast<std::size_t>(Int(bytes, f)));
         }},
        {"--fail-results-page",
         [](Options& o, const std::string& v, const std::string& f) {
             const auto [k, status] = Pair(v, f);
             o.resultsPageFaults[k] =
                 Fault::WithStatus(static_cast<int>(Number(status, 100, 599, f)));
         }},
        {"--rate-limit",
         [](Options& o, const std::string& v, const std::string& f) {
             const auto [times, retryAfter] = Pair(v, f);
             o.rateLimit = {times, 429, retryAfter, {}};
         }},
        {"--brave-key",
         [](Options& o, const std::string& v, const std::string&) { o.braveKey = v; }},
        {"--searxng-page-size", [](Options& o, const std::string& v,
                                   const std::string& f) { o.searxngPageSize = Int(v, f, 1); }},
        {"--unresponsive",
         [](Options& o, const std::string& v, const std::string& f) {
             const auto colon = v.find(':');
             if (colon == 0 || colon == std::string::npos)
                 throw std::invalid_argument(f + ": '" + v + "' is not ENGINE:REASON");
             o.unresponsiveEngines.emplace_back(v.substr(0, colon), v.substr(colon + 1));
         }},
        {"--empty-results-page",
         [](Options& o, const std::string& v, const std::string& f) {
             o.emptyResultsPages.insert(Int(v, f, 1));
         }},
    };
    return kFlags;
}

const Setter* FindSetter(const std::string& flag) {
    for (const auto* flags : {&OptionFlags(), &FaultFlags()}) {
        if (const auto found = flags->find(flag); found != flags->end()) return &found->second;
    }
    return nullptr;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const auto& flag = args[k];
        if (flag == "--help" || flag == "-h") {
            line.help = true;
        } else if (flag == "--omitted") {
            line.options.omittedNotice = true;
        } else if (flag == "--no-range") {
            line.options.honourRange = false;
        } else if (flag == "--keep-alive") {
            line.options.keepAlive = true;
        } else if (flag == "--chunked") {
            line.options.chunkedPages = true;
        } else if (const Setter* setter = FindSetter(flag)) {
            if (k + 1 == args.size()) throw std::invalid_argument(flag + ": value missing");
            (*setter)(line.options, args[++k], flag);
        } else {
            throw std::invalid_argument("unknown argument '" + flag + "'");
        }
    }
    return line;
}

std::string Usage() {
    return R"(Usage: kestrova-serpdouble [OPTION]...
Serves search results pages (the 2010 layout at /google/search, SearXNG's JSON API at
/search, the Brave Search API at /res/v1/web/search) and result pages on 127.0.0.1 until
Ctrl-C or SIGTERM.

  --port N                   port to listen on (default: any free port)
  --results N                total number of results for every query (default 50)
  --page-size BYTES          size of every result page (default 4096)
  --content text|high|binary bytes of the result pages (default text)
  --latency MS               wait before every answer (default 0)
  --omitted                  show the omitted-entries notice on the last results page
  --no-range                 ignore "Range" and always send whole pages
  --keep-alive               answer many requests on one connection
  --chunked                  send result pages chunked (and compressed when the client
                             accepts it), as most servers send HTML
  --link N:KIND              link kind of result N: plain, pdf, ps, https, repeat,
                             entities, upper, relative
  --fail-result N:STATUS     answer result page N with STATUS
  --redirect-result N:PATH   redirect result page N (302) to PATH
  --delay-result N:MS        answer result page N after MS milliseconds
  --stall-result N           never answer result page N
  --partial-result N:BYTES   send BYTES of result page N, then stall
  --fail-results-page K:STATUS  answer results page K with STATUS (also SearXNG's
                             pageno K, for example 403 or 429)
  --rate-limit N:RETRY_AFTER  refuse the first N requests for each results page with 429
                             and this Retry-After (seconds or an HTTP date)
  --empty-results-page K     serve results page K without links
  --brave-key KEY            the key the Brave Search API route takes (default double-key)
  --searxng-page-size N      results in one SearXNG answer (default 10)
  --unresponsive ENGINE:REASON  name ENGINE as not answering in every SearXNG answer
  --threads N                connections served at once (default 16)
  --help                     show this text
)";
}

}  // namespace serpdouble
