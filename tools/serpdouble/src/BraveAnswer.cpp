#include "serpdouble/BraveAnswer.h"

#include <nlohmann/json.hpp>

namespace serpdouble {

namespace {

using nlohmann::json;

json Entry(const std::string& url, int position) {
    const std::string n = std::to_string(position);
    return json{{"title", "Result <strong>" + n + "</strong>"},
                {"url", url},
                {"is_source_local", false},
                {"is_source_both", false},
                {"description", "The text the API shows under result " + n + "."},
                {"profile", {{"name", "double"}, {"url", url}, {"long_name", "double"}}},
                {"language", "en"},
                {"family_friendly", true},
                {"type", "search_result"},
                {"subtype", "generic"},
                {"is_live", false}};
}

}  // namespace

std::string RenderBraveAnswer(const BraveAnswer& answer) {
    json body{{"type", "search"},
              {"query",
               {{"original", answer.query},
                {"show_strict_warning", false},
                {"is_navigational", false},
                {"spellcheck_off", true},
                {"country", "us"},
                {"bad_results", false},
                {"should_fallback", false},
                {"more_results_available", answer.moreResultsAvailable}}},
              {"mixed",
               {{"type", "mixed"},
                {"main", json::array()},
                {"top", json::array()},
                {"side", json::array()}}}};
    if (!answer.urls.empty()) {
        json results = json::array();
        int position = answer.firstPosition;
        for (const auto& url : answer.urls) results.push_back(Entry(url, position++));
        body["web"] = {
            {"type", "search"}, {"results", std::move(results)}, {"family_friendly", true}};
    }
    return body.dump();
}

std::string RenderBraveError(int status, const std::string& code, const std::string& detail) {
    return json{{"type", "ErrorResponse"},
                {"error",
                 {{"id", "00000000-0000-4000-8000-000000000000"},
                  {"status", status},
                  {"code", code},
                  {"detail", detail},
                  {"meta", json::object()}}},
                {"time", 1700000000}}
        .dump();
}

}  // namespace serpdouble
