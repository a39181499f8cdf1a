#pragma once

#include <optional>
#include <string_view>

namespace fetchcore::parser {

// The value of the first "href=" of one result entry, still entity-encoded; nullopt when
// the entry has none. A quoted value ends at its closing quote (or the entry's end when
// unclosed); an unquoted one at the first blank, '>', or quote character.
std::optional<std::string_view> RawLinkOfEntry(std::string_view entry);

// True for an http or https link (scheme in any letter case) that is not one of the
// search engine's own cache or news links.
bool IsResultLink(std::string_view link);

}  // namespace fetchcore::parser
