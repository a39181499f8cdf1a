#pragma once

#include <string>

#include "fetchcore/CTask.h"

namespace fetchcore {

// The name of the keyword's subfolder. A name that would point at the output folder
// itself or at its parent ("", ".", "..") becomes "_", and NUL bytes (which would end the
// path early) become "_", so no keyword makes the job write outside its output folder.
std::string KeywordFolderName(const std::string& kw);

// Appends the folder separator to the task's output folder when it lacks one, writing the
// change back to the task (the caller sees it).
void EnsureFolderSeparator(CTask& task);

// Where the task's pages go: output folder, keyword subfolder, "/". Read from the task
// each time, as the task is the one place the folder is kept.
std::string PageFolder(const CTask& task);

}  // namespace fetchcore
