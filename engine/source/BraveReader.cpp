#include "source/BraveReader.h"

#include "source/JsonAnswer.h"
#include "source/SourceErrors.h"

namespace fetchcore {
namespace {

using jsonanswer::IsHttpAddress;
using jsonanswer::StringOf;
using simdjson::dom::array;
using simdjson::dom::element;
using simdjson::dom::object;

// One parser per thread: it keeps its buffers from answer to answer.
simdjson::dom::parser& Parser() {
    thread_local simdjson::dom::parser parser;
    return parser;
}

std::optional<object> ObjectOf(std::string_view text) {
    object answer;
    if (Parser().parse(text.data(), text.size()).get_object().get(answer)) return std::nullopt;
    return answer;
}

}  // namespace

BravePage ReadBravePage(std::string_view text) {
    const auto answer = ObjectOf(text);
    if (!answer || StringOf(*answer, "type") != "search")
        jsonanswer::NotAnAnswer(srcerr::kNotBraveJson);
    BravePage page;
    bool more = true;
    if (!(*answer)["query"]["more_results_available"].get_bool().get(more)) page.moreResults = more;
    array results;
    if ((*answer)["web"]["results"].get_array().get(results)) return page;
    for (element entry : results) {
        std::string_view url;
        if (entry["url"].get_string().get(url) || !IsHttpAddress(url)) continue;
        page.results.push_back(
            {std::string(url), StringOf(entry, "title"), StringOf(entry, "description")});
    }
    return page;
}

std::optional<BraveError> ReadBraveError(std::string_view text) {
    const auto answer = ObjectOf(text);
    if (!answer || StringOf(*answer, "type") != "ErrorResponse") return std::nullopt;
    object error;
    if ((*answer)["error"].get_object().get(error)) return std::nullopt;
    return BraveError{StringOf(error, "code"), StringOf(error, "detail")};
}

}  // namespace fetchcore
