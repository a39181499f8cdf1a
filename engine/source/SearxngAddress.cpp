#include "fetchcore/SearxngAddress.h"

#include <algorithm>
#include <string_view>

namespace fetchcore {
namespace {

constexpr auto npos = std::string_view::npos;

struct Parts {
    std::string_view path;   // up to the "?" (or the "#", or the end)
    std::string_view query;  // after the "?", up to the "#"
    std::size_t queryStart = npos;
    std::size_t queryEnd = npos;
};

Parts Split(std::string_view url) {
    Parts parts;
    const std::size_t fragment = url.find('#');
    const std::string_view beforeFragment = url.substr(0, fragment);
    const std::size_t question = beforeFragment.find('?');
    parts.path = beforeFragment.substr(0, question);
    if (question != npos) {
        parts.queryStart = question + 1;
        parts.queryEnd = beforeFragment.size();
        parts.query = beforeFragment.substr(question + 1);
    }
    return parts;
}

// Calls f(offset, length) for every "key=value" (or bare key) of the query, in order, until
// f returns true.
template <class F>
bool ForEachParameter(std::string_view query, F&& f) {
    std::size_t start = 0;
    while (start <= query.size()) {
        const std::size_t end = std::min(query.find('&', start), query.size());
        if (f(start, end - start)) return true;
        start = end + 1;
    }
    return false;
}

std::string_view KeyOf(std::string_view parameter) {
    return parameter.substr(0, parameter.find('='));
}

}  // namespace

bool IsSearxngAddress(const std::string& url) {
    const Parts parts = Split(url);
    if (!parts.path.ends_with("/search")) return false;
    return ForEachParameter(parts.query, [&](std::size_t at, std::size_t length) {
        return parts.query.substr(at, length) == "format=json";
    });
}

std::string WithQueryParameter(const std::string& url, const std::string& key,
                               const std::string& value) {
    const Parts parts = Split(url);
    const std::string parameter = key + "=" + value;
    if (parts.queryStart == npos) {
        const std::size_t end = parts.path.size();
        return url.substr(0, end) + "?" + parameter + url.substr(end);
    }
    std::string result = url;
    const bool replaced = ForEachParameter(parts.query, [&](std::size_t at, std::size_t length) {
        if (KeyOf(parts.query.substr(at, length)) != key) return false;
        result.replace(parts.queryStart + at, length, parameter);
        return true;
    });
    if (replaced) return result;
    const std::string joiner = parts.query.empty() || parts.query.ends_with('&') ? "" : "&";
    return result.insert(parts.queryEnd, joiner + parameter);
}

}  // namespace fetchcore
