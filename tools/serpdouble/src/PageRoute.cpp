#include <httplib.h>

#include <charconv>

#include "Answer.h"
#include "Routing.h"
#include "serpdouble/PageContent.h"

namespace serpdouble {

namespace {

std::string ContentTypeFor(const std::string& suffix) {
    if (suffix.ends_with(".pdf")) return "application/pdf";
    if (suffix.ends_with(".PS") || suffix.ends_with(".ps")) return "application/postscript";
    return "text/html";
}

// 0 when the digits do not make a number the double can serve.
int ResultNumber(const std::string& digits) {
    int result = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
    return ec == std::errc{} && result > 0 ? result : 0;
}

}  // namespace

std::size_t PageSizeOf(const SerpDouble::Options& options, int result) {
    const auto found = options.pageSizes.find(result);
    return found == options.pageSizes.end() ? options.pageSize : found->second;
}

void ServePage(const Context& ctx, const httplib::Request& req, httplib::Response& res) {
    Answer answer(ctx, req, res, PathKind::Page);
    if (!answer.Wait(ctx.options.latency)) return;
    const int result = ResultNumber(req.matches[1]);
    const auto type = ContentTypeFor(req.matches[2]);
    auto body = result > 0 ? PageBody(result, PageSizeOf(ctx.options, result), ctx.options.content)
                           : std::string();
    if (const Fault* fault = FindFault(ctx, req.path, ctx.options.resultFaults, result);
        fault && answer.Apply(*fault, body, type)) {
        return;
    }
    if (result < 1) return answer.Body(404, "Not Found", "text/plain");
    if (ctx.options.chunkedPages) return answer.Chunked(std::move(body), type);
    answer.Ranged(std::move(body), type, ctx.options.honourRange);
}

}  // namespace serpdouble
