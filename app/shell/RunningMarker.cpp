#include "RunningMarker.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        failure_.emplace(tessel::err::kFileError,
                         "Cannot open the running marker '" + path_ + "': " + std::strerror(errno));
        return;
    }
    owned_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

RunningMarker::~RunningMarker() {
    // Closing the descriptor releases the lock; the file stays for the next copy.
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace kestrova
