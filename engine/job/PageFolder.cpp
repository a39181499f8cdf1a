#include "job/PageFolder.h"

#include <algorithm>

#include "fetchcore/FileNaming.h"

namespace fetchcore {

std::string KeywordFolderName(const std::string& kw) {
    std::string name = FileNameEncode(kw);
    std::replace(name.begin(), name.end(), '\0', '_');
    if (name.empty() || name == "." || name == "..") return "_";
    return name;
}

void EnsureFolderSeparator(CTask& task) {
    const std::string folder = task.SaveResultsToFolder();
    if (!folder.ends_with('/')) task.SaveResultsToFolder(folder + "/");
}

std::string PageFolder(const CTask& task) {
    return task.SaveResultsToFolder() + KeywordFolderName(task.KW()) + "/";
}

}  // namespace fetchcore
