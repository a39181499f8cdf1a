#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tessel/FileDescriptor.h"

namespace tessel {

// A file without a name: its bytes live on disk, not in memory, and go with the object
// unless it is saved under a name. Move-only.
class UnnamedFile {
  public:
    // Made in `folder` (where its file system allows O_TMPFILE, saving it there costs no
    // copy), else in the temporary folder. Throws ComError(err::kFileError).
    static UnnamedFile Create(const std::string& folder);

    // 0, or the errno of the write that failed; the file is of no use after a failure.
    int Append(std::string_view data);
    int64_t Size() const { return size_; }
    // Gives the content the name `path`, replacing a file there, without reading it into
    // memory; a failure leaves nothing under that name or a temporary one. Throws
    // ComError(err::kFileError).
    void SaveAs(const std::string& path) const;
    // Writes the whole content to `fd` at its file position, inside the kernel: 0, or the
    // errno that failed it.
    int CopyTo(int fd) const;
    // Reads up to `size` bytes from `offset`: the count read (0 at the end), or -1 with errno.
    ssize_t ReadAt(int64_t offset, char* buffer, std::size_t size) const;

  private:
    UnnamedFile(FileDescriptor file, bool linkable) : file_(std::move(file)), linkable_(linkable) {}
    bool LinkAs(const std::string& path) const;
    void CopyAs(const std::string& path) const;

    FileDescriptor file_;
    bool linkable_;  // an O_TMPFILE file, which can be given a name in its own file system
    int64_t size_ = 0;
};

}  // namespace tessel
