#include <httplib.h>

#include <algorithm>
#include <charconv>

#include "Answer.h"
#include "Routing.h"
#include "serpdouble/ResultsPage.h"

namespace serpdouble {

namespace {

// The search engine's paging keys, read the way it reads them: bad values fall back.
struct Query {
    std::string keyword;
    int start = 0;
    int num = 10;
};

int IntParam(const httplib::Request& req, const char* key, int fallback) {
    if (!req.has_param(key)) return fallback;
    const auto text = req.get_param_value(key);
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && ptr == text.data() + text.size() ? value : fallback;
}

// Far beyond any result count, and small enough to keep page arithmetic in range.
constexpr int kMaxStart = 1'000'000'000;

Query ReadQuery(const httplib::Request& req) {
    Query query;
    query.keyword = req.get_param_value("q");
    query.start = std::clamp(IntParam(req, "start", 0), 0, kMaxStart);
    // The engine never lists more than 100 results on one page.
    query.num = std::clamp(IntParam(req, "num", 10), 1, 100);
    return query;
}

ResultsPage PageFor(const Context& ctx, const Query& query, int pageNumber) {
    const auto& options = ctx.options;
    const int total = std::max(0, options.totalResults);
    ResultsPage page{query.keyword, "/google/search", query.start, query.num, total, {}, false,
                     false};
    page.moreResults = query.start + query.num < total;
    page.omittedNotice = !page.moreResults && options.omittedNotice;
    if (options.emptyResultsPages.contains(pageNumber)) return page;
    const int last = std::min(total - query.start, query.num) + query.start;
    for (int i = query.start + 1; i <= last; ++i) {
        page.hrefs.push_back(HrefFor(ctx.base, i, options.links));
    }
    return page;
}

}  // namespace

void ServeSearch(const Context& ctx, const httplib::Request& req, httplib::Response& res) {
    Answer answer(ctx, req, res, PathKind::Search);
    if (!answer.Wait(ctx.options.latency)) return;
    if (answer.RateLimited("Too Many Requests", "text/plain")) return;
    const auto query = ReadQuery(req);
    const int pageNumber = query.start / query.num + 1;
    auto html = RenderResultsPage(PageFor(ctx, query, pageNumber));
    const std::string type = "text/html; charset=UTF-8";
    if (const Fault* fault = FindFault(ctx, req.path, ctx.options.resultsPageFaults, pageNumber);
        fault && answer.Apply(*fault, html, type)) {
        return;
    }
    answer.Body(200, std::move(html), type);
}

}  // namespace serpdouble
