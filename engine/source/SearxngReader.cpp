#include "source/SearxngReader.h"

#include "source/JsonAnswer.h"
#include "source/SourceErrors.h"

namespace fetchcore {
namespace {

using jsonanswer::IsHttpAddress;
using jsonanswer::StringOf;
using simdjson::dom::array;
using simdjson::dom::element;

[[noreturn]] void NotSearxngJson() {
    jsonanswer::NotAnAnswer(srcerr::kNotSearxngJson);
}

std::string TextOf(element value) {
    std::string_view text;
    return value.get_string().get(text) ? simdjson::minify(value) : std::string(text);
}

// The string under `key`, or empty when there is none.
std::string StringOf(element entry, const char* key) {
    std::string_view text;
    return entry[key].get_string().get(text) ? std::string() : std::string(text);
}

void ReadResults(array results, SearxngPage& page) {
    for (element entry : results) {
        std::string_view url;
        if (entry["url"].get_string().get(url)) continue;  // no object, or no string "url"
        if (!IsHttpAddress(url)) continue;
        page.results.push_back(
            {std::string(url), StringOf(entry, "title"), StringOf(entry, "content")});
    }
}

void ReadUnresponsive(simdjson::dom::object answer, SearxngPage& page) {
    array engines;
    if (answer["unresponsive_engines"].get_array().get(engines)) return;
    for (element engine : engines) {
        array pair;
        if (engine.get_array().get(pair) || pair.size() == 0) {
            page.unresponsive.emplace_back(TextOf(engine), "");
        } else {
            page.unresponsive.emplace_back(
                TextOf(pair.at(0).value_unsafe()),
                pair.size() > 1 ? TextOf(pair.at(1).value_unsafe()) : "");
        }
    }
}

}  // namespace

SearxngPage ReadSearxngPage(std::string_view text) {
    // One parser per thread: it keeps its buffers from page to page.
    thread_local simdjson::dom::parser parser;
    simdjson::dom::object answer;
    if (parser.parse(text.data(), text.size()).get_object().get(answer)) NotSearxngJson();
    array results;
    if (answer["results"].get_array().get(results)) NotSearxngJson();
    SearxngPage page;
    ReadResults(results, page);
    ReadUnresponsive(answer, page);
    return page;
}

std::string DescribeEngines(const std::vector<std::pair<std::string, std::string>>& engines) {
    std::string text;
    for (const auto& [name, reason] : engines) {
        if (!text.empty()) text += ", ";
        text += name;
        if (!reason.empty()) text += " (" + reason + ")";
    }
    return text;
}

}  // namespace fetchcore
