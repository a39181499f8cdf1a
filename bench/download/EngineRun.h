#pragma once

#include <string>
#include <vector>

#include "Usage.h"

namespace dlbench {

// Fetches every URL through one CDownloader on this thread; failures counts the downloads
// that did not succeed or whose page is not `pageSize` bytes.
Usage RunEngine(const std::vector<std::string>& urls, std::size_t pageSize,
                const std::string& logFile);

}  // namespace dlbench
