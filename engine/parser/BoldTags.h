#pragma once

#include <string>
#include <string_view>

namespace fetchcore::parser {

// The page without its "<B>" and then its "</B>" tags, either in any letter case.
// Two passes, as a tag that only forms once the other kind is gone must stay.
std::string StripBoldTags(std::string_view page);

}  // namespace fetchcore::parser
