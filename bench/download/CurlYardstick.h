#pragma once

#include <string>
#include <vector>

#include "Usage.h"

namespace dlbench {

// curl fetching the same URLs, five at a time, bodies thrown away: what the engine's
// figures are held against.
Usage RunCurl(const std::vector<std::string>& urls, const std::string& configFile);

}  // namespace dlbench
