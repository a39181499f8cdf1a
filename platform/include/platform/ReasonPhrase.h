#pragma once

#include <string_view>

namespace platform {

// The standard reason phrase of an HTTP status code; empty for codes without one.
std::string_view StandardReasonPhrase(int status);

}  // namespace platform
