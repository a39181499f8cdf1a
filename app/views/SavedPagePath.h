#pragma once

#include <cstdint>
#include <string>

namespace kestrova {

// Where the job that ran with `outputFolder` and `keyword` saved result `N` from `url`: the
// folder (a "/" added unless it ends in one), the keyword's subfolder, the page's file name.
// The engine's own naming rules, so the view finds exactly the file the job wrote.
std::string SavedPagePath(const std::string& outputFolder, const std::string& keyword, int32_t N,
                          const std::string& url);

}  // namespace kestrova
