#include <fcntl.h>
#include <unistd.h>

#include <atomic>
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

// A new file in `folder` under a name no other writer uses, created with mode 0666 so that
// the user's umask decides who may read it, as for any program's files (mkstemp's 0600
// would not).
FileDescriptor CreateTemp(const std::string& folder, std::string& temp) {
    static std::atomic<unsigned long> counter{0};
    for (;;) {
        temp = folder + "/.kestrova-" + std::to_string(::getpid()) + "-" +
               std::to_string(counter.fetch_add(1));
        FileDescriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        // A leftover of an earlier process with the same id: take the next name.
        if (fd || errno != EEXIST) return fd;
    }
}

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
    TempFile temp;
    temp.file = CreateTemp(folder.empty() ? std::string(".") : folder.string(), temp.path);
    if (!temp.file) {
        temp.placed = true;  // nothing was created
        Fail(path, errno);
    }
    if (const int error = WriteAll(temp.file.Get(), text)) Fail(path, error);
    if (const int error = temp.file.Close()) Fail(path, error);
    if (::rename(temp.path.c_str(), path.c_str()) != 0) Fail(path, errno);
    temp.placed = true;
}

}  // namespace tessel::FileTools
