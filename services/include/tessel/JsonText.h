#pragma once

#include <string>
#include <string_view>

namespace tessel {

// A JSON string literal for bytes that are mostly UTF-8: valid sequences pass unchanged, a
// byte that is not part of one is read as Latin-1 so no address is lost or made invalid.
std::string JsonString(std::string_view text);

}  // namespace tessel
