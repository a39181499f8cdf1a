#include "taskcore/DataFolder.h"

#include <filesystem>
#include <system_error>

#include "tessel/Toolbox.h"

namespace kestrova {
namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder.push_back('/');
    return folder;
}

std::string ExecutableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

}  // namespace

std::string DataFolderFrom(const std::string& appData, const std::string& executableFolder) {
    if (!appData.empty()) return WithSlash(appData) + "Quillmoor/Kestrova/";
    // Without any folder at all, stay relative rather than fall to the root folder.
    return executableFolder.empty() ? std::string("./") : WithSlash(executableFolder);
}

std::string DataFolder() {
    const std::string appData = tessel::Toolbox::ExpandEnvironment("%APPDATA%");
    return DataFolderFrom(appData, appData.empty() ? ExecutableFolder() : std::string());
}

}  // namespace kestrova
