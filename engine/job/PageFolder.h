#pragma once

#include <cstdint>
#include <string>

#include "fetchcore/CTask.h"

namespace fetchcore {

// Appends the folder separator to the task's output folder when it lacks one, writing the
// change back to the task (the caller sees it).
void EnsureFolderSeparator(CTask& task);

// Where the task's pages go: output folder, keyword subfolder, "/".
std::string PageFolder(const CTask& task);

}  // namespace fetchcore
