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

std::string PagePath(const CTask& task, int32_t N, const std::string& url) {
    return SavedPagePath(task.SaveResultsToFolder(), task.KW(), N, url);
}

}  // namespace fetchcore
