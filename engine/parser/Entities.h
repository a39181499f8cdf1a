#pragma once

#include <string>
#include <string_view>

namespace fetchcore::parser {

// Decodes "&gt;", "&lt;", "&quot;", "&#39;" and "&amp;" (case matters), each occurrence once:
// "&amp;lt;" gives "&lt;". Other entities stay as they are.
std::string DecodeEntities(std::string_view text);

}  // namespace fetchcore::parser
