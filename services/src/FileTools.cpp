#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tessel/Error.h"
#include "tessel/Toolbox.h"

namespace tessel::FileTools {
namespace {

// The system's own description, as callers report it to the user.
[[noreturn]] void Fail(const std::string& /*path*/, int error) {
    throw ComError(err::kFileError, std::strerror(error));
}

void WriteAll(int fd, const std::string& text, const std::string& path) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            Fail(path, error);
        }
        done += static_cast<std::size_t>(n);
    }
}

// A new file in `folder` under a name no other writer uses, created with mode 0666 so that
// the user's umask decides who may read it, as for any program's files (mkstemp's 0600
// would not).
int CreateTemp(const std::string& folder, std::string& temp) {
    static std::atomic<unsigned long> counter{0};
    for (;;) {
        temp = folder + "/.kestrova-" + std::to_string(::getpid()) + "-" +
               std::to_string(counter.fetch_add(1));
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        // A leftover of an earlier process with the same id: take the next name.
        if (fd >= 0 || errno != EEXIST) return fd;
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
    std::string temp;
    const int fd = CreateTemp(folder.empty() ? std::string(".") : folder.string(), temp);
    if (fd < 0) Fail(path, errno);
    try {
        WriteAll(fd, text, path);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    if (::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        Fail(path, error);
    }
}

}  // namespace tessel::FileTools
