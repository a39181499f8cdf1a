#include "download/DownloadSlot.h"

#include "download/DownloadErrors.h"
#include "tessel/Toolbox.h"

namespace fetchcore {

bool IsSignalled(const platform::Handle& handle) {
    if (!handle) return false;
    return platform::WaitForSingleObject(handle, 0) != platform::WaitResult::Timeout;
}

void DownloadSlot::Open(const std::string& name) {
    semaphore_ = platform::CreateSemaphoreA(kSlots, kSlots, name);
    // Without a semaphore the slot wait would never end; say so at once instead.
    if (!semaphore_) {
        throw tessel::ComError(
            dlerr::kNoSlots,
            tessel::Toolbox::FormatMessage("Download slots '%1' cannot be opened. ", {name}));
    }
}

void DownloadSlot::Take() {
    if (!held_) {
        held_ = platform::WaitForSingleObject(semaphore_, platform::kInfinite) ==
                platform::WaitResult::Signalled;
    }
}

void DownloadSlot::Give() {
    if (held_) platform::ReleaseSemaphore(semaphore_, 1);
    held_ = false;
    platform::CloseHandle(semaphore_);
}

}  // namespace fetchcore
