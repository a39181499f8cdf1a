#include <filesystem>

#include "FilePlacement.h"
#include "tessel/FileDescriptor.h"
#include "tessel/Toolbox.h"

namespace tessel::FileTools {

void CreateFolder(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec && !std::filesystem::is_directory(path)) FailWithError(ec.value());
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

void WriteTextFile(const std::string& path, const std::string& text, mode_t mode) {
    const auto fill = [&](int file) { return WriteAll(file, text); };
    PlaceFile(path, fill, mode);
}

}  // namespace tessel::FileTools
