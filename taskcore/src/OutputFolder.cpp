#include "taskcore/OutputFolder.h"

namespace kestrova {

std::string DefaultOutputFolder(const std::string& documentsFolder, const std::string& homeFolder) {
    std::string base = documentsFolder.empty() ? homeFolder : documentsFolder;
    if (base.empty()) return {};
    if (base.back() != '/') base.push_back('/');
    return base + "Kestrova/";
}

}  // namespace kestrova
