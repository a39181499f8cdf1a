#include "serpdouble/SearxngAnswer.h"

#include <nlohmann/json.hpp>

namespace serpdouble {

namespace {

using nlohmann::json;

// An entry with the keys an instance fills for a general web result.
json Entry(const std::string& url, int position) {
    const std::string n = std::to_string(position);
    return json{{"url", url},
                {"title", "Result " + n},
                {"content", "The text the engine shows under result " + n + "."},
                {"engine", "double"},
                {"parsed_url", json::array({"http", "127.0.0.1", "/page/" + n, "", "", ""})},
                {"template", "default.html"},
                {"engines", json::array({"double"})},
                {"positions", json::array({position})},
                {"score", 1.0 / position},
                {"category", "general"}};
}

}  // namespace

std::string RenderSearxngAnswer(const SearxngAnswer& answer) {
    json results = json::array();
    int position = answer.firstPosition;
    for (const auto& url : answer.urls) results.push_back(Entry(url, position++));
    json unresponsive = json::array();
    for (const auto& [name, reason] : answer.unresponsiveEngines) {
        unresponsive.push_back(json::array({name, reason}));
    }
    // number_of_results is 0, as real instances often send it.
    const json body{
        {"query", answer.query},         {"number_of_results", 0},
        {"results", std::move(results)}, {"answers", json::array()},
        {"corrections", json::array()},  {"infoboxes", json::array()},
        {"suggestions", json::array()},  {"unresponsive_engines", std::move(unresponsive)}};
    return body.dump();
}

}  // namespace serpdouble
