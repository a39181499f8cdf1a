#include "FilePlacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tessel/Error.h"
#include "tessel/FileDescriptor.h"

namespace tessel::FileTools {

void FailWithError(int error) {
    throw ComError(err::kFileError, std::strerror(error));
}

std::string FolderOf(const std::string& path) {
    const auto folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

std::string ClaimTempName(const std::string& folder,
                          const std::function<bool(const std::string&)>& claim) {
    static std::atomic<unsigned long> counter{0};
    for (;;) {
        std::string name = folder + "/.kestrova-" + std::to_string(::getpid()) + "-" +
                           std::to_string(counter.fetch_add(1));
        if (claim(name)) return name;
        // A leftover of an earlier process with the same id: take the next name.
        if (errno != EEXIST) return {};
    }
}

FileDescriptor CreateTempFile(const std::string& folder, int access, mode_t mode,
                              std::string& name) {
    FileDescriptor file;
    name = ClaimTempName(folder, [&](const std::string& path) {
        file = FileDescriptor(::open(path.c_str(), access | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        return static_cast<bool>(file);
    });
    return file;
}

PendingName::~PendingName() {
    if (!placed_) ::unlink(path_.c_str());
}

void PendingName::RenameTo(const std::string& target) {
    if (::rename(path_.c_str(), target.c_str()) != 0) FailWithError(errno);
    placed_ = true;
}

void PlaceFile(const std::string& path, const std::function<int(int)>& fill) {
    std::string temp;
    // Mode 0666 lets the user's umask decide who may read it, as for any program's files
    // (mkstemp's 0600 would not).
    FileDescriptor file = CreateTempFile(FolderOf(path), O_WRONLY, 0666, temp);
    if (!file) FailWithError(errno);
    PendingName pending(temp);
    if (const int error = fill(file.Get())) FailWithError(error);
    if (const int error = file.Close()) FailWithError(error);
    pending.RenameTo(path);
}

}  // namespace tessel::FileTools
