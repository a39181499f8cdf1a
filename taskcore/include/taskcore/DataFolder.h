#pragma once

#include <string>

namespace kestrova {

// The per-user data folder (holds the log), always ending in "/": the expansion of
// "%APPDATA%" followed by "Quillmoor/Kestrova/"; when that expansion is empty, the folder of
// the running executable.
std::string DataFolder();

// The rule behind DataFolder(), for a given expansion and executable folder.
std::string DataFolderFrom(const std::string& appData, const std::string& executableFolder);

}  // namespace kestrova
