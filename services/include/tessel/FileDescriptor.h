#pragma once

#include <cerrno>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace tessel {

// Runs a system call again for as long as a signal interrupts it (-1 with EINTR).
template <class Call>
auto RetryOnInterrupt(Call&& call) {
    for (;;) {
        const auto result = call();
        if (!(result == -1 && errno == EINTR)) return result;
    }
}

// Owns one file descriptor and closes it when it goes; move-only.
class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    // open(2); an invalid descriptor with errno set when it fails.
    static FileDescriptor Open(const std::string& path, int flags, mode_t mode = 0);

    int Get() const noexcept { return fd_; }
    explicit operator bool() const noexcept { return fd_ >= 0; }
    // Gives the descriptor up without closing it.
    int Release() noexcept;
    // Closes now: 0, or the errno of a failed close (a file written must check it).
    int Close() noexcept;

  private:
    int fd_ = -1;
};

// Writes all of `data`: 0, or the errno of the write that failed.
int WriteAll(int fd, std::string_view data);
// One read of at most `size` bytes: the count read (0 at the end), or -1 with errno set.
ssize_t ReadSome(int fd, void* buffer, std::size_t size);

}  // namespace tessel
