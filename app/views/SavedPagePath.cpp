#include "SavedPagePath.h"

#include "fetchcore/FileNaming.h"

namespace kestrova {

std::string SavedPagePath(const std::string& outputFolder, const std::string& keyword, int32_t N,
                          const std::string& url) {
    std::string path = outputFolder;
    if (!path.ends_with('/')) path += '/';
    return path + fetchcore::KeywordFolderName(keyword) + '/' + fetchcore::URL2FileName(N, url);
}

}  // namespace kestrova
