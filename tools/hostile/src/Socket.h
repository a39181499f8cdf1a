#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "StopSignal.h"

namespace hostile {

// Reads one request's head; the target of its request line ("/bad-chunk?x=1"), or nothing
// when the client went away or sent no request line.
std::optional<std::string> ReadRequestTarget(int fd, const StopSignal& stop);

// Writes all of `bytes`; false when the client has gone.
bool SendAll(int fd, std::string_view bytes);

}  // namespace hostile
