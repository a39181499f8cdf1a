#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tessel/Error.h"
#include "tessel/FileDescriptor.h"
#include "tessel/Toolbox.h"

namespace tessel::FileTools {
namespace {

// The system's own description, as callers report it to the user.
[[noreturn]] void Fail(const std::string& /*path*/, int error) {
    throw ComError(err::kFileError, std::strerror(error));
}

// The temporary file goes with its descriptor unless it has been renamed into place.
struct TempFile {
    std::string path;
    FileDescriptor file;
    bool placed = false;
    ~TempFile() {
        if (!placed) ::unlink(path.c_str());
    }
};

}  // namespace

void CreateFolder(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec && !std::filesystem::is_directory(path)) Fail(path, ec.value());
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

void WriteTextFile(const std::string& path, const std::string& text) {
    // Written beside the target and renamed into place: a failure never leaves a
    // truncated file under the final name.
    const auto folder = std::filesystem::path(path).parent_path();
    TempFile temp{(folder.empty() ? std::string(".") : folder.string()) + "/.kestrova-XXXXXX", {}};
    temp.file = FileDescriptor(::mkstemp(temp.path.data()));
    if (!temp.file) {
        temp.placed = true;  // nothing was created
        Fail(path, errno);
    }
    if (const int error = WriteAll(temp.file.Get(), text)) Fail(path, error);
    ::fchmod(temp.file.Get(), 0644);
    if (const int error = temp.file.Close()) Fail(path, error);
    if (::rename(temp.path.c_str(), path.c_str()) != 0) Fail(path, errno);
    temp.placed = true;
}

}  // namespace tessel::FileTools
