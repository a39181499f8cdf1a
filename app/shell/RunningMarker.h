#pragma once

#include <optional>
#include <string>

#include "tessel/Error.h"
#include "tessel/FileDescriptor.h"

namespace kestrova {

// Tells other programs that Kestrova runs: an advisory lock on the file "KESWorking" in the
// user's runtime folder, held while the main window lives. Never stops a second copy: one
// that finds the lock taken runs all the same, without owning it.
class RunningMarker {
  public:
    // `folder` empty: $XDG_RUNTIME_DIR, else the temporary folder.
    explicit RunningMarker(const std::string& folder = {});
    RunningMarker(const RunningMarker&) = delete;
    RunningMarker& operator=(const RunningMarker&) = delete;

    // This copy holds the lock: no other copy held it when this one started.
    bool Owned() const { return owned_; }
    const std::string& Path() const { return path_; }
    // Why the marker file could not be opened, if it could not.
    const std::optional<tessel::ComError>& Failure() const { return failure_; }

    static std::string DefaultFolder();

  private:
    std::string path_;
    // Closing it releases the lock; the file stays for the next copy.
    tessel::FileDescriptor file_;
    bool owned_ = false;
    std::optional<tessel::ComError> failure_;
};

}  // namespace kestrova
