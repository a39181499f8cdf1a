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

PendingName::~PendingName() {
    if (!placed_) ::unlink(path_.c_str());
}

void PendingName::RenameTo(const std::string& target) {
    if (::rename(path_.c_str(), target.c_str()) != 0) FailWithError(errno);
    placed_ = true;
}

void PlaceFile(const std::string& path, const std::function<int(int)>& fill) {
    FileDescriptor file;
    // Mode 0666 lets the user's umask decide who may read it, as for any program's files
    // (mkstemp's 0600 would not).
    const std::string temp = ClaimTempName(FolderOf(path), [&](const std::string& name) {
        file = FileDescriptor(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        return static_cast<bool>(file);
    });
    if (temp.empty()) FailWithError(errno);
    PendingName pending(temp);
    if (const int error = fill(file.Get())) FailWithError(error);
    if (const int error = file.Close()) FailWithError(error);
    pending.RenameTo(path);
}

}  // namespace tessel::FileTools
