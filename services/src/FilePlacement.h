#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

#include "tessel/FileDescriptor.h"

namespace tessel::FileTools {

// The system's own description, as callers report it to the user.
[[noreturn]] void FailWithError(int error);

// The folder a file at `path` lives in ("." for a bare name).
std::string FolderOf(const std::string& path);

// Tries `claim` on fresh temporary names in `folder` until it takes one that no other file
// holds: the name taken, or empty with errno set when `claim` failed for another reason.
std::string ClaimTempName(const std::string& folder,
                          const std::function<bool(const std::string&)>& claim);

// A new file under a fresh temporary name in `folder`, opened with `access` (O_WRONLY or
// O_RDWR) and `mode`; its name goes to `name`. Invalid, with errno set, when none was made.
FileDescriptor CreateTempFile(const std::string& folder, int access, mode_t mode,
                              std::string& name);

// A temporary name a file was given; the name goes again unless renamed onto its target.
class PendingName {
  public:
    explicit PendingName(std::string path) : path_(std::move(path)) {}
    ~PendingName();
    PendingName(const PendingName&) = delete;
    PendingName& operator=(const PendingName&) = delete;

    // Throws ComError(err::kFileError) when the rename fails.
    void RenameTo(const std::string& target);

  private:
    std::string path_;
    bool placed_ = false;
};

// Makes the file `path` under a temporary name beside it and renames it into place, so a
// file under the final name is always whole. `fill` writes the content into the descriptor
// it gets: 0, or the errno that failed it. `mode` (less the umask) is the file's from its
// creation on. Throws ComError(err::kFileError).
void PlaceFile(const std::string& path, const std::function<int(int)>& fill, mode_t mode = 0666);

}  // namespace tessel::FileTools
