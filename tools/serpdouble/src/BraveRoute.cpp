#include <httplib.h>

#include <algorithm>
#include <charconv>
#include <optional>

#include "Answer.h"
#include "Routing.h"
#include "serpdouble/BraveAnswer.h"

namespace serpdouble {

namespace {

constexpr const char* kJson = "application/json";

// A parameter within [low, high], `fallback` when it is missing, nothing when it is unusable
// (which the API refuses).
std::optional<int> Param(const httplib::Request& req, const char* key, int fallback, int low,
                         int high) {
    if (!req.has_param(key)) return fallback;
    const auto text = req.get_param_value(key);
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || ptr != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

BraveAnswer AnswerFor(const Context& ctx, const std::string& query, int count, int offset) {
    const auto& options = ctx.options;
    const int first = offset * count + 1;
    BraveAnswer answer{query, {}, first, false};
    const int total = std::max(0, options.totalResults);
    const int last = std::min(total, first + count - 1);
    answer.moreResultsAvailable = last < total && offset < 9;
    if (options.emptyResultsPages.contains(offset + 1)) return answer;
    for (int i = first; i <= last; ++i) {
        answer.urls.push_back(
            LinkFor(ctx.base, i, options.links).value_or(HrefFor(ctx.base, i, options.links)));
    }
    return answer;
}

void SetRateHeaders(httplib::Response& res) {
    res.set_header("X-RateLimit-Limit", "1, 15000");
    res.set_header("X-RateLimit-Policy", "1;w=1, 15000;w=2592000");
    res.set_header("X-RateLimit-Remaining", "1, 14999");
    res.set_header("X-RateLimit-Reset", "1, 1419704");
}

// The key check: none, or another than the double's, is refused as the options say.
bool KeyRefused(const Context& ctx, const httplib::Request& req, Answer& answer) {
    const auto& options = ctx.options;
    if (req.get_header_value("X-Subscription-Token") == options.braveKey) return false;
    const int status = options.braveKeyRefusal;
    const std::string code = status == 422 ? "SUBSCRIPTION_TOKEN_INVALID" : "UNAUTHORIZED";
    answer.Body(status,
                RenderBraveError(status, code,
                                 "The provided subscription token is "
                                 "invalid."),
                kJson);
    return true;
}

}  // namespace

void ServeBrave(const Context& ctx, const httplib::Request& req, httplib::Response& res) {
    Answer answer(ctx, req, res, PathKind::Search);
    if (!answer.Wait(ctx.options.latency)) return;
    SetRateHeaders(res);
    if (KeyRefused(ctx, req, answer)) return;
    if (answer.RateLimited(
            RenderBraveError(429, "RATE_LIMITED", "Request rate limit exceeded for plan."),
            kJson)) {
        return;
    }
    const auto count = Param(req, "count", 20, 1, 20);
    const auto offset = Param(req, "offset", 0, 0, 9);
    const std::string query = req.get_param_value("q");
    if (!count || !offset || query.empty()) {
        return answer.Body(
            422, RenderBraveError(422, "VALIDATION", "Unable to validate request parameter(s)"),
            kJson);
    }
    auto body = RenderBraveAnswer(AnswerFor(ctx, query, *count, *offset));
    if (const Fault* fault = FindFault(ctx, req.path, ctx.options.resultsPageFaults, *offset + 1);
        fault && answer.Apply(*fault, body, kJson)) {
        return;
    }
    answer.Body(200, std::move(body), kJson);
}

}  // namespace serpdouble
