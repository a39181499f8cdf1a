#pragma once

#include <string>

namespace kestrova {

// The task editor's default output folder: "Kestrova/" under the documents folder, or under
// the home folder when the documents folder is unknown (empty). Empty when both are unknown,
// so the folder check asks the user for one instead of writing relative to the working folder.
std::string DefaultOutputFolder(const std::string& documentsFolder, const std::string& homeFolder);

}  // namespace kestrova
