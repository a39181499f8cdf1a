#include "tessel/UnnamedFile.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "FilePlacement.h"

namespace tessel {
namespace {

FileDescriptor OpenUnnamed(const std::string& folder) {
    return FileDescriptor(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666));
}

std::string TemporaryFolder() {
    std::error_code error;
    const auto folder = std::filesystem::temp_directory_path(error);
    return error ? std::string("/tmp") : folder.string();
}

// For file systems without O_TMPFILE: a named file that loses its name at once.
FileDescriptor OpenRemoved(const std::string& folder) {
    std::string name;
    FileDescriptor file = FileTools::CreateTempFile(folder, O_RDWR, 0600, name);
    if (file) ::unlink(name.c_str());
    return file;
}

// sendfile copies between any two files inside the kernel, where copy_file_range refuses
// to cross file system types.
int CopyContent(int from, int to, int64_t size) {
    off_t offset = 0;
    while (offset < size) {
        const auto count = static_cast<std::size_t>(size - offset);
        const ssize_t copied =
            RetryOnInterrupt([&] { return ::sendfile(to, from, &offset, count); });
        if (copied < 0) return errno;
        if (copied == 0) return EIO;  // the file is shorter than what was written to it
    }
    return 0;
}

}  // namespace

UnnamedFile UnnamedFile::Create(const std::string& folder) {
    // The folder's own file system first, even without O_TMPFILE: the temporary folder may
    // be a small one in memory.
    for (const auto& place : {folder, TemporaryFolder()}) {
        if (auto file = OpenUnnamed(place)) return UnnamedFile(std::move(file), true);
        if (auto file = OpenRemoved(place)) return UnnamedFile(std::move(file), false);
    }
    FileTools::FailWithError(errno);
}

int UnnamedFile::Append(std::string_view data) {
    const int error = WriteAll(file_.Get(), data);
    if (error == 0) size_ += static_cast<int64_t>(data.size());
    return error;
}

void UnnamedFile::SaveAs(const std::string& path) const {
    if (linkable_ && LinkAs(path)) return;
    CopyAs(path);
}

// False when the file cannot be linked there (another file system, no /proc): it is
// copied instead, which also reports any failure the two share.
bool UnnamedFile::LinkAs(const std::string& path) const {
    const std::string source = "/proc/self/fd/" + std::to_string(file_.Get());
    const std::string temp =
        FileTools::ClaimTempName(FileTools::FolderOf(path), [&](const std::string& name) {
            return ::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) ==
                   0;
        });
    if (temp.empty()) return false;
    FileTools::PendingName pending(temp);
    pending.RenameTo(path);
    return true;
}

void UnnamedFile::CopyAs(const std::string& path) const {
    FileTools::PlaceFile(path, [&](int to) { return CopyTo(to); });
}

int UnnamedFile::CopyTo(int fd) const {
    return CopyContent(file_.Get(), fd, size_);
}

ssize_t UnnamedFile::ReadAt(int64_t offset, char* buffer, std::size_t size) const {
    return RetryOnInterrupt([&] { return ::pread(file_.Get(), buffer, size, offset); });
}

}  // namespace tessel
