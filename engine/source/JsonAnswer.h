#pragma once

#include <simdjson.h>

#include <string>
#include <string_view>

#include "parser/CGP.h"
#include "tessel/Error.h"
#include "tessel/Text.h"

// What the readers of the sources' JSON answers share.
namespace fetchcore::jsonanswer {

// The parse error, "Cannot parse page. " followed by what the answer is not.
[[noreturn]] inline void NotAnAnswer(const char* what) {
    throw tessel::ComError(CGP::kErrCannotParsePage, std::string(CGP::kCannotParsePageText) + what);
}

// Results are kept only with an http or https address.
inline bool IsHttpAddress(std::string_view url) {
    return tessel::StartsWithNoCase(url, "http://") || tessel::StartsWithNoCase(url, "https://");
}

// The string under `key` of an element or object, or empty when there is none.
template <class Node>
std::string StringOf(Node value, const char* key) {
    std::string_view text;
    return value[key].get_string().get(text) ? std::string() : std::string(text);
}

}  // namespace fetchcore::jsonanswer
