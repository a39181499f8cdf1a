#include "FilePlacement.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>

#include "tessel/Error.h"
#include "tessel/FileDescriptor.h"

namespace tessel::FileTools {

namespace {

constexpr std::string_view kTempPrefix = ".kestrova-";

bool IsNumber(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The process id in a name ClaimTempName gave (".kestrova-PID-N"), or 0 for any other name.
pid_t TempNameOwner(std::string_view name) {
    if (!name.starts_with(kTempPrefix)) return 0;
    name.remove_prefix(kTempPrefix.size());
    const auto dash = name.find('-');
    if (dash == std::string_view::npos) return 0;
    const auto pid = name.substr(0, dash);
    if (!IsNumber(pid) || !IsNumber(name.substr(dash + 1))) return 0;
    pid_t owner = 0;
    const auto [end, error] = std::from_chars(pid.data(), pid.data() + pid.size(), owner);
    return error == std::errc{} ? owner : 0;
}

}  // namespace

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
        std::string name = folder + "/" + std::string(kTempPrefix) + std::to_string(::getpid()) +
                           "-" + std::to_string(counter.fetch_add(1));
        if (claim(name)) return name;
        // A leftover of an earlier process with the same id: take the next name.
        if (errno != EEXIST) return {};
    }
}

int RemoveLeftoverTempFiles(const std::string& folder) {
    int removed = 0;
    std::error_code error;  // a folder that cannot be listed has nothing to remove
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const pid_t owner = TempNameOwner(entry.path().filename().string());
        // A process of that id that runs (or that this user may not signal) may still write it.
        if (owner == 0 || ::kill(owner, 0) == 0 || errno != ESRCH) continue;
        if (::unlink(entry.path().c_str()) == 0) ++removed;
    }
    return removed;
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

void PlaceFile(const std::string& path, const std::function<int(int)>& fill, mode_t mode) {
    std::string temp;
    // By default 0666 lets the user's umask decide who may read it, as for any program's
    // files (mkstemp's 0600 would not).
    FileDescriptor file = CreateTempFile(FolderOf(path), O_WRONLY, mode, temp);
    if (!file) FailWithError(errno);
    PendingName pending(temp);
    if (const int error = fill(file.Get())) FailWithError(error);
    if (const int error = file.Close()) FailWithError(error);
    pending.RenameTo(path);
}

}  // namespace tessel::FileTools
