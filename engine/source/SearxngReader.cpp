#include "source/SearxngReader.h"

#include <nlohmann/json.hpp>

#include "parser/CGP.h"
#include "source/SourceErrors.h"
#include "tessel/Text.h"

namespace fetchcore {
namespace {

using nlohmann::json;

[[noreturn]] void NotSearxngJson() {
    throw tessel::ComError(CGP::kErrCannotParsePage,
                           std::string(CGP::kCannotParsePageText) + srcerr::kNotSearxngJson);
}

bool IsHttpAddress(std::string_view url) {
    return tessel::StartsWithNoCase(url, "http://") || tessel::StartsWithNoCase(url, "https://");
}

std::string TextOf(const json& value) {
    return value.is_string() ? value.get<std::string>() : value.dump();
}

void ReadResults(const json& results, SearxngPage& page) {
    for (const json& entry : results) {
        if (!entry.is_object()) continue;
        const auto url = entry.find("url");
        if (url == entry.end() || !url->is_string()) continue;
        const auto& text = url->get_ref<const std::string&>();
        if (IsHttpAddress(text)) page.links.push_back(text);
    }
}

void ReadUnresponsive(const json& answer, SearxngPage& page) {
    const auto engines = answer.find("unresponsive_engines");
    if (engines == answer.end() || !engines->is_array()) return;
    for (const json& engine : *engines) {
        if (engine.is_array() && !engine.empty()) {
            page.unresponsive.emplace_back(TextOf(engine[0]),
                                           engine.size() > 1 ? TextOf(engine[1]) : "");
        } else {
            page.unresponsive.emplace_back(TextOf(engine), "");
        }
    }
}

}  // namespace

SearxngPage ReadSearxngPage(std::string_view text) {
    const json answer = json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (!answer.is_object()) NotSearxngJson();
    const auto results = answer.find("results");
    if (results == answer.end() || !results->is_array()) NotSearxngJson();
    SearxngPage page;
    ReadResults(*results, page);
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
