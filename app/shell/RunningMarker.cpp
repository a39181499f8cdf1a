#include "RunningMarker.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace kestrova {

std::string RunningMarker::DefaultFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) return runtime;
    std::error_code ec;
    const auto temp = std::filesystem::temp_directory_path(ec);
    return ec ? std::string("/tmp") : temp.string();
}

RunningMarker::RunningMarker(const std::string& folder) {
    path_ =
        (std::filesystem::path(folder.empty() ? DefaultFolder() : folder) / "KESWorking").string();
    file_ = tessel::FileDescriptor::Open(path_, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (!file_) {
        failure_.emplace(tessel::err::kFileError,
                         "Cannot open the running marker '" + path_ + "': " + std::strerror(errno));
        return;
    }
    owned_ = ::flock(file_.Get(), LOCK_EX | LOCK_NB) == 0;
}

}  // namespace kestrova
