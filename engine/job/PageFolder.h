#pragma once

#include <cstdint>
#include <string>

#include "fetchcore/CTask.h"

namespace fetchcore {

// Appends the folder separator to the task's output folder when it lacks one, writing the
// change back to the task (the caller sees it).
void EnsureFolderSeparator(CTask& task);

// Where the task's pages go: output folder, keyword subfolder, "/". Read from the task
// each time, as the task is the one place the folder is kept.
std::string PageFolder(const CTask& task);

// The file in that folder where the task's result `N` from `url` is saved.
std::string PagePath(const CTask& task, int32_t N, const std::string& url);

}  // namespace fetchcore
