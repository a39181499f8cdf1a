#include "tessel/FileDescriptor.h"

#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace tessel {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.Release();
    }
    return *this;
}

FileDescriptor FileDescriptor::Open(const std::string& path, int flags, mode_t mode) {
    return FileDescriptor(RetryOnInterrupt([&] { return ::open(path.c_str(), flags, mode); }));
}

int FileDescriptor::Release() noexcept {
    return std::exchange(fd_, -1);
}

int FileDescriptor::Close() noexcept {
    if (fd_ < 0) return 0;
    // Not retried: on Linux the descriptor is gone even when close reports EINTR, and
    // a second close could hit one another thread has just opened.
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 || errno == EINTR ? 0 : errno;
}

int WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = RetryOnInterrupt([&] { return ::write(fd, data.data(), data.size()); });
        if (n < 0) return errno;
        if (n == 0) return EIO;  // no progress and no reason: do not spin
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

ssize_t ReadSome(int fd, void* buffer, std::size_t size) {
    return RetryOnInterrupt([&] { return ::read(fd, buffer, size); });
}

}  // namespace tessel
