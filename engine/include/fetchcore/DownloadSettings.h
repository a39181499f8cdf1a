#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "platform/Transfer.h"

namespace fetchcore {

// What a saver's downloads run with. The defaults are the program's; tests and tools give
// their own (a short time-out, a fixed online answer, a transfer queue of their own).
struct DownloadSettings {
    // Counted from when a download takes its slot in the transfer loop.
    std::chrono::milliseconds timeout{60'000};
    // Asked, off the transfer loop's thread, when an answer's status is refused; empty asks
    // the system (tessel::Toolbox::IsOnline).
    std::function<bool()> isOnline;
    // Where the downloads go; empty gives the saver a transfer loop of its own.
    std::shared_ptr<platform::TransferQueue> transfers;
};

}  // namespace fetchcore
