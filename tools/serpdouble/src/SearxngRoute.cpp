#include <httplib.h>

#include <algorithm>
#include <charconv>

#include "Answer.h"
#include "Routing.h"
#include "serpdouble/SearxngAnswer.h"

namespace serpdouble {

namespace {

// A page number as an instance reads it: anything unusable is page 1.
int PageNumber(const httplib::Request& req) {
    const auto text = req.get_param_value("pageno");
    int value = 1;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || ptr != text.data() + text.size()) return 1;
    return std::clamp(value, 1, 1'000'000);
}

SearxngAnswer AnswerFor(const Context& ctx, const std::string& query, int pageNumber) {
    const auto& options = ctx.options;
    SearxngAnswer answer{query, {}, 1, options.unresponsiveEngines};
    const int size = std::max(1, options.searxngPageSize);
    const int first = (pageNumber - 1) * size + 1;
    answer.firstPosition = first;
    if (options.emptyResultsPages.contains(pageNumber)) return answer;
    const int last = std::min(options.totalResults, first + size - 1);
    for (int i = first; i <= last; ++i) {
        // An entry the reader must pass over still carries its (relative) address.
        answer.urls.push_back(
            LinkFor(ctx.base, i, options.links).value_or(HrefFor(ctx.base, i, options.links)));
    }
    return answer;
}

}  // namespace

void ServeSearxng(const Context& ctx, const httplib::Request& req, httplib::Response& res) {
    Answer answer(ctx, req, res, PathKind::Search);
    if (!answer.Wait(ctx.options.latency)) return;
    // An instance without json in its search.formats refuses the request.
    if (req.get_param_value("format") != "json") {
        return answer.Body(403, "Forbidden", "text/plain");
    }
    if (answer.RateLimited("Too Many Requests", "text/plain")) return;
    const int pageNumber = PageNumber(req);
    auto body = RenderSearxngAnswer(AnswerFor(ctx, req.get_param_value("q"), pageNumber));
    const std::string type = "application/json";
    if (const Fault* fault = FindFault(ctx, req.path, ctx.options.resultsPageFaults, pageNumber);
        fault && answer.Apply(*fault, body, type)) {
        return;
    }
    answer.Body(200, std::move(body), type);
}

}  // namespace serpdouble
