#include "job/PageFolder.h"

#include "fetchcore/FileNaming.h"

namespace fetchcore {

void EnsureFolderSeparator(CTask& task) {
    const std::string folder = task.SaveResultsToFolder();
    if (!folder.ends_with('/')) task.SaveResultsToFolder(folder + "/");
}

std::string PageFolder(const CTask& task) {
    return PageFolderPath(task.SaveResultsToFolder(), task.KW());
}

}  // namespace fetchcore
